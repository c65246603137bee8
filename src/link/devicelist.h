#pragma once
// Port numbers 1..16 to operating-system devices: the ordered list of serial devices
// (ttyUSB*, ttyACM*, rfcomm*, then the others), with an explicitly given device
// (a simulated adapter, or --device) taking port 1.

#include <QList>
#include <QString>
#include <QStringList>

namespace zelcor {

// The device name that stands for the built-in simulated adapter and car.
inline const QString kSimulatedCarDevice = QStringLiteral("simulated car");

// A device the user can choose: what is stored, and what the list shows
// ("/dev/ttyUSB0", "ttyUSB0  FTDI FT232R USB UART").
struct DeviceOption {
    QString device;
    QString label;
    bool operator==(const DeviceOption&) const = default;
};

class DeviceList {
public:
    // The device that becomes port 1 ("/dev/pts/3", or "host:port" for a Wi-Fi adapter).
    void setFirstDevice(const QString& device) { first_ = device; }
    QString firstDevice() const { return first_; }

    // The device behind port `number`, empty when there is none.
    QString device(int number) const;
    // All devices in port order.
    QStringList devices() const;

    // Orders system device names the way port numbers are given out.
    static QStringList ordered(const QStringList& systemNames);
    // The serial devices present now, with their maker and product, then the Bluetooth
    // rfcomm devices that are bound, in port order.
    static QList<DeviceOption> offered();

private:
    QString first_;
};

// True for "host:port" and "host" forms that name a TCP adapter rather than a device path.
bool isNetworkDevice(const QString& device);

} // namespace zelcor
