#pragma once
// The simulated adapter in front of the simulated car, independent of any transport:
// bytes go in with the time they were written, come out when they are due. Driven only
// by the times it is given, so the same calls always give the same answers.

#include "sim/adapter.h"
#include "sim/garbageflood.h"
#include "sim/options.h"
#include "sim/outputqueue.h"
#include "sim/vehicle.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

namespace zelcor::sim {

class Simulator {
public:
    // An unknown profile name gives the "can11" car (see isProfile()).
    explicit Simulator(const Options& options = {});
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Bytes the client wrote at time `now` (seconds on any clock that only moves on).
    void input(const QByteArray& bytes, double now);
    // Bytes due for the client by `now`, removed from the queue.
    QByteArray output(double now);
    // When output is next due (it may then turn out empty); +infinity when nothing is queued.
    double nextOutputTime() const;
    // The device went away (unplug fault, or unplug()).
    bool unplugged(double now) const { return now >= unplugTime(); }
    // When the device goes (or went) away; +infinity while it stays.
    double unplugTime() const;
    // Pulls the plug at `now`: nothing comes out any more, input is ignored.
    void unplug(double now);
    // The rate the client's line is set to (baud; 0: a link without a rate, such as TCP).
    // The pseudo-terminal reads it off the line; an in-process client is at 38400.
    void setClientRate(int baud) { clientRate_ = baud; }
    // The adapter dropped the connection (a Wi-Fi module restarting, or idle too long):
    // true once per drop. The TCP server closes its client when it sees it.
    bool takeHangUp(double now);
    // A client connected at `now` (its idle time starts).
    void clientConnected(double now);
    // When the next drop is due; +infinity when none is.
    double nextHangUpTime() const { return adapter_->nextHangUp(); }
    // OBD requests answered so far.
    int requestCount() const { return adapter_->requestCount(); }

    static QStringList profiles();
    static bool isProfile(const QString& name);
    static QString profileDescription(const QString& name);

    // The options in use; faults may be switched on and off while running.
    Options& options() { return options_; }
    Vehicle& vehicle() { return *vehicle_; }
    const Adapter& adapter() const { return *adapter_; }
    // Time at which the ignition was switched on: the first time the simulator was given.
    double keyOnTime() const { return keyOn_; }

private:
    void start(double now);
    // The hostile peer's stream, when that fault is on: due pieces join the output.
    void flood(double now);

    Options options_;
    std::unique_ptr<Vehicle> vehicle_;
    OutputQueue output_;
    std::unique_ptr<Adapter> adapter_;
    GarbageFlood garbage_;
    bool started_ = false;
    double keyOn_ = 0;
    double lineFree_ = -1e300; // the client's characters arrive one after another
    double pulled_;
    quint64 writes_ = 0;
    int clientRate_ = 38400;
};

} // namespace zelcor::sim
