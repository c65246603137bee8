#pragma once
// Runs a Simulator on the monotonic clock of the current thread's event loop: feeds it
// what the client wrote and hands back its output when due.

#include "sim/options.h"
#include "sim/simulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace zelcor::sim {

class RealtimeRunner : public QObject {
    Q_OBJECT
public:
    explicit RealtimeRunner(const Options& options, QObject* parent = nullptr);

    // Bytes the client has just written.
    void feed(const QByteArray& bytes);
    Simulator& simulator() { return simulator_; }
    // Seconds since the runner was made.
    double now() const;

signals:
    // Bytes due for the client now.
    void output(const QByteArray& bytes);
    // The simulated device went away (unplug fault); emitted once.
    void unplugged();

private:
    void pump();
    void schedule();

    Simulator simulator_;
    QElapsedTimer clock_;
    QTimer timer_;
    bool gone_ = false;
};

} // namespace zelcor::sim
