#include "vehicle/statuspanels.h"

#include "base/format.h"
#include "obd/parameters.h"

#include <iterator>

namespace zelcor {

namespace {

constexpr const char* kMonitorNames[] = {
    "Misfire Monitoring",
    "Fuel System Monitoring",
    "Component Monitoring", // continuous
    "Catalyst",
    "Heated Catalyst",
    "Evaporative System",
    "Secondary Air System",
    "A/C System Refrigerant",
    "Oxygen Sensor",
    "Oxygen Sensor Heater",
    "EGR System",
};
constexpr int kContinuousMonitors = 3;
constexpr int kMonitorCount = int(std::size(kMonitorNames));

// Appends the name of monitor `first + bit` for every set bit among the lowest `count` of `bits`.
void addMonitors(QStringList& list, int bits, int first, int count) {
    for (int bit = 0; bit < count; ++bit)
        if (bits & (1 << bit)) list.append(monitorName(first + bit));
}

} // namespace

QString monitorName(int index) {
    if (index < 0 || index >= kMonitorCount) return QString();
    return QString::fromLatin1(kMonitorNames[index]);
}

GeneralInfoStatus generalInfoStatus(const QByteArray& data) {
    const int a = dataByte(data, 0);
    const int b = dataByte(data, 1);
    const int c = dataByte(data, 2);
    const int d = dataByte(data, 3);
    GeneralInfoStatus s;
    s.mil = (a & 0x80) ? QStringLiteral("ON") : QStringLiteral("OFF");
    s.codeCount = a & 0x7F;
    addMonitors(s.continuous, b, 0, kContinuousMonitors);
    addMonitors(s.nonContinuous, c, kContinuousMonitors, 8);
    addMonitors(s.incomplete, b >> 4, 0, kContinuousMonitors);
    addMonitors(s.incomplete, d, kContinuousMonitors, 8);
    return s;
}

DriveCycleStatus driveCycleStatus(const QByteArray& data) {
    const int b = dataByte(data, 1);
    const int c = dataByte(data, 2);
    const int d = dataByte(data, 3);
    DriveCycleStatus s;
    addMonitors(s.enabled, b, 0, kContinuousMonitors);
    addMonitors(s.enabled, c, kContinuousMonitors, 8);
    addMonitors(s.incomplete, b & (b >> 4), 0, kContinuousMonitors);
    addMonitors(s.incomplete, c & d, kContinuousMonitors, 8);
    return s;
}

std::array<bool, kFuelSystemLabels> fuelSystemHighlights(const QByteArray& data) {
    const int a = dataByte(data, 0);
    const int b = dataByte(data, 1);
    std::array<bool, kFuelSystemLabels> lit{};
    for (int i = 0; i < 5; ++i) {
        lit[size_t(i)] = a & (1 << i);
        lit[size_t(i + 5)] = b & (1 << i);
    }
    return lit;
}

QString fuelSystemLabelText(int index) {
    static const char* const kTexts[] = {
        "Open Loop - has not yet satisfied conditions to go closed loop",
        "Closed Loop - using oxygen sensor(s) as feedback for fuel control",
        "Open Loop due to driving conditions (power enrich, deceleration lean)",
        "Open Loop due to detected system fault",
        "Closed Loop, but using only one oxygen sensor",
    };
    if (index < 0 || index >= kFuelSystemLabels) return QString();
    return QString::fromLatin1(kTexts[index % 5]);
}

QString powerTakeOffText(const QByteArray& data) {
    return (dataByte(data, 0) & 0x01) ? QStringLiteral("PTO Active") : QStringLiteral("PTO Not Active");
}

QString supportBytesText(const QByteArray& data) {
    QStringList bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(QString::number(dataByte(data, i)));
    return bytes.join(QLatin1Char(' '));
}

std::array<bool, kOxygenSensors> oxygenSensorsPresent(const QByteArray& data) {
    const int a = dataByte(data, 0);
    std::array<bool, kOxygenSensors> present{};
    for (int i = 0; i < kOxygenSensors; ++i)
        present[size_t(i)] = a & (1 << i);
    return present;
}

QString oxygenSensorLabel(int index) {
    if (index < 0 || index >= kOxygenSensors) return QString();
    return QStringLiteral("Bank %1 - Sensor %2").arg(index / 4 + 1).arg(index % 4 + 1);
}

OxygenSensorReading oxygenSensorReading(const QByteArray& data) {
    const int a = dataByte(data, 0);
    const int b = dataByte(data, 1);
    OxygenSensorReading r;
    r.voltage = formatNumber(a * 0.005, QStringLiteral("0.000"));
    r.fuelTrim = b == 255 ? QStringLiteral("n/a")
                          : formatNumber(b * 100.0 / 128.0 - 100.0, QStringLiteral("##0.0")) + QLatin1Char('%');
    return r;
}

} // namespace zelcor
