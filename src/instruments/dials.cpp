#include "instruments/dials.h"

#include <cmath>

namespace zelcor {

namespace {

constexpr double sweep = 5.0;      // radians from 0 to full scale
constexpr double zeroAngle = 4.07; // the scale starts at -4.07 radians

// Tick steps of a scale: one per km/h, per mph, per 200 rpm.
int stepCount(DialUnit unit) {
    switch (unit) {
    case DialUnit::MPH:
        return 140;
    case DialUnit::KPH:
        return 230;
    case DialUnit::RPM:
        return 50;
    }
    return 0;
}

DialTick tick(double angle, double radius, double innerShare, int width) {
    return {angle, innerShare * radius, 0.99 * radius, width};
}

} // namespace

double fullScale(DialUnit unit) {
    switch (unit) {
    case DialUnit::MPH:
        return 140.0;
    case DialUnit::KPH:
        return 230.0;
    case DialUnit::RPM:
        return 10000.0;
    }
    return 1.0;
}

double needleAngle(DialUnit unit, double x) {
    return sweep * x / fullScale(unit) - zeroAngle;
}

QPointF needleEnd(QPointF pivot, double length, double angle) {
    return {pivot.x() + length * std::cos(angle), pivot.y() + length * std::sin(angle)};
}

DialLayout dialLayout(DialUnit unit, QPointF centre, double width) {
    const double radius = width / 2.0;
    const double labelRadius = 0.87 * radius;
    const int steps = stepCount(unit);

    DialLayout dial;
    dial.unitCaption = unit == DialUnit::MPH   ? QStringLiteral("MPH")
                       : unit == DialUnit::KPH ? QStringLiteral("km/h")
                                               : QStringLiteral("RPM");
    dial.needleLength = 0.92 * radius;

    // Counting whole steps keeps the last tick exactly at full scale.
    for (int k = 0; k <= steps; ++k) {
        const double angle = sweep * k / steps - zeroAngle;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        switch (unit) {
        case DialUnit::KPH:
            dial.ticks.append(k % 10 == 0 ? tick(angle, radius, 0.87, 3) : tick(angle, radius, 0.94, 1));
            if (k % 20 == 0)
                dial.labels.append({k / 20, QString::number(k), 12, centre.x() + 0.88 * labelRadius * c,
                                    centre.y() + 0.9 * labelRadius * s, 1.0 / 1.5});
            break;
        case DialUnit::MPH:
            if (k % 10 == 0) {
                dial.ticks.append(tick(angle, radius, 0.87, 3));
                dial.labels.append({k / 10, QString::number(k), 14, centre.x() + 0.87 * labelRadius * c,
                                    centre.y() + 0.87 * labelRadius * s, 1.0});
            } else {
                dial.ticks.append(k % 5 == 0 ? tick(angle, radius, 0.91, 2) : tick(angle, radius, 0.94, 1));
            }
            break;
        case DialUnit::RPM:
            if (k % 5 == 0) {
                dial.ticks.append(tick(angle, radius, 0.87, 3));
                dial.labels.append({k / 5, QString::number(k / 5), 14, centre.x() + 0.87 * labelRadius * c,
                                    centre.y() + 0.87 * labelRadius * s, 1.0});
            } else {
                dial.ticks.append(tick(angle, radius, 0.94, 1));
            }
            break;
        }
    }
    return dial;
}

} // namespace zelcor
