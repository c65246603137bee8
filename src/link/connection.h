#pragma once
// The life of a diagnostic connection: finding the adapter on the serial ports,
// confirming it, waking the link and running passes until told to stop, with the
// numbered connection errors, the status caption and the status lamp.

#include "link/link.h"

#include <QObject>
#include <functional>

namespace zelcor {

enum class Lamp { Black, Yellow, Green, Red };

// Where the connection stands; the lamp, the status line, the buttons and the window
// title all show it. Every transition of the connection sets it.
enum class ConnectionPhase {
    NotConnected,
    FindingAdapter,
    WakingLink,
    Detecting,
    Connected, // the car's functions are read
    Lost,      // the link went away (the detail says why)
    Waiting,   // the car or the adapter stopped answering; the connection waits for it (the detail says which)
    Failed,    // the connection could not be made (the detail says why)
};

// What the connection panel shows; the window renders it.
struct ConnectionPanelState {
    QString status;           // the status caption under the buttons
    bool statusError = false; // error style: large red text
    Lamp lamp = Lamp::Black;  // "Connection Status "
    bool connectEnabled = true;
    bool setupEnabled = true;
    bool exitEnabled = true;
    bool traceReplayEnabled = true; // the small "V" button
    bool helpVisible = true;        // HELP GUIDE ONLINE
    ConnectionPhase phase = ConnectionPhase::NotConnected;
    QString phaseDetail;      // the cause when lost or failed
    double lastAnswerAt = -1; // the clock's time of the last pass while connected; -1 before
    // The values shown came from the car, which no longer answers.
    bool valuesOld() const { return lastAnswerAt >= 0 && phase != ConnectionPhase::Connected; }
};

// How a connection ended.
enum class ConnectionError {
    None = -1,
    AdapterNotFound = 0,      // ERROR NUMBER 0: no port answered as the adapter
    VehicleSilent = 1,        // ERROR NUMBER 1: the vehicle never answered
    AdapterNotConfirmed = 2,  // the adapter did not answer again on its port
    VehicleNotUnderstood = 3, // ERROR NUMBER 3: the vehicle answered, but not in a way the program understands
    DeviceRemoved = 8021,     // the device went away
};

// What the connection needs from the layers above it.
struct ConnectionHooks {
    std::function<void()> onStart;  // a new connection: detection first, functions panel shown
    std::function<void()> runPass;  // one diagnostic pass
    std::function<void()> onEnd;    // the connection ended: the gauge windows go
    std::function<void()> onWakeup; // the adapter was reset and set up again
    // While waiting for a car that stopped answering: the link went (true), and came back
    // after `seconds` (false).
    std::function<void(bool gone, double seconds)> onGap;
    // The protocol the car was found on, as the adapter described it; the waits ask for it.
    std::function<QString()> carProtocol;
};

class Connection : public QObject {
    Q_OBJECT
public:
    Connection(Link& link, QString windowCaption);

    const ConnectionHooks& hooks() const { return hooks_; }
    void setHooks(ConnectionHooks hooks) { hooks_ = std::move(hooks); }
    // Replaces only what runs a pass (the headless scan, tests and benches drive their own).
    void setPassRunner(std::function<void()> runPass) { hooks_.runPass = std::move(runPass); }
    const ConnectionPanelState& panel() const { return panel_; }
    ConnectionError lastError() const { return lastError_; }
    // Why the last connection failed, in one sentence ("/dev/ttyUSB0 does not exist: ...");
    // empty when it did not fail or the cause is not known.
    const QString& failureCause() const { return failureCause_; }
    // What the adapter said it is ("ELM327 v1.5") when it was last found; empty before.
    const QString& adapterIdentity() const { return adapterIdentity_; }

    // CONNECT: runs the whole connection and returns when it ends.
    void run();
    // DISCONNECT
    void requestDisconnect();
    bool running() const { return running_; }
    // The setup panel is open: CONNECT and SET&UP wait.
    void setSetupOpen(bool open);
    // Once the car's functions were read, a car or an adapter that stops answering (the
    // ignition off, the adapter asleep, its device or socket gone) is waited for until it
    // answers again or DISCONNECT, and the connection goes on where it was. Off, as for
    // the headless scan, the connection tries a few times and ends with an error.
    void setWaitsForReturn(bool waits) { waitsForReturn_ = waits; }

    // The first port (from the configured one on) whose device answers as the adapter; 0 for none.
    int findAdapter();
    // Resets the adapter, sets it up and asks the vehicle; true when the vehicle answered.
    bool wakeup();
    static QString protocolCommand(int initMode);

    // An exclamation box titled by the message's first line; an empty message shows nothing.
    void showErrorBox(const QString& message);
    // Ends the connection with a numbered error: its box, its status text.
    void fail(ConnectionError error, const QString& message);
    // Detection read the car's functions.
    void markConnected();

signals:
    void panelChanged();

private:
    void sendProtocolCommand();
    // The port search found the adapter on `device` at `baud` (0: a link without a rate).
    void foundAdapter(const QString& device, int baud, const QString& answer);
    bool confirmAdapter();
    QString probeWhileSettling(bool reset);
    void connectionLoop();
    void retryWakeup();
    // The link went after the functions were read: waits with a growing pause until the
    // car answers again (true) or the connection must end (false).
    bool waitForReturn();
    // While waiting, one 0100 to an adapter that was not reset: true when the car answered;
    // `adapterAnswered` says whether the adapter said anything.
    bool askCar(bool& adapterAnswered);
    void setWaitingPhase(bool adapterAnswered);
    void setLamp(Lamp lamp);
    void setPhase(ConnectionPhase phase, const QString& detail = QString());
    // The phase after a connection ended, from how it ended.
    void setEndPhase();
    // "the adapter at /dev/ttyUSB0 went away"
    QString adapterGoneText() const;
    void setStatus(const QString& text, bool error = false);
    void setButtonsEnabled(bool enabled);
    QString stamp() const;
    QString portFailure(int number, bool opened, const QString& answer) const;
    QString vehicleSilentCause() const;

    Link& link_;
    ConnectionHooks hooks_;
    ConnectionPanelState panel_;
    ConnectionError lastError_ = ConnectionError::None;
    QString failureCause_;
    QString adapterIdentity_;
    QString wakeupAnswer_; // what the adapter said to the last 0100 of a wakeup
    QString windowCaption_;
    QString helpText_;
    bool running_ = false;
    bool detected_ = false; // this connection's detection read the car's functions
    int adapterPort_ = 0;
    int retries_ = 0;
    bool adapterSlept_ = false;     // the last wakeup ended with the adapter falling asleep
    bool searchCutBySleep_ = false; // it fell asleep searching the car's protocol
    int immediateWakeups_ = 0;
    bool waitsForReturn_ = false;
    bool waiting_ = false;         // waiting for the car or the adapter to come back
    bool adapterAnswered_ = false; // the last wakeup's reset was answered
    bool probed_ = false;          // this connection's adapter probe ran
    int fasterRate_ = 0;           // the line rate a session asks for; 0: the rate found
};

} // namespace zelcor
