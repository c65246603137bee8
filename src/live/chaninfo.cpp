#include "live/chaninfo.h"

#include <optional>

namespace zelcor {

namespace {

ChannelInfo row(const QString& name, const char* units, double minimum, double maximum, double tick, double step,
                int decimals) {
    return ChannelInfo{name, QString::fromLatin1(units), minimum, maximum, tick, step, decimals};
}

ChannelInfo row(const char* name, const char* units, double minimum, double maximum, double tick, double step,
                int decimals) {
    return row(QString::fromLatin1(name), units, minimum, maximum, tick, step, decimals);
}

QString o2VoltageName(int code) {
    const int sensor = code - 20; // 0..7
    return QStringLiteral("O2S Voltage\r\nBank %1 Sensor %2").arg(sensor / 4 + 1).arg(sensor % 4 + 1);
}

QString widebandName(int sensor) {
    return QStringLiteral("Wideband O2S%1 Lambda").arg(sensor);
}

std::optional<ChannelInfo> channelRow(int code, const Settings& settings) {
    const bool f = settings.usedegf;
    const bool psi = settings.usepsi;
    switch (code) {
    case 999:
        return row("Fuel Economy", "MPG", 0, 60, 5, 10, 1);
    case 998:
        return row("HP (experimental)", "HP", 0, 400, 10, 50, 0);
    case 997:
        return row("Torque (experimental)", "FtLb", 0, 400, 10, 50, 0);
    case 3:
        return row("Fuel System Status", "", 0, 16, 1, 1, -1);
    case 4:
        return row("Calculated Load", "%", 0, 100, 5, 10, 1);
    case 5:
        return row("Engine Coolant Temp", f ? "deg F" : "deg C", -40, f ? 310 : 215, 5, 20, 1);
    case 6:
        return row("Short Term Fuel Trim Bank 1", "%", -100, 100, 10, 20, 1);
    case 7:
        return row("Long Term Fuel Trim Bank 1", "%", -100, 100, 10, 20, 1);
    case 8:
        return row("Short Term Fuel Trim Bank 2", "%", -100, 100, 10, 20, 1);
    case 9:
        return row("Long Term Fuel Trim Bank 2", "%", -100, 100, 10, 20, 1);
    case 10:
        return psi ? row("Fuel Pressure", "psiG", 0, 111, 2, 10, 1) : row("Fuel Pressure", "kPaG", 0, 765, 10, 50, 0);
    case 11:
        return psi ? row("Intake Manifold Pres", "inHg", 0, 75, 2, 10, 1)
                   : row("Intake Manifold Pres", "kPaG", 0, 255, 10, 50, 0);
    case 12:
        return row("RPM", "1/min", 0, 8000, 2, 10, 0);
    case 13:
        return settings.usemph ? row("Speed", "MPH", 0, 158.5, 5, 10, 0) : row("Speed", "km/h", 0, 255, 5, 20, 0);
    case 14:
        return row("Timing Advance", "deg", -64, 63.5, 2, 10, 1);
    case 15:
        return row("Intake Air Temp", f ? "deg F" : "deg C", -40, f ? 200 : 215, 5, 20, 1);
    case 16:
        return settings.uselbmin ? row("MAF Air Flow", "lb/min", 0, 86.7 / 2, 2, 10, 2)
                                 : row("MAF Air Flow", "gm/sec", 0, 655.35 / 2, 10, 50, 2);
    case 17:
        return row("Throttle Position", "%", 0, 100, 5, 10, 1);
    case 33:
        return row("Dist with MIL", "km", 0, 0, 5, 10, 0);
    case 44:
        return row("Commanded EGR", "%", 0, 100, 5, 10, 0);
    case 45:
        return row("EGR Error", "%", -100, 100, 5, 10, 0);
    case 46:
        return row("Commanded EVAP", "%", 0, 100, 5, 10, 0);
    case 47:
        return row("Fuel level", "%", 0, 100, 5, 10, 0);
    case 48:
        return row("Warmups since code clear", "#", 0, 0, 5, 10, 0);
    case 49:
        return row("Dist since code clear", "km", 0, 0, 5, 10, 0);
    case 51:
        return row("Baro press", "inHg", 0, 0, 5, 10, 0);
    default:
        break;
    }
    if (code >= 20 && code <= 27) return row(o2VoltageName(code), "V", 0, 1.275, 0.05, 0.1, 1);
    if ((code >= 36 && code <= 43) || (code >= 52 && code <= 59))
        return row(widebandName(code <= 43 ? code - 35 : code - 51), "-", 0, 2, 0.05, 0.1, 3);
    if (code >= 28 && code <= 63) // the remaining mode 01 codes: a plain percent scale
        return row("", "%", 0, 100, 5, 10, 0);
    return std::nullopt;
}

} // namespace

bool chaninfo(int code, const Settings& settings, ChannelInfo& info) {
    const std::optional<ChannelInfo> found = channelRow(code, settings);
    if (!found) return false;
    info = *found;
    return true;
}

} // namespace zelcor
