#include "live/derived.h"

#include "base/format.h"
#include "base/numbers.h"

#include <cmath>
#include <limits>

namespace zelcor {

namespace {

// Speed times K over air flow in lb/min gives miles per gallon.
constexpr double kFuelFactor = 13.0 / 14.0 * 1.538916;
// Grams per second to pounds per minute.
constexpr double kGramsToPounds = 0.132277;
// Energy constant of the power formula (pounds, speed squared per second, to HP).
constexpr double kPowerConstant = 16363.636;
constexpr double kTorqueConstant = 5252;

constexpr double kFuelEconomyFullScale = 60;
constexpr double kPowerFullScale = 400;

// Power from the change of speed between the oldest and newest history entry, before
// rounding; none when the history spans no time.
std::optional<double> rawPower(const LiveHistory& h, double weight) {
    const double v0 = h.speeds.at(0);
    const double v4 = h.speeds.at(4);
    const double span = h.speedTimes.at(0) - h.speedTimes.at(4);
    if (!(span > 0)) return std::nullopt;
    return weight * (v0 * v0 - v4 * v4) / (span * kPowerConstant);
}

// The shown values are single precision; slowing down (or anything not a number) shows 0.
double shown(double x) {
    if (!(x >= 0) || !std::isfinite(x)) return 0;
    return x > std::numeric_limits<float>::max() ? double(std::numeric_limits<float>::max()) : double(float(x));
}

double power(const LiveHistory& h, double weight) {
    return shown(rawPower(h, weight).value_or(0));
}

double torque(const LiveHistory& h, double weight) {
    const double rpmSum = h.engineSpeeds.at(0) + h.engineSpeeds.at(4);
    const std::optional<double> p = rawPower(h, weight);
    if (!(rpmSum > 0) || !p) return 0;
    return shown(kTorqueConstant / (rpmSum / 2) * *p);
}

DerivedRow withFeed(const QString& text, double fullScale, int decimals) {
    const double value = leadingNumber(text);
    return DerivedRow{text, GaugeFeed{value / fullScale * 100, value, decimals}};
}

DerivedRow hint(const char* text) {
    return DerivedRow{QString::fromLatin1(text), std::nullopt};
}

} // namespace

void History::push(double value) {
    for (int i = kSize - 1; i > 0; --i)
        entries_[size_t(i)] = entries_[size_t(i - 1)];
    entries_[0] = value;
}

double History::at(int i) const {
    if (i < 0 || i >= kSize) return 0;
    return entries_[size_t(i)].value_or(0);
}

bool History::isEmpty(int i) const {
    return i < 0 || i >= kSize || !entries_[size_t(i)].has_value();
}

void LiveHistory::pushSpeed(double speed, double time) {
    speeds.push(speed);
    speedTimes.push(time);
}

QString fuelEconomyText(const LiveHistory& history, bool poundsPerMinute) {
    if (history.latestAirFlow == 0) return QStringLiteral("0");
    double f = history.speeds.at(0) * kFuelFactor / history.latestAirFlow;
    if (!poundsPerMinute) f /= kGramsToPounds;
    return formatNumber(f, QStringLiteral("#.0#"));
}

QString horsepowerText(const LiveHistory& history, double weight) {
    return formatNumber(power(history, weight), QStringLiteral("##0"));
}

QString torqueText(const LiveHistory& history, double weight) {
    return formatNumber(torque(history, weight), QStringLiteral("##0"));
}

DerivedRow fuelEconomyRow(const LiveHistory& history, const SeenFlags& seen, bool poundsPerMinute) {
    if (!(seen.airFlowSeen && seen.speedSeen)) return hint("Enable Speed and MAF above for MPG");
    return withFeed(fuelEconomyText(history, poundsPerMinute), kFuelEconomyFullScale, 2);
}

DerivedRow horsepowerRow(const LiveHistory& history, const SeenFlags& seen, double weight) {
    if (!seen.speedSeen) return hint("Enable Speed above to view HP");
    return withFeed(horsepowerText(history, weight), kPowerFullScale, 0);
}

DerivedRow torqueRow(const LiveHistory& history, const SeenFlags& seen, double weight) {
    if (!(seen.speedSeen && seen.engineSpeedSeen)) return hint("Enable Speed and RPM above for Torque");
    return withFeed(torqueText(history, weight), kPowerFullScale, 0);
}

DerivedRow derivedRow(int code, const LiveHistory& history, const SeenFlags& seen, const Settings& settings) {
    switch (code) {
    case kFuelEconomyCode:
        return fuelEconomyRow(history, seen, settings.poundsPerMinute);
    case kHorsepowerCode:
        return horsepowerRow(history, seen, settings.vehicleWeight);
    case kTorqueCode:
        return torqueRow(history, seen, settings.vehicleWeight);
    default:
        return DerivedRow{};
    }
}

} // namespace zelcor
