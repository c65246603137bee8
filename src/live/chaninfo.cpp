#include "live/chaninfo.h"

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

} // namespace

bool chaninfo(int code, const Settings& settings, ChannelInfo& info) {
    const bool f = settings.usedegf;
    const bool psi = settings.usepsi;
    switch (code) {
    case 999:
        info = row("Fuel Economy", "MPG", 0, 60, 5, 10, 1);
        return true;
    case 998:
        info = row("HP (experimental)", "HP", 0, 400, 10, 50, 0);
        return true;
    case 997:
        info = row("Torque (experimental)", "FtLb", 0, 400, 10, 50, 0);
        return true;
    case 3:
        info = row("Fuel System Status", "", 0, 16, 1, 1, -1);
        return true;
    case 4:
        info = row("Calculated Load", "%", 0, 100, 5, 10, 1);
        return true;
    case 5:
        info = row("Engine Coolant Temp", f ? "deg F" : "deg C", -40, f ? 310 : 215, 5, 20, 1);
        return true;
    case 6:
        info = row("Short Term Fuel Trim Bank 1", "%", -100, 100, 10, 20, 1);
        return true;
    case 7:
        info = row("Long Term Fuel Trim Bank 1", "%", -100, 100, 10, 20, 1);
        return true;
    case 8:
        info = row("Short Term Fuel Trim Bank 2", "%", -100, 100, 10, 20, 1);
        return true;
    case 9:
        info = row("Long Term Fuel Trim Bank 2", "%", -100, 100, 10, 20, 1);
        return true;
    case 10:
        info = psi ? row("Fuel Pressure", "psiG", 0, 111, 2, 10, 1) : row("Fuel Pressure", "kPaG", 0, 765, 10, 50, 0);
        return true;
    case 11:
        info = psi ? row("Intake Manifold Pres", "inHg", 0, 75, 2, 10, 1)
                   : row("Intake Manifold Pres", "kPaG", 0, 255, 10, 50, 0);
        return true;
    case 12:
        info = row("RPM", "1/min", 0, 8000, 2, 10, 0);
        return true;
    case 13:
        info = settings.usemph ? row("Speed", "MPH", 0, 158.5, 5, 10, 0) : row("Speed", "km/h", 0, 255, 5, 20, 0);
        return true;
    case 14:
        info = row("Timing Advance", "deg", -64, 63.5, 2, 10, 1);
        return true;
    case 15:
        info = row("Intake Air Temp", f ? "deg F" : "deg C", -40, f ? 200 : 215, 5, 20, 1);
        return true;
    case 16:
        info = settings.uselbmin ? row("MAF Air Flow", "lb/min", 0, 86.7 / 2, 2, 10, 2)
                                 : row("MAF Air Flow", "gm/sec", 0, 655.35 / 2, 10, 50, 2);
        return true;
    case 17:
        info = row("Throttle Position", "%", 0, 100, 5, 10, 1);
        return true;
    case 33:
        info = row("Dist with MIL", "km", 0, 0, 5, 10, 0);
        return true;
    case 44:
        info = row("Commanded EGR", "%", 0, 100, 5, 10, 0);
        return true;
    case 45:
        info = row("EGR Error", "%", -100, 100, 5, 10, 0);
        return true;
    case 46:
        info = row("Commanded EVAP", "%", 0, 100, 5, 10, 0);
        return true;
    case 47:
        info = row("Fuel level", "%", 0, 100, 5, 10, 0);
        return true;
    case 48:
        info = row("Warmups since code clear", "#", 0, 0, 5, 10, 0);
        return true;
    case 49:
        info = row("Dist since code clear", "km", 0, 0, 5, 10, 0);
        return true;
    case 51:
        info = row("Baro press", "inHg", 0, 0, 5, 10, 0);
        return true;
    default:
        break;
    }
    if (code >= 20 && code <= 27) {
        info = row(o2VoltageName(code), "V", 0, 1.275, 0.05, 0.1, 1);
        return true;
    }
    if ((code >= 36 && code <= 43) || (code >= 52 && code <= 59)) {
        info = row(widebandName(code <= 43 ? code - 35 : code - 51), "-", 0, 2, 0.05, 0.1, 3);
        return true;
    }
    if (code >= 28 && code <= 63) {
        info = row("", "%", 0, 100, 5, 10, 0);
        return true;
    }
    return false;
}

} // namespace zelcor
