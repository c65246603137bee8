#pragma once
// A Port for tests: the in-process simulated adapter and car on the test clock. Each
// clock tick moves the simulator's due output into the port's buffer and signals
// readyRead; writes reach the simulator at the clock's current time.

#include "fakeclock.h"
#include "link/port.h"
#include "sim/simulator.h"

#include <QByteArray>
#include <QList>
#include <QPointer>

namespace zelcor::test {

class SimPort : public Port {
    Q_OBJECT
public:
    explicit SimPort(FakeClock& clock, const sim::Options& options = {}, QObject* parent = nullptr);

    bool open(int number) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override { return buffer_.size(); }
    QByteArray readAll() override;
    // The simulated adapter hears the client at this rate.
    bool setBaudRate(int baud) override;
    int errorNumber() const override { return error_; }
    QString errorDescription() const override { return description_; }
    QString deviceName(int number) const override;

    sim::Simulator& simulator() { return simulator_; }

    // The port number the simulator answers on (default 1); other numbers do not exist.
    void setSimulatorPort(int number) { simulatorPort_ = number; }
    int simulatorPort() const { return simulatorPort_; }

    // Everything written to the port, and each write on its own.
    QByteArray written() const { return written_; }
    QList<QByteArray> writes() const { return writes_; }
    void clearWritten();

private:
    void tick();

    FakeClock& clock_;
    sim::Simulator simulator_;
    int simulatorPort_ = 1;
    bool open_ = false;
    bool gone_ = false;
    int error_ = int(PortError::None);
    QString description_;
    QByteArray buffer_;
    QByteArray written_;
    QList<QByteArray> writes_;
};

// `options` with the simulator's switches in `arguments` ("--sticky-echo", "--baud", "115200")
// applied as zelcor-sim reads them; what was refused goes to `error`.
sim::Options withSwitches(sim::Options options, const QStringList& arguments, QString* error = nullptr);

} // namespace zelcor::test
