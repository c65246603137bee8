#pragma once
// Time and cooperative waiting. Everything runs on one thread; every wait lets the
// event loop run (port input, clicks) while it waits.

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace zelcor {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since an arbitrary start, monotonic, sub-millisecond resolution.
    virtual double now() const = 0;
    // Lets the rest of the program run once (events, port input, timers).
    virtual void yield() = 0;
    // The steps of a wait: letting pending work run once, and pausing until something
    // happens or a moment has passed. Both are a yield unless a clock knows better.
    virtual void runPending() { yield(); }
    virtual void pause() { yield(); }

    // Yields until `done` returns true or more than `seconds` have passed.
    // Returns true when `done` ended the wait.
    bool waitUntil(double seconds, const std::function<bool()>& done);
    // Yields until more than `seconds` have passed (at least one yield).
    void wait(double seconds);

    // From now on every wait returns at once (the program is ending).
    void abandonWaits() { abandoned_ = true; }
    bool waitsAbandoned() const { return abandoned_; }

private:
    bool abandoned_ = false;
};

// The real clock: a monotonic timer. A yield processes pending Qt events and returns; a
// pause, and a yield that follows a yield that found nothing to do (an idle loop), sleep
// in the event loop until something happens or a millisecond has passed, so neither a
// wait nor an idle loop spins a core while work is never delayed.
class SystemClock : public Clock {
public:
    SystemClock();
    double now() const override;
    void yield() override;
    void runPending() override;
    void pause() override;

private:
    QElapsedTimer elapsed_;
    QTimer heartbeat_;
    bool runEvents(bool mayWait);

    bool idle_ = false; // the last yield had nothing to do, and nothing waited since
};

} // namespace zelcor
