#pragma once
// The serial link to the adapter, by port number: what the rest of the program needs
// of a serial port (open by number, write, read what is waiting, driver errors).

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zelcor {

// Driver error numbers the program reacts to; message texts and traces show them.
enum class PortError {
    None = 0,
    InvalidPort = 8002, // no such port
    PortOpen = 8005,    // port busy (already open)
    DeviceRemoved = 8021,
};

class Port : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Port() override = default;

    // Opens port `number` (1..16) at the set line rate (38400 baud unless set), 8N1. On failure errorNumber() and
    // errorDescription() tell why (8002, 8005, or another number); the description is one
    // sentence that names the device and the cause, with what to do when there is a remedy.
    virtual bool open(int number) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    virtual qint64 bytesWaiting() = 0;
    virtual QByteArray readAll() = 0;
    // The line rate for the open device and later opens; false when the open device has
    // no line rate (a network adapter, a replay) or none is open.
    virtual bool setBaudRate(int baud) {
        Q_UNUSED(baud)
        return false;
    }

    // The last driver error (0 = none); 8021 once the device has gone away.
    virtual int errorNumber() const = 0;
    virtual QString errorDescription() const = 0;

    // The operating-system device behind a port number ("ttyUSB0"), empty if none.
    virtual QString deviceName(int number) const = 0;
    // The same device as the user would type it ("/dev/ttyUSB0", "192.168.0.10:35000").
    virtual QString devicePath(int number) const { return deviceName(number); }

    // A device chosen by name (a device path, "host:port" or the simulated car) becomes port 1
    // and is tried first; empty leaves the numbered ports alone.
    virtual void chooseDevice(const QString& device) { Q_UNUSED(device) }
    virtual QString chosenDevice() const { return {}; }

signals:
    // Input has arrived (the poller may run now).
    void readyRead();
    // The device went away (error 8021).
    void removed();
};

} // namespace zelcor
