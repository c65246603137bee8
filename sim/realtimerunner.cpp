#include "sim/realtimerunner.h"

#include <algorithm>
#include <cmath>

namespace zelcor::sim {

RealtimeRunner::RealtimeRunner(const Options& options, QObject* parent) : QObject(parent), simulator_(options) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &RealtimeRunner::pump);
}

double RealtimeRunner::now() const {
    return double(clock_.nsecsElapsed()) / 1e9;
}

void RealtimeRunner::readClientRate() {
    if (clientRate_) simulator_.setClientRate(clientRate_());
}

void RealtimeRunner::clientConnected() {
    if (gone_) return;
    simulator_.clientConnected(now());
    pump();
}

void RealtimeRunner::feed(const QByteArray& bytes) {
    if (gone_) return;
    readClientRate();
    simulator_.input(bytes, now());
    pump();
}

void RealtimeRunner::pump() {
    if (gone_) return;
    const double time = now();
    readClientRate();
    const QByteArray bytes = simulator_.output(time);
    if (!bytes.isEmpty()) emit output(bytes);
    if (simulator_.takeHangUp(time)) emit hungUp();
    if (simulator_.unplugged(time)) {
        gone_ = true;
        timer_.stop();
        emit unplugged();
        return;
    }
    schedule();
}

void RealtimeRunner::schedule() {
    const double next = std::min({simulator_.nextOutputTime(), simulator_.unplugTime(), simulator_.nextHangUpTime()});
    if (!std::isfinite(next)) {
        timer_.stop();
        return;
    }
    const double delay = std::max(0.0, next - now());
    timer_.start(int(std::ceil(delay * 1000)));
}

} // namespace zelcor::sim
