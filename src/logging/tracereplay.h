#pragma once
// Replaying the trace log through the whole program ("V"): the connection runs on the
// replies the trace recorded, paced by the replay window's controls and by the recorded
// time of every pass.

#include "link/connection.h"
#include "link/link.h"
#include "logging/replaycontrols.h"

#include <QDateTime>
#include <QObject>
#include <functional>

namespace zelcor {

// What the replay changes in the rest of the program.
struct TraceReplayHooks {
    std::function<void(int code)> selectFunction;          // an "F" line (-1 at the end: no work)
    std::function<void(const QString& line)> applyChoices; // a "K" line: the panels' channel choices
    std::function<void(const QString& line)> applyPolling; // a "Q" line: how the adapter was asked
};

class TraceReplay : public QObject {
    Q_OBJECT
public:
    TraceReplay(Link& link, Connection& connection, TraceReplayHooks hooks);

    // The replay window's controls; the window writes them, then calls controlsEdited().
    ReplayControls& controls() { return controls_; }
    void controlsEdited() { emit changed(); }
    // The recorded date and time of the pass shown last.
    const QString& passTime() const { return passTime_; }
    bool running() const { return running_; }

    // "V": replays the trace log, again from its beginning each time play is pressed after
    // its end, until the replay window closes.
    void run();
    // The replay window was closed: the program works live again.
    void end();

    // Around every replayed pass: the lines before its first reply (function and channel
    // choices), and after it the recorded time, waited for by the chosen speed.
    void beforePass();
    void afterPass();
    // After a replayed pass: waits while the replay is paused; a step pauses again.
    void waitWhilePaused();

    // The line that ends every pass of a trace written with Debug on.
    static QString passEndLine(const QDateTime& now);

signals:
    void started();
    void changed();

private:
    void finish();
    // Waits, by the replay window's speed, as long as the recorded pass took.
    void pace(const QDateTime& recorded);

    Link& link_;
    Connection& connection_;
    TraceReplayHooks hooks_;
    ReplayControls controls_;
    QString passTime_;
    QDateTime recordedPassTime_; // the recorded time of the pass last replayed
    double replayedAt_ = 0;      // the clock when it was replayed
    bool running_ = false;       // "V" is running
    bool ending_ = false;        // the replay window was closed
};

} // namespace zelcor
