#include "link/systemport.h"

#include <QFileInfo>
#include <unistd.h>

namespace zelcor {

namespace {
// What Qt keeps of a device's input before the program reads it; beyond, the system
// holds it back (an adapter that floods cannot fill the memory).
constexpr qint64 kPortReadBuffer = 64 * 1024;

// Why a Wi-Fi adapter could not be reached, in the words a user can act on.
QString unreachableText(const QString& address, QAbstractSocket::SocketError error, const QString& detail) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("%1 refused the connection: nothing listens on that port "
                              "(is the address right, and is the adapter switched on?)")
            .arg(address);
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("%1 did not answer in time: join the adapter's Wi-Fi network and check the address")
            .arg(address);
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("%1: no such host").arg(address);
    case QAbstractSocket::NetworkError:
        return QStringLiteral("%1 cannot be reached: %2 (is this computer on the adapter's Wi-Fi network?)")
            .arg(address, detail);
    default:
        return QStringLiteral("%1 cannot be reached: %2").arg(address, detail);
    }
}
} // namespace

SystemPort::SystemPort(DeviceList devices, QObject* parent) : Port(parent), devices_(std::move(devices)) {}

SystemPort::~SystemPort() {
    close();
}

QString SystemPort::deviceName(int number) const {
    const QString device = devices_.device(number);
    return isNetworkDevice(device) ? device : QFileInfo(device).fileName();
}

void SystemPort::fail(int number, const QString& description) {
    errorNumber_ = number;
    errorDescription_ = description;
}

void SystemPort::lost(const QString& description) {
    if (errorNumber_ == int(PortError::DeviceRemoved)) return;
    fail(int(PortError::DeviceRemoved), description);
    emit removed();
}

bool SystemPort::open(int number) {
    close();
    fail(0, QString());
    if (number < 1 || number > 16) {
        fail(int(PortError::InvalidPort), QStringLiteral("Invalid port number"));
        return false;
    }
    const QString device = devices_.device(number);
    if (device.isEmpty()) {
        fail(int(PortError::InvalidPort), QStringLiteral("Invalid port number (no device for port %1)").arg(number));
        return false;
    }
    if (device == kSimulatedCarDevice) {
        QString error = QStringLiteral("it is not part of this program");
        const QString path = simulatorStarter_ ? simulatorStarter_(&error) : QString();
        if (path.isEmpty()) {
            fail(int(PortError::InvalidPort), QStringLiteral("The simulated car cannot be started: %1").arg(error));
            return false;
        }
        return openSerial(path);
    }
    return isNetworkDevice(device) ? openTcp(device) : openSerial(device);
}

bool SystemPort::setBaudRate(int baud) {
    baud_ = baud;
    if (!serial_ || !serial_->isOpen()) return false;
    // What waits was sent at the old rate.
    serial_->clear();
    return serial_->setBaudRate(baud);
}

bool SystemPort::openSerial(const QString& path) {
    if (!QFileInfo::exists(path)) {
        fail(int(PortError::InvalidPort),
             QStringLiteral("%1 does not exist: is the adapter plugged in (or, for Bluetooth, bound with rfcomm)?")
                 .arg(path));
        return false;
    }
    const QByteArray native = path.toLocal8Bit();
    if (::access(native.constData(), R_OK | W_OK) != 0) {
        fail(int(PortError::InvalidPort),
             QStringLiteral("Permission denied on %1: add your user to the 'dialout' group with "
                            "\"sudo usermod -aG dialout $USER\", then log out and in again")
                 .arg(path));
        return false;
    }
    serial_ = std::make_unique<QSerialPort>();
    serial_->setReadBufferSize(kPortReadBuffer);
    serial_->setPortName(path);
    serial_->setBaudRate(baud_);
    serial_->setDataBits(QSerialPort::Data8);
    serial_->setParity(QSerialPort::NoParity);
    serial_->setStopBits(QSerialPort::OneStop);
    serial_->setFlowControl(QSerialPort::NoFlowControl);
    if (!serial_->open(QIODevice::ReadWrite)) {
        const auto error = serial_->error();
        const QString text = serial_->errorString();
        serial_.reset();
        if (error == QSerialPort::DeviceNotFoundError)
            fail(int(PortError::InvalidPort), QStringLiteral("%1 cannot be opened: %2").arg(path, text));
        else if (error == QSerialPort::PermissionError) // readable and writable, so it is locked
            fail(int(PortError::PortOpen),
                 QStringLiteral("%1 is busy: another program holds it (close that program and try again)").arg(path));
        else
            fail(8000 + int(error), QStringLiteral("%1 cannot be opened: %2").arg(path, text));
        return false;
    }
    serialPath_ = path;
    sinceDeviceCheck_.start();
    serial_->setDataTerminalReady(true);
    serial_->setRequestToSend(true);
    connect(serial_.get(), &QSerialPort::readyRead, this, &Port::readyRead);
    connect(serial_.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError) lost(QStringLiteral("Device removed"));
    });
    return true;
}

bool SystemPort::openTcp(const QString& address) {
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    const QString host = colon > 0 ? address.left(colon) : address;
    const quint16 tcpPort = colon > 0 ? address.mid(colon + 1).toUShort() : quint16(35000);
    tcp_ = std::make_unique<QTcpSocket>();
    tcp_->setReadBufferSize(kPortReadBuffer);
    tcp_->connectToHost(host, tcpPort ? tcpPort : quint16(35000));
    if (!tcp_->waitForConnected(3000)) {
        fail(int(PortError::InvalidPort), unreachableText(address, tcp_->error(), tcp_->errorString()));
        tcp_.reset();
        return false;
    }
    tcp_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(tcp_.get(), &QTcpSocket::readyRead, this, &Port::readyRead);
    connect(tcp_.get(), &QTcpSocket::disconnected, this,
            [this] { lost(QStringLiteral("Connection to the adapter lost")); });
    return true;
}

void SystemPort::close() {
    if (serial_) {
        serial_->disconnect(this);
        serial_->close();
        serial_.reset();
    }
    if (tcp_) {
        tcp_->disconnect(this);
        tcp_->abort();
        tcp_.reset();
    }
}

bool SystemPort::isOpen() const {
    return (serial_ && serial_->isOpen()) || (tcp_ && tcp_->isOpen());
}

void SystemPort::write(const QByteArray& bytes) {
    if (serial_) {
        serial_->write(bytes);
        serial_->flush(); // hand it to the driver now, not at the next event
    } else if (tcp_) {
        tcp_->write(bytes);
        tcp_->flush();
    }
}

qint64 SystemPort::bytesWaiting() {
    // A device that goes away takes its node with it (an unplugged USB adapter, a closed
    // pseudo-terminal) before the driver reports an error, which may come only with the next
    // write: look for the node a few times a second.
    if (serial_ && sinceDeviceCheck_.elapsed() >= 200) {
        sinceDeviceCheck_.restart();
        if (!QFileInfo::exists(serialPath_)) {
            lost(QStringLiteral("Device removed"));
            return 0;
        }
    }
    if (serial_) return serial_->bytesAvailable();
    if (tcp_) return tcp_->bytesAvailable();
    return 0;
}

QByteArray SystemPort::readAll() {
    if (serial_) return serial_->readAll();
    if (tcp_) return tcp_->readAll();
    return {};
}

} // namespace zelcor
