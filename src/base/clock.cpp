#include "base/clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

namespace zelcor {

bool Clock::waitUntil(double seconds, const std::function<bool()>& done) {
    const double start = now();
    for (;;) {
        if (done && done()) return true;
        if (now() - start > seconds || abandoned_) return false;
        pause();
    }
}

void Clock::wait(double seconds) {
    const double start = now();
    runPending();
    while (now() - start <= seconds && !abandoned_)
        pause();
}

SystemClock::SystemClock() {
    elapsed_.start();
    heartbeat_.setSingleShot(true);
    heartbeat_.setTimerType(Qt::PreciseTimer);
}

double SystemClock::now() const {
    return double(elapsed_.nsecsElapsed()) / 1e9;
}

bool SystemClock::runEvents(bool mayWait) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return false;
    if (!mayWait) return dispatcher->processEvents(QEventLoop::AllEvents);
    // Wake up after a millisecond at the latest, sooner when port data or input arrives.
    if (!heartbeat_.isActive()) heartbeat_.start(1);
    return dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void SystemClock::yield() {
    if (idle_) {
        runEvents(true);
        idle_ = false;
    } else {
        idle_ = !runEvents(false);
    }
}

void SystemClock::runPending() {
    runEvents(false);
    idle_ = false;
}

void SystemClock::pause() {
    runEvents(true);
    idle_ = false;
}

} // namespace zelcor
