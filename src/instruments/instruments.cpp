#include "instruments/instruments.h"

#include "base/format.h"
#include "base/numbers.h"
#include "obd/parameters.h"

namespace zelcor {

std::optional<Reply> Instruments::ask(PassContext& pass, int pid) {
    if (pass.stopRequested()) return std::nullopt;
    if (FastPolling* polling = pass.fastPolling()) {
        const Reply reply = polling->request({pid}).value(0);
        if (!reply.answers(0x01, pid)) return std::nullopt;
        return reply;
    }
    pass.exchange().send(QStringLiteral("01") + hexByte(pid));
    if (pass.stopRequested()) return std::nullopt;
    const Reply reply = pass.exchange().receive();
    if (!reply.answers(0x01, pid)) return std::nullopt;
    return reply;
}

void Instruments::readEngineSpeed(PassContext& pass) {
    if (const auto reply = ask(pass, pid::engineSpeed)) showEngineSpeed(engineSpeed(reply->data));
}

void Instruments::readVehicleSpeed(PassContext& pass) {
    const auto reply = ask(pass, pid::vehicleSpeed);
    if (!reply) return;
    const int kmh = vehicleSpeed(reply->data);
    panels_.test.sample(kmh, pass.clock().now());
    const bool mph = pass.settings().milesPerHour;
    showSpeed(speedNeedleValue(kmh, mph), mph ? DialUnit::MPH : DialUnit::KPH);
}

void Instruments::showSpeed(double value, DialUnit unit) {
    panels_.speedUnit = unit;
    panels_.speedValue = value;
    panels_.speedReadout = generalNumber(value);
    emit speedChanged();
}

void Instruments::showEngineSpeed(double rpm) {
    panels_.engineSpeedValue = rpm;
    panels_.engineSpeedReadout = generalNumber(rpm);
    emit engineSpeedChanged();
}

void Instruments::arm(bool milesPerHour) {
    panels_.test.arm(panels_.startText, panels_.endText, milesPerHour);
    emit speedChanged();
}

} // namespace zelcor
