#pragma once
// The simulated adapter on a TCP port of this machine, as Wi-Fi adapters offer it: one
// client at a time; the adapter keeps its state between connections, and may drop one
// (a reset that restarts the Wi-Fi module, or a client idle too long).

#include "sim/options.h"
#include "sim/realtimerunner.h"

#include <QObject>
#include <QPointer>

class QTcpServer;
class QTcpSocket;

namespace zelcor::sim {

class TcpServer : public QObject {
    Q_OBJECT
public:
    // Use realTimeOptions() for the adapter's real timing.
    explicit TcpServer(const Options& options, QObject* parent = nullptr);
    ~TcpServer() override;

    // Listens on 127.0.0.1:`port` (0: any free port); false with *error set on failure.
    bool listen(quint16 port, QString* error = nullptr);
    quint16 port() const;
    // Drops the client and stops listening: the adapter went away.
    void unplug();
    Simulator& simulator() { return runner_.simulator(); }

signals:
    void unplugged();

private:
    void accept();
    void hangUp();

    RealtimeRunner runner_;
    QTcpServer* server_;
    QPointer<QTcpSocket> client_;
};

} // namespace zelcor::sim
