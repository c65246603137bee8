#include "base/clock.h"

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
    // Wake up after a millisecond at the latest, sooner when port data or input arrives.
    if (!heartbeat_.isActive())
        heartbeat_.start(1);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace zelcor
