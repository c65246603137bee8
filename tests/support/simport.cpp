#include "simport.h"

#include "sim/faultoptions.h"

#include <QCommandLineParser>

namespace zelcor::test {

SimPort::SimPort(FakeClock& clock, const sim::Options& options, QObject* parent)
    : Port(parent), clock_(clock), simulator_(options) {
    // The clock outlives the port in some tests: the ticker must not outlive it.
    QPointer<SimPort> self(this);
    clock_.addTicker([self] {
        if (self) self->tick();
    });
}

bool SimPort::open(int number) {
    error_ = int(PortError::None);
    description_.clear();
    if (open_) {
        error_ = int(PortError::PortOpen);
        description_ = QStringLiteral("Port already open");
        return false;
    }
    if (number != simulatorPort_ || gone_) {
        error_ = int(PortError::InvalidPort);
        description_ = QStringLiteral("Invalid port number");
        return false;
    }
    buffer_.clear();
    open_ = true;
    return true;
}

void SimPort::close() {
    open_ = false;
    buffer_.clear();
}

void SimPort::write(const QByteArray& bytes) {
    if (!open_) {
        error_ = 8018;
        description_ = QStringLiteral("Operation valid only when the port is open");
        return;
    }
    written_.append(bytes);
    writes_.append(bytes);
    simulator_.input(bytes, clock_.now());
}

bool SimPort::setBaudRate(int baud) {
    simulator_.setClientRate(baud);
    buffer_.clear();
    return open_;
}

QByteArray SimPort::readAll() {
    QByteArray bytes = buffer_;
    buffer_.clear();
    return bytes;
}

QString SimPort::deviceName(int number) const {
    return number == simulatorPort_ && !gone_ ? QStringLiteral("sim") : QString();
}

void SimPort::clearWritten() {
    written_.clear();
    writes_.clear();
}

void SimPort::tick() {
    if (gone_) return;
    const double now = clock_.now();
    const QByteArray bytes = simulator_.output(now);
    if (open_ && !bytes.isEmpty()) {
        buffer_.append(bytes);
        emit readyRead();
    }
    if (simulator_.unplugged(now)) {
        gone_ = true;
        const bool wasOpen = open_;
        open_ = false;
        error_ = int(PortError::DeviceRemoved);
        description_ = QStringLiteral("The device has been removed");
        if (wasOpen) emit removed();
    }
}

sim::Options withSwitches(sim::Options options, const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    sim::addFaultOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("zelcor-sim")} + arguments)) {
        if (error) *error = parser.errorText();
        return options;
    }
    QString refused;
    if (!sim::readFaultOptions(parser, options, &refused) && error) *error = refused;
    return options;
}

} // namespace zelcor::test
