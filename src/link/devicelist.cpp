#include "link/devicelist.h"

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
