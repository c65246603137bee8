#include "instruments/accelerationtest.h"

#include "base/format.h"
#include "base/numbers.h"
#include "obd/parameters.h"

#include <algorithm>

namespace zelcor {

namespace {

// An entry in the display unit as whole km/h, kept within the 0..255 range of the
// vehicle's speed byte (which also keeps absurd entries from overflowing).
int entrySpeed(const QString& text, bool milesPerHour) {
    double v = leadingNumber(text);
    if (milesPerHour) v /= mphPerKmh;
    return int(roundHalfEven(std::clamp(v, -1.0, 256.0)));
}

} // namespace

void AccelerationTest::arm(const QString& startText, const QString& endText, bool milesPerHour) {
    elapsedText_ = QStringLiteral("Ready");
    armed_ = true;
    running_ = false;
    startSpeed_ = std::max(entrySpeed(startText, milesPerHour), 1);
    endSpeed_ = std::min(entrySpeed(endText, milesPerHour), 255);
}

void AccelerationTest::sample(int kmh, double now) {
    if (armed_ && kmh >= startSpeed_) {
        startTime_ = now;
        lastTime_ = now;
        armed_ = false;
        running_ = true;
    }
    if (!running_) return;
    elapsedText_ = formatNumber(now - startTime_, QStringLiteral("#0.0"));
    if (kmh < endSpeed_) {
        lastTime_ = now;
    } else {
        spreadText_ = formatNumber(now - lastTime_, QStringLiteral("0.0"));
        running_ = false;
    }
}

int engineSpeed(const QByteArray& data) {
    return int(roundHalfEven((dataByte(data, 0) * 256 + dataByte(data, 1)) / 4.0));
}

int vehicleSpeed(const QByteArray& data) {
    return dataByte(data, 0);
}

int speedNeedleValue(int kmh, bool milesPerHour) {
    return milesPerHour ? int(roundHalfEven(kmh * mphPerKmh)) : kmh;
}

} // namespace zelcor
