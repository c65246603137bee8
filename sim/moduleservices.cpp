#include "sim/moduleservices.h"

namespace zelcor::sim {

namespace {

constexpr quint8 kServiceNotSupported = 0x11;
constexpr quint8 kSubFunctionNotSupported = 0x12;
constexpr quint8 kIncorrectLength = 0x13;
constexpr quint8 kOutOfRange = 0x31;
constexpr quint8 kResponsePending = 0x78;
constexpr quint8 kAvailabilityMask = 0xFF; // every status bit is kept
constexpr quint8 kUdsCodes = 0x19;
constexpr quint8 kKwpCodes = 0x18;
constexpr quint8 kClear = 0x14;
constexpr quint8 kReadIdentifier = 0x22;
constexpr quint8 kTesterPresent = 0x3E;

QByteArray negative(quint8 service, quint8 code) {
    QByteArray message(1, char(0x7F));
    message.append(char(service));
    message.append(char(code));
    return message;
}

// The KWP2000 status byte of a code held with UDS status bits: lamp, storage state, readiness.
quint8 kwpStatus(quint8 status) {
    quint8 kwp = status & 0x80;
    if (status & 0x01)
        kwp |= 0x60; // present now
    else if (status & 0x08)
        kwp |= 0x20; // stored, not present
    else if (status & 0x04)
        kwp |= 0x40; // maturing
    if (status & 0x40) kwp |= 0x10;
    return kwp;
}

} // namespace

ModuleServices::ModuleServices(ModuleDefinition definition)
    : definition_(std::move(definition)), codes_(definition_.codes) {}

bool ModuleServices::takeCleared() {
    const bool cleared = cleared_;
    cleared_ = false;
    return cleared;
}

QList<QByteArray> ModuleServices::udsCodes(const QByteArray& request) const {
    if (definition_.kwpOnly || definition_.refusesCodes) return {negative(kUdsCodes, kServiceNotSupported)};
    if (request.size() < 2 || quint8(request[1]) != 0x02) return {negative(kUdsCodes, kSubFunctionNotSupported)};
    if (request.size() != 3) return {negative(kUdsCodes, kIncorrectLength)};
    const quint8 mask = quint8(request[2]);
    QByteArray message = QByteArray::fromHex("5902");
    message.append(char(kAvailabilityMask));
    for (const ModuleTroubleCode& code : codes_) {
        if (!(code.status & mask)) continue;
        message.append(char(code.code >> 16)).append(char(code.code >> 8)).append(char(code.code));
        message.append(char(code.status));
    }
    QList<QByteArray> messages(definition_.pendingAnswers, negative(kUdsCodes, kResponsePending));
    messages.append(message);
    return messages;
}

QList<QByteArray> ModuleServices::kwpCodes(const QByteArray& request) const {
    if (definition_.refusesCodes || !definition_.kwpOnly) return {negative(kKwpCodes, kServiceNotSupported)};
    if (request != QByteArray::fromHex("1802FF00")) return {negative(kKwpCodes, kSubFunctionNotSupported)};
    QByteArray message(1, char(0x58));
    message.append(char(codes_.size()));
    for (const ModuleTroubleCode& code : codes_)
        message.append(char(code.code >> 16)).append(char(code.code >> 8)).append(char(kwpStatus(code.status)));
    QList<QByteArray> messages(definition_.pendingAnswers, negative(kKwpCodes, kResponsePending));
    messages.append(message);
    return messages;
}

QList<QByteArray> ModuleServices::clear(const QByteArray& request) {
    const QByteArray all = definition_.kwpOnly ? QByteArray::fromHex("14FF00") : QByteArray::fromHex("14FFFFFF");
    if (request != all) return {negative(kClear, kOutOfRange)};
    codes_.clear();
    cleared_ = true;
    return {QByteArray(1, char(0x54)) + request.mid(1, definition_.kwpOnly ? 2 : 0)};
}

std::optional<QList<QByteArray>> ModuleServices::answer(const QByteArray& request) {
    if (!definition_.present || request.isEmpty()) return std::nullopt;
    const quint8 service = quint8(request[0]);
    switch (service) {
    case kTesterPresent:
        if (request.size() == 2 && request[1] == 0) return QList<QByteArray>{QByteArray::fromHex("7E00")};
        return QList<QByteArray>{negative(service, kSubFunctionNotSupported)};
    case kReadIdentifier:
        if (definition_.kwpOnly) return QList<QByteArray>{negative(service, kServiceNotSupported)};
        if (request != QByteArray::fromHex("22F197") || definition_.systemName.isEmpty())
            return QList<QByteArray>{negative(service, kOutOfRange)};
        return QList<QByteArray>{QByteArray::fromHex("62F197") + definition_.systemName};
    case kUdsCodes:
        return udsCodes(request);
    case kKwpCodes:
        return kwpCodes(request);
    case kClear:
        return clear(request);
    default:
        return std::nullopt;
    }
}

} // namespace zelcor::sim
