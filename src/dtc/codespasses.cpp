// The trouble code, erase and freeze frame passes.

#include "core/session.h"
#include "dtc/dtcreply.h"
#include "vehicle/decodepid.h"
#include "vehicle/pidnames.h"

namespace zelcor {

// Stored codes (service 03), then pending codes (service 07) of every controller that
// answers; a one-shot function that moves on to the keep-alive.
void Session::codesPass() {
    FRAME(Panel::D03);
    if (stopflag) return;
    // Erasing and saving must not start on half-filled lists.
    dtc.eraseEnabled = false;
    dtc.saveEnabled = false;
    List5 = QStringList{readingItem};
    List6 = QStringList{readingItem};
    dtc.storedIndex = -1;
    dtc.pendingIndex = -1;
    emit panelChanged(Panel::D03);

    for (int service = 3; service <= 7; service += 4) {
        send(QStringLiteral("0%1").arg(service));
        const QString reply = ReceiveMulti();
        if (service == 3) host.setClipboardText(reply);
        (service == 3 ? List5 : List6) = troubleCodeList(reply, hdrformat, service);
        emit panelChanged(Panel::D03);
    }

    if (funccode == 254) funccode = 255;
    dtc.eraseEnabled = true;
    dtc.saveEnabled = true;
    emit panelChanged(Panel::D03);
}

// Clears the codes (service 04); the reply is not examined, the codes read next show
// what is left.
void Session::erasePass() {
    if (stopflag) return;
    send(QStringLiteral("04"));
    ReceiveMulti();
    funccode = 254;
}

// Frame 0 of the selected controller's freeze frame, one request per stored parameter.
void Session::freezeFramePass() {
    FRAME(Panel::D0200);
    if (stopflag) return;
    FreezeFrameServices services;
    services.pidname = [](int pid) { return pidname(pid); };
    services.decodepid = [this](int pid, const QString& line) {
        PidOutputs outputs;
        return decodepid(pid, line, ecuaddr, settings, outputs);
    };
    services.explaincode = [this](const QString& code) { return explainCode(code); };

    freeze.clear();
    emit panelChanged(Panel::D0200);
    FreezeFrameReader reader(freeze, services);
    send(freezeFrameBitmapRequest);
    if (reader.start(receive(), ecuaddr)) {
        for (QString request = reader.nextRequest(); !request.isEmpty(); request = reader.nextRequest()) {
            // A stop ends the read without further requests; the rows read so far stay.
            if (stopflag) break;
            send(request);
            reader.takeReply(receive());
            emit panelChanged(Panel::D0200);
        }
    }
    funccode = 255;
    emit panelChanged(Panel::D0200);
}

} // namespace zelcor
