#include "core/connectionstate.h"

#include "base/numbers.h"
#include "core/session.h"

#include <QDir>
#include <QtGlobal>

namespace zelcor {

QString connectionStateText(const Session& session) {
    const Connection& connection = session.connection();
    if (!connection.running()) {
        const QString& cause = connection.failureCause();
        if (connection.lastError() != ConnectionError::None && !cause.isEmpty())
            return QStringLiteral("Not connected: ") + cause;
        return QStringLiteral("Not connected");
    }
    switch (connection.panel().lamp) {
    case Lamp::Green: {
        const QString& protocol = session.detection().protocolText();
        const QString& controller = session.vehicle().generalInfo().currentAddress;
        QStringList details;
        if (!protocol.isEmpty()) details << protocol;
        if (!controller.isEmpty())
            details << QStringLiteral("controller %1").arg(hexByte(int(leadingNumber(controller))));
        return details.isEmpty() ? QStringLiteral("Connected")
                                 : QStringLiteral("Connected (%1)").arg(details.join(QStringLiteral(", ")));
    }
    case Lamp::Black:
        return QStringLiteral("Connecting: finding the adapter");
    case Lamp::Yellow:
        return QStringLiteral("Connecting: waking the link");
    case Lamp::Red:
        break;
    }
    return QStringLiteral("Connecting: the vehicle does not answer yet");
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
