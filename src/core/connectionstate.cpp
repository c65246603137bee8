#include "core/connectionstate.h"

#include "base/numbers.h"
#include "core/session.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace zelcor {

QString connectionStateText(const Session& session) {
    const ConnectionPanelState& state = session.connection().panel();
    const QString& detail = state.phaseDetail;
    // A replayed connection runs its course on the trace's answers; the state is the replay's.
    if (session.traceReplay().running()) {
        const QString file = QFileInfo(session.traceReplay().path()).fileName();
        return session.connection().running() ? QStringLiteral("Replaying %1").arg(file)
                                              : QStringLiteral("Replaying %1: at its end").arg(file);
    }
    switch (state.phase) {
    case ConnectionPhase::NotConnected:
        return QStringLiteral("Not connected");
    case ConnectionPhase::FindingAdapter:
        return QStringLiteral("Connecting: finding the adapter");
    case ConnectionPhase::WakingLink:
        return QStringLiteral("Connecting: waking the link");
    case ConnectionPhase::Detecting:
        return QStringLiteral("Connecting: detecting the protocol and the controllers");
    case ConnectionPhase::Connected: {
        const QString& protocol = session.detection().protocolText();
        const QString& controller = session.vehicle().generalInfo().currentAddress;
        QStringList details;
        if (!protocol.isEmpty()) details << protocol;
        if (!controller.isEmpty()) {
            const int address = int(leadingNumber(controller));
            details << QStringLiteral("controller %1 (%2)").arg(address).arg(hexByte(address));
        }
        return details.isEmpty() ? QStringLiteral("Connected")
                                 : QStringLiteral("Connected (%1)").arg(details.join(QStringLiteral(", ")));
    }
    case ConnectionPhase::Lost:
        return QStringLiteral("Connection lost: ") + detail;
    case ConnectionPhase::Waiting:
        return detail;
    case ConnectionPhase::Failed:
        return QStringLiteral("Not connected: ") + detail;
    }
    return {};
}

QString aboutText(const Session& session) {
    const QString identity = session.connection().adapterIdentity();
    return QStringList{Session::caption().simplified(),
                       QStringLiteral("OBD-II diagnostics for ELM327 adapters."),
                       QString(),
                       QStringLiteral("Version: %1").arg(QStringLiteral(ZELCOR_VERSION)),
                       QStringLiteral("Licence: proprietary; all rights reserved by the ZELCOR developers."),
                       QStringLiteral("Data folder: %1").arg(QDir::toNativeSeparators(session.programFolder())),
                       QStringLiteral("Qt version: %1").arg(QString::fromLatin1(qVersion())),
                       QStringLiteral("Adapter: %1")
                           .arg(identity.isEmpty() ? QStringLiteral("not found yet (press CONNECT)") : identity)}
        .join(QLatin1Char('\n'));
}

} // namespace zelcor
