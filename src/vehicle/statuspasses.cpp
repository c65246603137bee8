// The passes of the General Info and status panels: one request (or a few, for the
// oxygen sensors) per pass; a reply that does not match leaves the panel as it was.

#include "base/numbers.h"
#include "core/session.h"
#include "vehicle/decodepid.h"
#include "vehicle/statuspanels.h"

namespace zelcor {

void Session::generalInfoPass() {
    QString reply;
    if (!exchangeOn(Panel::D0101, QStringLiteral("0101"), reply) || !replyMatches(reply, QStringLiteral("4101")))
        return;
    const GeneralInfoStatus status = generalInfoStatus(reply);
    generalInfo.mil = status.mil;
    generalInfo.codeCount = QString::number(status.codeCount);
    generalInfo.continuous = status.continuous;
    generalInfo.nonContinuous = status.nonContinuous;
    generalInfo.incomplete = status.incomplete;
    emit panelChanged(Panel::D0101);
}

void Session::fuelSystemPass() {
    QString reply;
    if (!exchangeOn(Panel::D0103, QStringLiteral("0103"), reply) || !replyMatches(reply, QStringLiteral("4103")))
        return;
    fuelSystems.highlighted = fuelSystemHighlights(reply);
    emit panelChanged(Panel::D0103);
}

void Session::textPass(int code) {
    FRAME(Panel::D0104);
    textPanel.caption = singleParameterTitle(code);
    emit panelChanged(Panel::D0104);
    if (stopflag)
        return;
    send(QStringLiteral("01") + hex2(code));
    if (stopflag)
        return;
    const QString reply = receive();
    PidOutputs outputs;
    textPanel.value = decodepid(code, reply, ecuaddr, settings, outputs);
    emit panelChanged(Panel::D0104);
}

void Session::ptoPass() {
    FRAME(Panel::D0104);
    textPanel.caption = singleParameterTitle(30);
    emit panelChanged(Panel::D0104);
    QString reply;
    if (!exchangeOn(Panel::D0104, QStringLiteral("011E"), reply) || !replyMatches(reply, QStringLiteral("411E")))
        return;
    textPanel.value = ptoStatusText(reply);
    emit panelChanged(Panel::D0104);
}

void Session::pidsSupportedPass() {
    FRAME(Panel::D0104);
    textPanel.caption = singleParameterTitle(32);
    emit panelChanged(Panel::D0104);
    QString reply;
    if (!exchangeOn(Panel::D0104, QStringLiteral("0120"), reply) || !replyMatches(reply, QStringLiteral("4120")))
        return;
    textPanel.value = pidsSupportedText(reply);
    emit panelChanged(Panel::D0104);
}

void Session::oxygenPass() {
    QString reply;
    if (!exchangeOn(Panel::D0113, QStringLiteral("0113"), reply))
        return;
    if (replyMatches(reply, QStringLiteral("4113"))) {
        const auto present = oxygenSensorsPresent(reply);
        for (int i = 0; i < kOxygenSensors; ++i)
            oxygen.present[i] = present[i];
        emit panelChanged(Panel::D0113);
    }
    for (int i = 0; i < kOxygenSensors; ++i) {
        if (funccode != 19 || stopflag)
            break;
        if (!oxygen.present[i] || needinit)
            continue;
        const QString head = QStringLiteral("41") + hex2(0x14 + i);
        send(QStringLiteral("01") + hex2(0x14 + i));
        const QString sensor = receive();
        if (replyMatches(sensor, head)) {
            const OxygenSensorReading reading = oxygenSensorReading(sensor);
            oxygen.voltage[i] = reading.voltage;
            oxygen.fuelTrim[i] = reading.fuelTrim;
            emit panelChanged(Panel::D0113);
        }
    }
}

} // namespace zelcor
