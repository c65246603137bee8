#include "sim/simulator.h"

#include "sim/profiles.h"

#include <algorithm>
#include <limits>

namespace zelcor::sim {

namespace {

Profile profileOrDefault(const QString& name) {
    if (const auto profile = findProfile(name)) return *profile;
    return *findProfile(QStringLiteral("can11"));
}

} // namespace

Simulator::Simulator(const Options& options)
    : options_(options), vehicle_(std::make_unique<Vehicle>(profileOrDefault(options.profile), options.protocol)),
      adapter_(std::make_unique<Adapter>(*vehicle_, options_, output_)),
      pulled_(std::numeric_limits<double>::infinity()) {}

void Simulator::start(double now) {
    // The hostile peer is no adapter behind a serial line: nothing slows its stream.
    output_.configure(options_.realTiming && !options_.garbageFlood, std::max(0.0, options_.latencyMs) / 1000);
    output_.setFailingAbove(options_.lineFailsAbove);
    if (started_) return;
    started_ = true;
    keyOn_ = now;
    adapter_->setKeyOnTime(now);
}

double Simulator::unplugTime() const {
    return std::min(pulled_, adapter_->unplugTime());
}

void Simulator::unplug(double now) {
    pulled_ = std::min(pulled_, now);
}

void Simulator::input(const QByteArray& bytes, double now) {
    start(now);
    if (unplugged(now)) return;
    flood(now);
    if (options_.garbageFlood) return; // the peer reads nothing
    adapter_->advance(now);
    ++writes_;
    // Characters at another rate than the adapter's reach it as junk.
    const int rate = adapter_->lineRateAt(now);
    const QByteArray heard = sameRate(clientRate_, rate) ? bytes : misread(bytes);
    double at = std::max(now, lineFree_);
    for (const char c : heard) {
        if (options_.realTiming) at += 10.0 / rate; // start bit, 8 data bits, stop bit
        adapter_->receive(c, options_.realTiming ? at : now, writes_);
    }
    lineFree_ = at;
    adapter_->advance(now);
}

QByteArray Simulator::output(double now) {
    start(now);
    const double end = std::min(now, unplugTime());
    adapter_->advance(end);
    flood(end);
    QByteArray bytes = output_.take(end, clientRate_);
    if (unplugged(now)) output_.clear();
    return bytes;
}

void Simulator::clientConnected(double now) {
    start(now);
    adapter_->clientConnected(now);
}

bool Simulator::takeHangUp(double now) {
    if (!adapter_->takeHangUp(now)) return false;
    output_.clear(); // what was on its way goes with the connection
    return true;
}

void Simulator::flood(double now) {
    if (!options_.garbageFlood) {
        garbage_.stop();
        return;
    }
    garbage_.start(now);
    const qsizetype piece = qsizetype(std::max(0, options_.garbageFloodKilobytes) * 1000 * GarbageFlood::step);
    output_.push(now, garbage_.take(now, piece));
}

double Simulator::nextOutputTime() const {
    const double next = std::min({output_.nextDelivery(), adapter_->nextEventTime(), garbage_.nextPiece()});
    if (next > unplugTime()) return std::numeric_limits<double>::infinity();
    return next;
}

QStringList Simulator::profiles() {
    return profileNames();
}

bool Simulator::isProfile(const QString& name) {
    return findProfile(name).has_value();
}

QString Simulator::profileDescription(const QString& name) {
    const auto profile = findProfile(name);
    return profile ? profile->description : QString();
}

} // namespace zelcor::sim
