#include "instruments/accelerationtest.h"

#include "base/format.h"
#include "base/numbers.h"

#include <algorithm>

namespace zelcor {

namespace {

// An entry in the display unit as whole km/h, kept within the 0..255 range of the
// vehicle's speed byte (which also keeps absurd entries from overflowing).
int entrySpeed(const QString& text, bool usemph) {
    double v = val(text);
    if (usemph) v /= mphPerKmh;
    return int(roundHalfEven(std::clamp(v, -1.0, 256.0)));
}

} // namespace

void AccelerationTest::arm(const QString& startText, const QString& endText, bool usemph) {
    elapsedText_ = QStringLiteral("Ready");
    armed_ = true;
    running_ = false;
    startSpeed_ = std::max(entrySpeed(startText, usemph), 1);
    endSpeed_ = std::min(entrySpeed(endText, usemph), 255);
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

int engineSpeed(const QString& reply) {
    return int(roundHalfEven(double(hexval(reply.mid(10, 4))) / 4.0));
}

int vehicleSpeed(const QString& reply) {
    return hexByteAt(reply, 11);
}

int speedNeedleValue(int kmh, bool usemph) {
    return usemph ? int(roundHalfEven(kmh * mphPerKmh)) : kmh;
}

} // namespace zelcor
