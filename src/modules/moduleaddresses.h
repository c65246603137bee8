#pragma once
// The addresses at which the whole-car scan looks for modules: one table of request and
// reply identifiers on 11-bit and 29-bit CAN.

#include "link/reply.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zelcor {

struct ModuleAddress {
    quint32 request = 0; // the identifier requests go to
    quint32 reply = 0;   // the identifier the module answers from
    bool extended = false;
    // The reply is not at request + 8 on 11-bit CAN: the adapter must be told where its flow
    // control frames go, or replies longer than one frame stop after the first.
    bool ownFlowControl = false;

    // "7E0", "18DA28F1"
    QString requestText() const;
    // "7E8", "18DAF128"
    QString replyText() const;
    // As lists show it: "7E0/7E8", "18DA28F1/18DAF128".
    QString label() const;
    // The adapter's header command for the request identifier: "ATSH7E0", "ATSHDA28F1".
    QString headerCommand() const;
    // The adapter's receive filter for the reply identifier: "ATCRA7E8", "ATCRA18DAF128".
    QString filterCommand() const;
    // For a reply elsewhere than at request + 8: the commands that send the adapter's flow
    // control frames to the request identifier ("ATFCSH714", its data, its mode). Else none.
    QStringList flowControlCommands() const;

    bool operator==(const ModuleAddress&) const = default;
};

// The candidates for a bus whose replies the adapter prints in `layout` (none for the legacy
// buses, where modules are not reached this way), in the order they are asked.
const QList<ModuleAddress>& candidateAddresses(HeaderLayout layout);

// Back to the adapter's own flow control after flowControlCommands().
inline const QString automaticFlowControlCommand = QStringLiteral("ATFCSM0");

// The header and filter commands that send requests to every emission-related controller again.
QStringList functionalAddressCommands(HeaderLayout layout);

} // namespace zelcor
