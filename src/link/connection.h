#pragma once
// The life of a diagnostic connection: finding the adapter on the serial ports,
// confirming it, waking the link and running passes until told to stop, with the
// numbered connection errors, the status caption and the status lamp.

#include "link/link.h"

#include <QObject>
#include <functional>

namespace zelcor {

enum class Lamp { Black, Yellow, Green, Red };

// What the connection panel shows; the window renders it.
struct ConnectionPanelState {
    QString status;           // Label39
    bool statusError = false; // error style: large red text
    Lamp lamp = Lamp::Black;  // Shape1, "Connection Status "
    bool connectEnabled = true;
    bool setupEnabled = true;
    bool exitEnabled = true;
    bool traceReplayEnabled = true; // the small "V" button
    bool helpVisible = true;        // HELP GUIDE ONLINE
};

// What the connection needs from the layers above it.
struct ConnectionHooks {
    std::function<void()> onStart;     // a new connection: detection first, functions panel shown
    std::function<void()> runPass;     // one COMMS pass
    std::function<void()> closegauges; // unload the gauge windows
    // Trace replay pacing: the replay window's play and step boxes.
    std::function<bool()> playChecked;
    std::function<bool()> stepChecked;
    std::function<void()> uncheckPlayAndStep;
};

class Connection : public QObject {
    Q_OBJECT
public:
    Connection(Link& link, QString windowCaption);

    Link& link;
    ConnectionHooks hooks;
    ConnectionPanelState panel;
    int retrycount = 0;
    // How the last connection ended: -1 normally; 0 no adapter found, 1 the vehicle
    // never answered, 2 the adapter was not confirmed, 8021 the device went away.
    int lastError = -1;

    // CONNECT (Command1_Click): runs the whole connection and returns when it ends.
    void CONNECT();
    // DISCONNECT (Command2_Click)
    void DISCONNECT();
    bool running() const { return running_; }

    int findinterface();
    bool wakeup();
    void ATSPA();
    static QString protocolCommand(int initmode);

    // errorbox: an exclamation box titled by the message's first line; empty shows nothing.
    void errorbox(const QString& msg);

signals:
    void panelChanged();

private:
    bool confirmAdapter();
    void connectionLoop();
    void setLamp(Lamp lamp);
    void setStatus(const QString& text, bool error = false);
    void setButtonsEnabled(bool enabled);
    QString stamp() const;

    QString windowCaption_;
    QString helptext_;
    bool running_ = false;
    int adapterPort_ = 0;
};

} // namespace zelcor
