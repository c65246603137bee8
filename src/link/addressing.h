#pragma once
// Where requests go and whose replies are heard: one controller's request and reply
// identifiers on CAN, the adapter commands that point the link at it (header, receive
// filter, flow control), and the commands back to the functional address that every
// emission-related controller hears.

#include "link/exchange.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

struct ControllerAddress {
    quint32 request = 0; // the identifier requests go to
    quint32 reply = 0;   // the identifier the controller answers from
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

    bool operator==(const ControllerAddress&) const = default;
};

// The controller a request header names: "7E4" answers at 7EC, "18DA28F1" at 18DAF128.
// Nothing for a header whose reply identifier cannot be told (a functional one, 29-bit
// headers outside the physical 18DA form, text that is not 3 or 8 hex digits).
std::optional<ControllerAddress> addressForHeader(const QString& header);

// Back to the adapter's own flow control after flowControlCommands().
inline const QString automaticFlowControlCommand = QStringLiteral("ATFCSM0");

// The header and filter commands that send requests to every emission-related controller again.
QStringList functionalAddressCommands(HeaderLayout layout);

// Points the link at `address`: its header, receive filter and flow control commands. False,
// with the reason in `problem`, when the adapter refused the header or stopped answering.
bool talkTo(Exchange& exchange, const ControllerAddress& address, QString* problem);
// Back to the functional address, and to the adapter's own flow control after a talkTo() of
// an address with its own.
void talkToAll(Exchange& exchange, bool flowControlMoved);

} // namespace zelcor
