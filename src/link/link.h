#pragma once
// The conversation with the adapter: the shared link state, the poller that moves
// port input into rxbuf, the trace log, and the command exchange (send, receive,
// ReceiveMulti, readbuf) through which everything talks to the adapter.

#include "base/clock.h"
#include "base/host.h"
#include "config/settings.h"
#include "link/port.h"
#include "link/tracelog.h"

#include <QObject>
#include <QString>
#include <functional>

namespace zelcor {

class Link : public QObject {
    Q_OBJECT
public:
    Link(Clock& clock, Port& port, Host& host, const QString& programFolder);

    Clock& clock;
    Port& port;
    Host& host;
    const QString programFolder;
    Settings settings; // settings.recording is the Debug setting: trace lines are written
    TraceLog trace;

    bool stopflag = true; // no connection runs / the connection must end
    bool needinit = false; // the adapter must be initialised again
    bool replaying = false; // replies come from the trace log
    QString ecuaddr;        // selected controller, two upper-case hex digits or empty
    int hdrformat = 5;      // 5 legacy, 2 11-bit CAN, 7 29-bit CAN
    QString rxbuf;          // received characters not yet taken
    double lastrxtime = 0;  // clock of the last reception
    QString timeAfterReceive; // "time after rcv"

    // Called with the number of every "L" line met while replaying (selects a function).
    std::function<void(int)> onReplayListLine;

    // Timer1: the poller runs only while enabled.
    void setPollerEnabled(bool enabled);
    bool pollerEnabled() const { return pollerEnabled_; }
    // One poller tick: appends waiting input to rxbuf; a removed device ends the connection.
    void poll();
    // A new connection may report a removed device again.
    void resetDeviceRemovedReport() { removalReported_ = false; }

    // While a trace is replayed the log is being read: opening and closing it for
    // writing leave the reader where it is.
    void openlog() {
        if (!replaying)
            trace.openlog(false);
    }
    void closelog() {
        if (!replaying)
            trace.closelog();
    }
    void logline(const QString& text) {
        if (!replaying)
            trace.logline(text);
    }

    void send(const QString& ss);
    QString receive();
    QString ReceiveMulti(double tm2wait = 1.0);
    QString readbuf();
    QString readbuf(int n);
    // readbuf for a reply the passes work with: while Debug is on it is also traced as an
    // "R" line, so that a replay gets exactly this text back.
    QString readReply();
    // Writes straight to the port, without a trace line or a prompt wait.
    void writeRaw(const QString& text);

    // An "R" line carries a reply with its line ends and backslashes escaped; the
    // support tag "RM" is not one.
    static QString replyLine(const QString& reply);
    static QString replyFromLine(const QString& line);
    // Rewrites a CAN reply line so the controller address sits at characters 5-6.
    static QString normaliseLine(const QString& line, int hdrformat);

signals:
    void timeAfterReceiveChanged();

private:
    QString replayReadbuf();
    void deviceRemoved();

    bool pollerEnabled_ = false;
    bool removalReported_ = false;
};

// A trace line that holds a reply for replay.
bool isReplyLine(const QString& line);

// Switches the Debug setting off for the lifetime of the object, then restores it.
class RecordingPause {
public:
    explicit RecordingPause(Link& link) : link_(link), saved_(link.settings.recording) {
        link.settings.recording = false;
    }
    ~RecordingPause() { link_.settings.recording = saved_; }
    RecordingPause(const RecordingPause&) = delete;
    RecordingPause& operator=(const RecordingPause&) = delete;

private:
    Link& link_;
    bool saved_;
};

} // namespace zelcor
