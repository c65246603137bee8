#pragma once
// The real adapter link: a serial device through QSerialPort, or a Wi-Fi adapter
// ("host:port", TCP) through QTcpSocket, chosen by the port number's device.

#include "link/devicelist.h"
#include "link/port.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTcpSocket>
#include <functional>
#include <memory>

namespace zelcor {

class SystemPort : public Port {
    Q_OBJECT
public:
    explicit SystemPort(DeviceList devices, QObject* parent = nullptr);
    ~SystemPort() override;

    bool open(int number) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;
    bool setBaudRate(int baud) override;
    int errorNumber() const override { return errorNumber_; }
    QString errorDescription() const override { return errorDescription_; }
    QString deviceName(int number) const override;
    QString devicePath(int number) const override { return devices_.device(number); }
    void chooseDevice(const QString& device) override { devices_.setFirstDevice(device); }
    QString chosenDevice() const override { return devices_.firstDevice(); }

    // Starts the simulated adapter and car when it is chosen and opened: its device path,
    // or empty with *error saying why it could not start.
    using SimulatorStarter = std::function<QString(QString* error)>;
    void setSimulatorStarter(SimulatorStarter starter) { simulatorStarter_ = std::move(starter); }

    const DeviceList& deviceList() const { return devices_; }

private:
    bool openSerial(const QString& path);
    bool openTcp(const QString& address);
    void fail(int number, const QString& description);
    void lost(const QString& description);

    DeviceList devices_;
    std::unique_ptr<QSerialPort> serial_;
    QString serialPath_;
    int baud_ = 38400;
    QElapsedTimer sinceDeviceCheck_; // when the open device's node was last looked for
    std::unique_ptr<QTcpSocket> tcp_;
    int errorNumber_ = 0;
    QString errorDescription_;
    SimulatorStarter simulatorStarter_;
};

} // namespace zelcor
