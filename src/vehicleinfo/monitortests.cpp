#include "vehicleinfo/monitortests.h"

#include "vehicleinfo/unitscaling.h"

#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

constexpr int kRecordSize = 9;

QString hex2(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString bankSensor(int bank, int sensor) {
    return QStringLiteral("Bank %1 Sensor %2").arg(bank).arg(sensor);
}

// Monitors numbered by bank (and sensor) after a first ID, as the standard groups them.
struct MonitorGroup {
    int first;
    int count;
    const char* name;
    bool sensors; // four sensors per bank
};

constexpr MonitorGroup kGroups[] = {
    {0x01, 16, "Oxygen Sensor Monitor", true},
    {0x21, 4, "Catalyst Monitor", false},
    {0x31, 4, "EGR Monitor", false},
    {0x35, 4, "VVT Monitor", false},
    {0x41, 16, "Oxygen Sensor Heater Monitor", true},
    {0x61, 4, "Heated Catalyst Monitor", false},
    {0x81, 4, "Fuel System Monitor", false},
    {0x85, 2, "Boost Pressure Control Monitor", false},
    {0x90, 2, "NOx Adsorber Monitor", false},
    {0x98, 2, "NOx/SCR Catalyst Monitor", false},
    {0xB0, 2, "Particulate Filter Monitor", false},
};

QString singleName(int monitor) {
    switch (monitor) {
    case 0x39:
        return QStringLiteral("EVAP Monitor (Cap Off / 0.150\")");
    case 0x3A:
        return QStringLiteral("EVAP Monitor (0.090\")");
    case 0x3B:
        return QStringLiteral("EVAP Monitor (0.040\")");
    case 0x3C:
        return QStringLiteral("EVAP Monitor (0.020\")");
    case 0x3D:
        return QStringLiteral("Purge Flow Monitor");
    case 0x71:
    case 0x72:
    case 0x73:
    case 0x74:
        return QStringLiteral("Secondary Air Monitor %1").arg(monitor - 0x70);
    case 0xA1:
        return QStringLiteral("Misfire Monitor General Data");
    default:
        if (monitor >= 0xA2 && monitor <= 0xAD) return QStringLiteral("Misfire Cylinder %1 Data").arg(monitor - 0xA1);
        return {};
    }
}

int decimalsFor(double factor) {
    int decimals = 0;
    while (decimals < 6 &&
           std::abs(factor * std::pow(10, decimals) - std::round(factor * std::pow(10, decimals))) > 1e-9)
        ++decimals;
    return decimals;
}

} // namespace

QString monitorTestName(int monitor) {
    for (const MonitorGroup& group : kGroups) {
        const int index = monitor - group.first;
        if (index < 0 || index >= group.count) continue;
        const QString name = QString::fromLatin1(group.name);
        if (group.sensors) return name + QLatin1Char(' ') + bankSensor(index / 4 + 1, index % 4 + 1);
        return name + QStringLiteral(" Bank %1").arg(index + 1);
    }
    const QString single = singleName(monitor);
    return single.isEmpty() ? QStringLiteral("Monitor ") + hex2(monitor) : single;
}

QList<int> supportedMonitors(int base, const QByteArray& bitmap) {
    QList<int> monitors;
    for (int bit = 0; bit < 32 && bit / 8 < bitmap.size(); ++bit)
        if (quint8(bitmap[bit / 8]) & (0x80 >> (bit % 8))) monitors.append(base + bit + 1);
    return monitors;
}

MonitorTestRead readMonitorTests(int controller, const QByteArray& message) {
    MonitorTestRead read;
    qsizetype at = 0;
    for (; at + kRecordSize <= message.size(); at += kRecordSize) {
        const auto byte = [&](qsizetype i) { return int(quint8(message[at + i])); };
        const auto word = [&](qsizetype i) { return quint16(byte(i) * 256 + byte(i + 1)); };
        MonitorTestResult test;
        test.controller = controller;
        test.monitor = byte(0);
        test.test = byte(1);
        test.scaling = byte(2);
        const quint16 raw[3] = {word(3), word(5), word(7)};
        if (const auto scaling = unitScaling(test.scaling)) {
            test.value = scaledValue(*scaling, raw[0]);
            test.minimum = scaledValue(*scaling, raw[1]);
            test.maximum = scaledValue(*scaling, raw[2]);
            test.units = QString::fromUtf8(scaling->units);
            const qint32 value = scaling->isSigned ? qint16(raw[0]) : raw[0];
            const qint32 minimum = scaling->isSigned ? qint16(raw[1]) : raw[1];
            const qint32 maximum = scaling->isSigned ? qint16(raw[2]) : raw[2];
            test.passed = value >= minimum && value <= maximum;
        } else {
            test.value = raw[0];
            test.minimum = raw[1];
            test.maximum = raw[2];
            test.passed = raw[0] >= raw[1] && raw[0] <= raw[2];
            test.note = QStringLiteral("unknown unit and scaling ID %1: raw values shown").arg(hex2(test.scaling));
        }
        read.tests.append(test);
    }
    if (at < message.size())
        read.problem = QStringLiteral("a test record of controller %1 was cut short after %2 of %3 bytes")
                           .arg(controller)
                           .arg(message.size() - at)
                           .arg(kRecordSize);
    return read;
}

QString testValueText(const MonitorTestResult& test, double value) {
    const auto scaling = unitScaling(test.scaling);
    const QString number = QString::number(value, 'f', scaling ? decimalsFor(scaling->factor) : 0);
    return test.units.isEmpty() ? number : number + QLatin1Char(' ') + test.units;
}

void sortFailedFirst(QList<MonitorTestResult>& tests) {
    std::stable_sort(tests.begin(), tests.end(), [](const MonitorTestResult& a, const MonitorTestResult& b) {
        if (a.passed != b.passed) return !a.passed;
        if (a.controller != b.controller) return a.controller < b.controller;
        if (a.monitor != b.monitor) return a.monitor < b.monitor;
        return a.test < b.test;
    });
}

} // namespace zelcor
