#pragma once
// Runs a Simulator on the monotonic clock of the current thread's event loop: feeds it
// what the client wrote and hands back its output when due.

#include "sim/options.h"
#include "sim/simulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace zelcor::sim {

class RealtimeRunner : public QObject {
    Q_OBJECT
public:
    explicit RealtimeRunner(const Options& options, QObject* parent = nullptr);

    // A client has just connected.
    void clientConnected();
    // Bytes the client has just written.
    void feed(const QByteArray& bytes);
    Simulator& simulator() { return simulator_; }
    // Where the client's line rate is read before each exchange (a pseudo-terminal's
    // settings); without one the simulator keeps the rate it was given.
    void setClientRateSource(std::function<int()> source) { clientRate_ = std::move(source); }
    // Seconds since the runner was made.
    double now() const;

signals:
    // Bytes due for the client now.
    void output(const QByteArray& bytes);
    // The simulated device went away (unplug fault); emitted once.
    void unplugged();
    // The adapter dropped its connection (a TCP client); it stays there for the next one.
    void hungUp();

private:
    void pump();
    void schedule();
    void readClientRate();

    Simulator simulator_;
    QElapsedTimer clock_;
    QTimer timer_;
    bool gone_ = false;
    std::function<int()> clientRate_;
};

} // namespace zelcor::sim
