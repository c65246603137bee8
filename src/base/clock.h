#pragma once
// Time and cooperative waiting. Everything runs on one thread; every wait calls
// yield() so the event loop (port input, clicks) keeps running.

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

// The real clock: a monotonic timer; yield() processes pending Qt events, and when the
// previous yield found none it sleeps in the event loop until something happens or a
// millisecond has passed, so a wait never spins a core.
class SystemClock : public Clock {
public:
    SystemClock();
    double now() const override;
    void yield() override;

private:
    QElapsedTimer elapsed_;
    QTimer heartbeat_;
    bool idle_ = false; // the last yield had nothing to do
};

} // namespace zelcor
