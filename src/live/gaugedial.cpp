#include "live/gaugedial.h"

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

// A tick is labelled when its value is a whole multiple of the label step.
bool isLabelled(double v, double step) {
    if (!(step > 0)) return false;
    const double q = v / step;
    return std::fabs(q - std::floor(q + 0.00001)) < 0.1;
}

} // namespace

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

QString digitalText(double x, std::optional<int> decimals) {
    const int d = decimals.value_or(0);
    return formatNumber(x, d >= 1 && d <= 5 ? zerosPattern(d) : QStringLiteral("0"));
}

} // namespace zelcor
