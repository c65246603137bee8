#include "base/clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

namespace zelcor {

bool Clock::waitUntil(double seconds, const std::function<bool()>& done) {
    const double start = now();
    for (;;) {
        if (done && done())
            return true;
        if (now() - start > seconds || abandoned_)
            return false;
        yield();
    }
}

void Clock::wait(double seconds) {
    const double start = now();
    do {
        yield();
    } while (now() - start <= seconds && !abandoned_);
}

SystemClock::SystemClock() {
    elapsed_.start();
    heartbeat_.setSingleShot(true);
    heartbeat_.setTimerType(Qt::PreciseTimer);
}

double SystemClock::now() const { return double(elapsed_.nsecsElapsed()) / 1e9; }

void SystemClock::yield() {
    // Whatever is pending runs at once. Only a caller that yields again after a yield that
    // found nothing to do (a wait, an idle loop) sleeps, until port data or input arrives
    // or a millisecond has passed, so waiting never spins a core and work is never delayed.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    if (!idle_) {
        idle_ = !dispatcher->processEvents(QEventLoop::AllEvents);
        return;
    }
    if (!heartbeat_.isActive())
        heartbeat_.start(1);
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    idle_ = false;
}

} // namespace zelcor
