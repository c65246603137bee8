#include "link/addressing.h"

namespace zelcor {

namespace {

QString hexId(quint32 id, bool extended) {
    return QString::number(id, 16).toUpper().rightJustified(extended ? 8 : 3, QLatin1Char('0'));
}

bool saysOk(const QString& text) {
    return text.contains(QLatin1String("OK"));
}

constexpr quint32 kFunctional11 = 0x7DF;
constexpr quint32 kPhysical29 = 0x18DA0000u; // 18 DA <to> <from>

} // namespace

QString ControllerAddress::requestText() const {
    return hexId(request, extended);
}

QString ControllerAddress::replyText() const {
    return hexId(reply, extended);
}

QString ControllerAddress::label() const {
    return requestText() + QLatin1Char('/') + replyText();
}

QString ControllerAddress::headerCommand() const {
    // On 29-bit CAN the adapter takes the low three bytes; the priority byte 18 is its default.
    return QStringLiteral("ATSH") + (extended ? requestText().mid(2) : requestText());
}

QString ControllerAddress::filterCommand() const {
    return QStringLiteral("ATCRA") + replyText();
}

QStringList ControllerAddress::flowControlCommands() const {
    if (!ownFlowControl) return {};
    // Clear to send, no block limit, no separation time.
    return {QStringLiteral("ATFCSH") + requestText(), QStringLiteral("ATFCSD300000"), QStringLiteral("ATFCSM1")};
}

std::optional<ControllerAddress> addressForHeader(const QString& header) {
    bool ok = false;
    const quint32 id = header.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    if (header.size() == 3) {
        if (id == kFunctional11 || id + 8 > 0x7FF) return std::nullopt;
        return ControllerAddress{id, id + 8, false, false};
    }
    if (header.size() == 8 && (id & 0xFFFF0000u) == kPhysical29) {
        const quint32 to = (id >> 8) & 0xFF, from = id & 0xFF;
        return ControllerAddress{id, kPhysical29 | from << 8 | to, true, false};
    }
    return std::nullopt;
}

QStringList functionalAddressCommands(HeaderLayout layout) {
    return {layout == HeaderLayout::Can29 ? QStringLiteral("ATSHDB33F1") : QStringLiteral("ATSH7DF"),
            QStringLiteral("ATCRA")};
}

bool talkTo(Exchange& exchange, const ControllerAddress& address, QString* problem) {
    const QString header = address.headerCommand();
    exchange.send(header);
    QString said = exchange.receiveAll(0);
    if (adapterErrorIn(said) == QLatin1String("STOPPED")) {
        // The command's first character stopped an answer still coming (a flood): once more.
        exchange.send(header);
        said = exchange.receiveAll(0);
    }
    if (!saysOk(said)) {
        *problem = said.isEmpty() ? QStringLiteral("the adapter stopped answering")
                                  : QStringLiteral("the adapter refused %1 (%2)").arg(header, quotable(said));
        return false;
    }
    // Without a receive filter the answers are still told apart by their identifier.
    exchange.send(address.filterCommand());
    exchange.receiveAll(0);
    // Without its own flow control a long answer stops after its first frame, which says so.
    for (const QString& command : address.flowControlCommands()) {
        exchange.send(command);
        exchange.receiveAll(0);
    }
    return true;
}

void talkToAll(Exchange& exchange, bool flowControlMoved) {
    QStringList commands = functionalAddressCommands(exchange.headerLayout());
    if (flowControlMoved) commands.append(automaticFlowControlCommand);
    for (const QString& command : commands) {
        exchange.send(command);
        exchange.receiveAll(0);
    }
}

} // namespace zelcor
