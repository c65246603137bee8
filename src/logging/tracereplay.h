#pragma once
// Replaying the trace log through the whole program ("V"): the link talks to a port that
// answers from the trace, and every pass is paced by the replay window's controls and by
// the recorded time of every pass.

#include "link/connection.h"
#include "link/link.h"
#include "link/passrhythm.h"
#include "logging/replaycontrols.h"
#include "logging/traceport.h"

#include <QDateTime>
#include <QObject>
#include <functional>

namespace zelcor {

// What the replay changes in the rest of the program.
struct TraceReplayHooks {
    std::function<void(int code)> selectFunction;          // an "F" line (-1 at the end: no work)
    std::function<void(const QString& line)> applyChoices; // a "K" line: the panels' channel choices
    std::function<void(const QString& line)> applyPolling; // a "Q" line: how the adapter was asked
    std::function<void(int entry)> chooseListEntry;        // an "L" line: a function list entry clicked
    // The replay starts (true) or ends: the passes follow its rhythm, and the recording
    // chooses the functions and how parameters are asked.
    std::function<void(bool running)> running;
};

class TraceReplay : public QObject, public PassRhythm {
    Q_OBJECT
public:
    TraceReplay(Link& link, Connection& connection, TraceReplayHooks hooks);

    // The replay window's controls; the window writes them, then calls controlsEdited().
    ReplayControls& controls() { return controls_; }
    void controlsEdited() { emit changed(); }
    // The recorded date and time of the pass shown last.
    const QString& passTime() const { return passTime_; }
    bool running() const { return running_; }
    // The trace being replayed.
    QString path() const { return port_.path(); }

    // "V": replays the trace log, again from its beginning each time play is pressed after
    // its end, until the replay window closes.
    void run();
    // The replay window was closed: the program works live again.
    void end();

    // Around every replayed pass: the lines before its first reply (function and channel
    // choices); after it the recorded time, waited for by the chosen speed, and then while
    // the replay is paused (a step pauses again). The trace's end ends the connection.
    void beforePass() override;
    void afterPass(bool exchanged) override;
    bool ownTimes() const override { return false; }
    bool userChoosesFunctions() const override { return false; }

signals:
    void started();
    void changed();

private:
    void finish();
    // Waits, by the replay window's speed, as long as the recorded pass took.
    void pace(const QDateTime& recorded);
    void waitWhilePaused();

    Link& link_;
    Connection& connection_;
    TraceReplayHooks hooks_;
    TracePort port_;
    Port* livePort_ = nullptr; // the port the link used before the replay
    ReplayControls controls_;
    QString passTime_;
    QDateTime recordedPassTime_; // the recorded time of the pass last replayed
    double replayedAt_ = 0;      // the clock when it was replayed
    bool running_ = false;       // "V" is running
    bool ending_ = false;        // the replay window was closed
};

} // namespace zelcor
