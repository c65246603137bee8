#include "live/gaugescale.h"

#include "base/format.h"

#include <cmath>

namespace zelcor {

namespace {

constexpr double kOuterRadius = 0.99;
constexpr double kLabelledInner = 0.87;
constexpr double kPlainInner = 0.92;
constexpr double kLabelRadius = 0.85 * 0.87;
constexpr double kNeedleLength = 0.92;
constexpr double kBarTwipsPerPercent = 35.85;
constexpr double kTwipsPerPixel = 15;
// A dial with more ticks than this is unreadable; the limit keeps absurd scales finite.
constexpr int kMaxTicks = 2000;

GaugeScale scale(const QString& name, const char* units, double minimum, double maximum, double tick, double step,
                 int decimals) {
    return GaugeScale{name, QString::fromLatin1(units), minimum, maximum, tick, step, decimals};
}

GaugeScale scale(const char* name, const char* units, double minimum, double maximum, double tick, double step,
                 int decimals) {
    return scale(QString::fromLatin1(name), units, minimum, maximum, tick, step, decimals);
}

GaugeScale percent(const char* name) {
    return scale(name, "%", 0, 100, 5, 10, 0);
}
GaugeScale trim(const char* name) {
    return scale(name, "%", -100, 100, 10, 20, 0);
}

// Pressure dials: psi/inHg with fine ticks, kPa with coarse ones.
GaugeScale pressure(const char* name, bool psi, const char* psiUnits, double psiMax, double kpaMax) {
    return psi ? scale(name, psiUnits, 0, psiMax, 2, 10, 0) : scale(name, "kPaG", 0, kpaMax, 10, 50, 0);
}

// A tick is labelled when its value is a whole multiple of the label step.
bool isLabelled(double v, double step) {
    if (!(step > 0)) return false;
    const double q = v / step;
    return std::fabs(q - std::floor(q + 0.00001)) < 0.1;
}

} // namespace

std::optional<GaugeScale> gaugeScale(int code, const Settings& settings) {
    const bool f = settings.usedegf;
    const bool psi = settings.usepsi;
    switch (code) {
    case 999:
        return scale("Fuel Economy", "MPG", 0, 60, 5, 10, 0);
    case 998:
        return scale("HP (experimental)", "HP", 0, 400, 10, 50, 0);
    case 997:
        return scale("Torque (experimental)", "FtLb", 0, 400, 10, 50, 0);
    case 4:
        return percent("Calculated Load");
    case 5:
        return scale("Engine Coolant Temp", f ? "deg F" : "deg C", -40, f ? 310 : 215, 5, 20, 0);
    case 6:
        return trim("Short Term Fuel Trim Bank 1");
    case 7:
        return trim("Long Term Fuel Trim Bank 1");
    case 8:
        return trim("Short Term Fuel Trim Bank 2");
    case 9:
        return trim("Long Term Fuel Trim Bank 2");
    case 10:
        return pressure("Fuel Pressure", psi, "psiG", 111, 765);
    case 11:
        return pressure("Manifold Pressure", psi, "inHg", 75, 255);
    case 12:
        return scale("RPM", "x10/min", 0, 100, 2, 10, 0);
    case 13:
        return settings.usemph ? scale("Speed", "MPH", 0, 158.5, 5, 10, 0) : scale("Speed", "km/h", 0, 255, 5, 20, 0);
    case 14:
        return scale("Timing Advance", "deg", -64, 63.5, 2, 10, 0);
    case 15:
        return scale("Intake Air Temp", f ? "deg F" : "deg C", -40, f ? 200 : 215, 5, 20, 0);
    case 16:
        return settings.uselbmin ? scale("MAF Air Flow", "lb/min", 0, 86.7 / 2, 2, 10, 0)
                                 : scale("MAF Air Flow", "gm/sec", 0, 655.35 / 2, 10, 50, 0);
    case 17:
        return percent("Throttle Position");
    case 35:
        return pressure("Fuel Pres Diesel", psi, "psiG", 111, 765);
    case 44:
        return percent("Commanded EGR");
    case 45:
        return trim("EGR Error");
    case 46:
        return percent("Commanded Evap Purge");
    case 47:
        return percent("Fuel Level Input");
    default:
        break;
    }
    if (code >= 20 && code <= 27) {
        const int sensor = code - 20;
        const QString name = QStringLiteral("O2S Voltage\nBank %1 Sensor %2").arg(sensor / 4 + 1).arg(sensor % 4 + 1);
        return scale(name, "V", 0, 1.275, 0.05, 0.1, 1);
    }
    if ((code >= 36 && code <= 43) || (code >= 52 && code <= 59)) {
        const int sensor = code <= 43 ? code - 35 : code - 51;
        return scale(QStringLiteral("Wideband\nO2S%1 Lambda").arg(sensor), "-", 0, 2, 0.1, 0.2, 1);
    }
    return std::nullopt;
}

GaugeDial gaugeDial(const GaugeScale& s, double radius, bool large) {
    GaugeDial g;
    g.needleLength = kNeedleLength * radius;
    const double span = s.maximum - s.minimum;
    if (!(s.tick > 0) || !(span > 0)) return g;
    // Count the ticks as whole numbers: stepping the angle by a fraction would lose or
    // gain the last tick to rounding (0..60 by 5 has exactly 13).
    const double intervals = span / s.tick;
    const int count = intervals >= kMaxTicks ? kMaxTicks : int(std::floor(intervals + 1e-9)) + 1;
    const QString pattern = s.decimals != 0 ? QStringLiteral("#0.0") : QStringLiteral("0");
    for (int k = 0; k < count; ++k) {
        const double angle = kGaugeSweep * k / intervals + kGaugeStartAngle;
        const double v = s.minimum + k * s.tick;
        if (isLabelled(v, s.step)) {
            g.ticks.push_back(GaugeTick{angle, kLabelledInner * radius, kOuterRadius * radius, 3});
            if (int(g.labels.size()) < kMaxGaugeLabels)
                g.labels.push_back(GaugeLabel{formatNumber(v, pattern), angle, kLabelRadius * radius, large ? 14 : 10});
        } else {
            g.ticks.push_back(GaugeTick{angle, kPlainInner * radius, kOuterRadius * radius, 1});
        }
    }
    return g;
}

double gaugeAngle(double percent) {
    return percent / 20.0 + kGaugeStartAngle;
}

QPointF gaugePoint(QPointF centre, double radius, double angle) {
    return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

QPointF gaugeNeedleEnd(QPointF centre, double length, double percent) {
    return gaugePoint(centre, length, gaugeAngle(percent));
}

double barWidthTwips(double percent) {
    return percent > 0 ? percent * kBarTwipsPerPercent : 0.0;
}

double barWidthPixels(double percent) {
    return barWidthTwips(percent) / kTwipsPerPixel;
}

QString digitalText(double x, std::optional<int> decplaces) {
    const int d = decplaces.value_or(0);
    return formatNumber(x, d >= 1 && d <= 5 ? zerosPattern(d) : QStringLiteral("0"));
}

} // namespace zelcor
