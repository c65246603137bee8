#include "link/devicelist.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>

namespace zelcor {

namespace {

int familyRank(const QString& name) {
    if (name.startsWith(QLatin1String("ttyUSB"))) return 0;
    if (name.startsWith(QLatin1String("ttyACM"))) return 1;
    if (name.startsWith(QLatin1String("rfcomm"))) return 2;
    return 3;
}

// Natural order inside a family: ttyUSB2 before ttyUSB10.
bool naturalLess(const QString& a, const QString& b) {
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d+)$"));
    const auto ma = tail.match(a), mb = tail.match(b);
    if (ma.hasMatch() && mb.hasMatch() && ma.captured(1) == mb.captured(1))
        return ma.captured(2).toLongLong() < mb.captured(2).toLongLong();
    return a < b;
}

} // namespace

QStringList DeviceList::ordered(const QStringList& systemNames) {
    QStringList names = systemNames;
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int ra = familyRank(a), rb = familyRank(b);
        return ra != rb ? ra < rb : naturalLess(a, b);
    });
    return names;
}

QList<DeviceOption> DeviceList::offered() {
    QMap<QString, QString> details; // system name -> maker and product
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString detail = info.manufacturer();
        if (!info.description().isEmpty() && !detail.contains(info.description()))
            detail += (detail.isEmpty() ? QString() : QStringLiteral(" ")) + info.description();
        details.insert(info.portName(), detail.simplified());
    }
#ifndef Q_OS_WIN
    // A bound rfcomm device is not always reported as a serial port.
    for (const QString& name : QDir(QStringLiteral("/dev")).entryList({QStringLiteral("rfcomm*")}, QDir::System))
        if (!details.contains(name)) details.insert(name, QStringLiteral("Bluetooth"));
#endif
    QList<DeviceOption> options;
    for (const QString& name : ordered(details.keys())) {
        const QString detail = details.value(name);
        options.append(
            {QStringLiteral("/dev/") + name, detail.isEmpty() ? name : name + QStringLiteral("  ") + detail});
    }
    return options;
}

QStringList DeviceList::devices() const {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    QStringList paths;
    if (!first_.isEmpty()) paths << first_;
    for (const QString& name : ordered(names))
        paths << QStringLiteral("/dev/") + name;
    return paths;
}

QString DeviceList::device(int number) const {
    if (number < 1 || number > 16) return {};
    if (number == 1 && !first_.isEmpty()) return first_;
    const QStringList all = devices();
    return number <= all.size() ? all.at(number - 1) : QString();
}

bool isNetworkDevice(const QString& device) {
    return !device.isEmpty() && !device.startsWith(QLatin1Char('/'));
}

} // namespace zelcor
