#include "sim/addressing.h"

#include "sim/protocol.h"

namespace zelcor::sim {

namespace {

constexpr quint32 functional11 = 0x7DF;
constexpr quint32 functional29 = 0x18DB33F1;
constexpr quint32 priority29 = 0x18000000;

bool hexValue(const QByteArray& digits, quint32* value) {
    bool ok = false;
    *value = digits.toUInt(&ok, 16);
    return ok && !digits.startsWith('+') && !digits.startsWith('-');
}

} // namespace

bool CanAddressing::setHeader(const QByteArray& digits) {
    quint32 value = 0;
    if ((digits.size() != 3 && digits.size() != 6 && digits.size() != 8) || !hexValue(digits, &value)) return false;
    headerSet_ = true;
    header_ = value;
    headerDigits_ = int(digits.size());
    return true;
}

bool CanAddressing::setFilter(const QByteArray& digits) {
    if (digits.isEmpty()) {
        filterSet_ = false;
        return true;
    }
    quint32 value = 0;
    if ((digits.size() != 3 && digits.size() != 8) || !hexValue(digits, &value)) return false;
    filterSet_ = true;
    filter_ = value;
    filterExtended_ = digits.size() == 8;
    return true;
}

void CanAddressing::reset() {
    headerSet_ = false;
    filterSet_ = false;
}

bool CanAddressing::reaches(const ControllerDefinition& controller, int protocol) const {
    if (!isCan(protocol) || !headerSet_) return true;
    if (protocolInfo(protocol).bus == Bus::Can11) {
        const quint32 id = header_ & 0x7FF;
        return id == functional11 || id + 8 == controller.canId;
    }
    const quint32 id = headerDigits_ == 8 ? header_ : priority29 | (header_ & 0xFFFFFF);
    return id == functional29 || id == (0x18DA00F1u | (quint32(controller.address) << 8));
}

bool CanAddressing::passes(quint32 id, bool extended) const {
    return !filterSet_ || (filterExtended_ == extended && filter_ == id);
}

} // namespace zelcor::sim
