#include "vehicle/statuspanels.h"

#include "base/format.h"
#include "base/numbers.h"

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

int replyDataByte(const QString& reply, int index) {
    return hexByteAt(reply, 11 + 2 * index);
}

QString monitorName(int index) {
    if (index < 0 || index >= kMonitorCount) return QString();
    return QString::fromLatin1(kMonitorNames[index]);
}

GeneralInfoStatus generalInfoStatus(const QString& reply) {
    const int a = replyDataByte(reply, 0);
    const int b = replyDataByte(reply, 1);
    const int c = replyDataByte(reply, 2);
    const int d = replyDataByte(reply, 3);
    GeneralInfoStatus s;
    s.mil = (a & 0x80) ? QStringLiteral("ON") : QStringLiteral("OFF");
    s.codeCount = a & 0x7F;
    addMonitors(s.continuous, b, 0, kContinuousMonitors);
    addMonitors(s.nonContinuous, c, kContinuousMonitors, 8);
    addMonitors(s.incomplete, b >> 4, 0, kContinuousMonitors);
    addMonitors(s.incomplete, d, kContinuousMonitors, 8);
    return s;
}

std::array<bool, kFuelSystemLabels> fuelSystemHighlights(const QString& reply) {
    const int a = replyDataByte(reply, 0);
    const int b = replyDataByte(reply, 1);
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

QString singleParameterTitle(int code) {
    const char* title = nullptr;
    switch (code) {
    case 4:
        title = " Calculated Load Value ";
        break;
    case 5:
        title = " Engine Coolant Temp ";
        break;
    case 6:
        title = " Short term Fuel Trim - Bank 1 ";
        break;
    case 7:
        title = " Long term Fuel Trim - Bank 1 ";
        break;
    case 8:
        title = " Short term Fuel Trim - Bank 2 ";
        break;
    case 9:
        title = " Long term Fuel Trim - Bank 2 ";
        break;
    case 10:
        title = " Fuel Pressure ";
        break;
    case 11:
        title = " Intake Manifold Absolute Pressure ";
        break;
    case 14:
        title = " Ignition Timing Advance for #1 cylinder (not including mech adv) ";
        break;
    case 15:
        title = " Intake Air Temp ";
        break;
    case 16:
        title = " Air Flow Rate from MAF sensor ";
        break;
    case 17:
        title = " Absolute Throttle Position Sensor ";
        break;
    case 18:
        title = " Commanded Secondary Air Status ";
        break;
    case 30:
        title = " Power Take-Off (PTO) Status ";
        break;
    case 32:
        title = " pids supported ";
        break;
    default:
        return QString();
    }
    return QString::fromLatin1(title);
}

QString ptoStatusText(const QString& reply) {
    return (replyDataByte(reply, 0) & 0x01) ? QStringLiteral("PTO Active") : QStringLiteral("PTO Not Active");
}

QString pidsSupportedText(const QString& reply) {
    QStringList bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(QString::number(replyDataByte(reply, i)));
    return bytes.join(QLatin1Char(' '));
}

std::array<bool, kOxygenSensors> oxygenSensorsPresent(const QString& reply) {
    const int a = replyDataByte(reply, 0);
    std::array<bool, kOxygenSensors> present{};
    for (int i = 0; i < kOxygenSensors; ++i)
        present[size_t(i)] = a & (1 << i);
    return present;
}

QString oxygenSensorLabel(int index) {
    if (index < 0 || index >= kOxygenSensors) return QString();
    return QStringLiteral("Bank %1 - Sensor %2").arg(index / 4 + 1).arg(index % 4 + 1);
}

OxygenSensorReading oxygenSensorReading(const QString& reply) {
    const int a = replyDataByte(reply, 0);
    const int b = replyDataByte(reply, 1);
    OxygenSensorReading r;
    r.voltage = formatNumber(a * 0.005, QStringLiteral("0.000"));
    r.fuelTrim = b == 255 ? QStringLiteral("n/a")
                          : formatNumber(b * 100.0 / 128.0 - 100.0, QStringLiteral("##0.0")) + QLatin1Char('%');
    return r;
}

} // namespace zelcor
