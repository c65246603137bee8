#include "sim/framer.h"

#include "sim/checksum.h"
#include "sim/protocol.h"

namespace zelcor::sim {

QByteArray hexText(const QByteArray& bytes, bool spaces) {
    return bytes.toHex(spaces ? ' ' : '\0').toUpper();
}

QByteArray legacyFrame(int protocol, quint8 source, const QByteArray& data) {
    const Bus bus = protocolInfo(protocol).bus;
    QByteArray frame;
    switch (bus) {
    case Bus::J1850Pwm:
        frame = QByteArray::fromHex("416B");
        break;
    case Bus::Kwp:
        frame.append(char(0x80 | (data.size() & 0x3F)));
        frame.append(char(0xF1));
        break;
    default:
        frame = QByteArray::fromHex("486B");
        break;
    }
    frame.append(char(source));
    frame.append(data);
    const bool crc = bus == Bus::J1850Pwm || bus == Bus::J1850Vpw;
    frame.append(char(crc ? j1850Crc(frame) : additiveSum(frame)));
    return frame;
}

QByteArray legacyLine(const QByteArray& frame, const PrintFormat& format) {
    if (format.headers) return hexText(frame, format.spaces);
    return hexText(frame.mid(3, frame.size() - 4), format.spaces);
}

namespace {

QByteArray canHeader(quint32 id, bool extended, bool spaces) {
    if (!extended) return QByteArray::number(id & 0x7FF, 16).toUpper().rightJustified(3, '0');
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((id >> shift) & 0xFF));
    return hexText(bytes, spaces);
}

} // namespace

QByteArray canLines(quint32 id, bool extended, const QByteArray& frame, const PrintFormat& format,
                    const QByteArray& eol) {
    const QByteArray gap = format.spaces ? QByteArray(" ") : QByteArray();
    const int type = quint8(frame[0]) >> 4;
    if (format.headers) {
        QByteArray shown = frame;
        if (type == 0) shown = frame.left(1 + (quint8(frame[0]) & 0x0F));
        return canHeader(id, extended, format.spaces) + gap + hexText(shown, format.spaces);
    }
    switch (type) {
    case 0:
        return hexText(frame.mid(1, quint8(frame[0]) & 0x0F), format.spaces);
    case 1: {
        const int length = ((quint8(frame[0]) & 0x0F) << 8) | quint8(frame[1]);
        return QByteArray::number(length, 16).toUpper().rightJustified(3, '0') + eol + "0:" + gap +
               hexText(frame.mid(2), format.spaces);
    }
    case 2:
        return QByteArray::number(quint8(frame[0]) & 0x0F, 16).toUpper() + ":" + gap +
               hexText(frame.mid(1), format.spaces);
    default:
        return hexText(frame, format.spaces);
    }
}

} // namespace zelcor::sim
