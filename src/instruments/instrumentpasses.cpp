// The engine-speed and speed panels' passes, their needles and the acceleration test's
// Reset/Arm.

#include "base/format.h"
#include "core/session.h"

namespace zelcor {

void Session::rpmPass() {
    QString reply;
    if (!exchangeOn(Panel::D012, QStringLiteral("010C"), reply) || !replyMatches(reply, QStringLiteral("410C"))) return;
    RPM(engineSpeed(reply));
}

void Session::speedPass() {
    QString reply;
    if (!exchangeOn(Panel::D013, QStringLiteral("010D"), reply) || !replyMatches(reply, QStringLiteral("410D"))) return;
    const int kmh = vehicleSpeed(reply);
    instruments.test.sample(kmh, clock.now());
    const int shown = speedNeedleValue(kmh, settings.usemph);
    if (settings.usemph)
        MPH(shown);
    else
        KPH(shown);
}

void Session::MPH(double x) {
    instruments.speedUnit = DialUnit::MPH;
    instruments.speedValue = x;
    instruments.speedReadout = generalNumber(x);
    emit panelChanged(Panel::D013);
}

void Session::KPH(double x) {
    instruments.speedUnit = DialUnit::KPH;
    instruments.speedValue = x;
    instruments.speedReadout = generalNumber(x);
    emit panelChanged(Panel::D013);
}

void Session::RPM(double x) {
    instruments.rpmValue = x;
    instruments.rpmReadout = generalNumber(x);
    emit panelChanged(Panel::D012);
}

void Session::Command10_Click() {
    instruments.test.arm(instruments.startText, instruments.endText, settings.usemph);
    emit panelChanged(Panel::D013);
}

} // namespace zelcor
