#pragma once
// The simulated adapter as a serial device: a Linux pseudo-terminal whose slave side any
// program (the client, a terminal program) opens like a serial port. Served on the
// current thread's event loop.

#include "sim/options.h"
#include "sim/realtimerunner.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace zelcor::sim {

class PtyServer : public QObject {
    Q_OBJECT
public:
    // The can11 car with the adapter's real timing.
    explicit PtyServer(QObject* parent = nullptr);
    // Exactly these options (use realTimeOptions() for the real timing).
    explicit PtyServer(const Options& options, QObject* parent = nullptr);
    // Closes both sides: the device disappears.
    ~PtyServer() override;

    // Creates the pseudo-terminal; false with *error set when that fails.
    bool start(QString* error = nullptr);
    // The slave device ("/dev/pts/7"); empty before start().
    QString devicePath() const { return path_; }
    bool isRunning() const { return master_ >= 0; }
    // Pulls the plug: the master side closes, the client sees its device go away.
    void unplug();

    Simulator& simulator() { return runner_.simulator(); }

signals:
    // The device went away (unplug() or the unplug fault).
    void unplugged();

private:
    void readMaster();
    void unplugWhenRead(int steps);
    void flush();
    void closeAll();

    RealtimeRunner runner_;
    int master_ = -1;
    int slave_ = -1; // kept open so that clients may close and reopen the device
    QSocketNotifier* reader_ = nullptr;
    QSocketNotifier* writer_ = nullptr;
    QByteArray unsent_;
    QString path_;
};

} // namespace zelcor::sim
