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

namespace {

// Bytes from `from` on (`count` of them, -1: all) in hex, the misprinted one as it is printed.
QByteArray printed(const QByteArray& frame, qsizetype from, qsizetype count, bool spaces, const Misprint& misprint) {
    const QByteArray part = frame.mid(from, count);
    const qsizetype at = misprint.index - from;
    if (misprint.index < 0 || at < 0 || at >= part.size()) return hexText(part, spaces);
    const QByteArray gap = spaces ? QByteArray(" ") : QByteArray();
    QByteArray text = at > 0 ? hexText(part.left(at), spaces) + gap : QByteArray();
    text += misprint.text;
    if (at + 1 < part.size()) text += gap + hexText(part.mid(at + 1), spaces);
    return text;
}

QByteArray canHeader(quint32 id, bool extended, bool spaces) {
    if (!extended) return QByteArray::number(id & 0x7FF, 16).toUpper().rightJustified(3, '0');
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((id >> shift) & 0xFF));
    return hexText(bytes, spaces);
}

} // namespace

QByteArray legacyLine(const QByteArray& frame, const PrintFormat& format, const Misprint& misprint, bool checked) {
    if (format.headers) return printed(frame, 0, -1, format.spaces, misprint);
    return printed(frame, 3, frame.size() - (checked ? 4 : 3), format.spaces, misprint);
}

QByteArray canLines(quint32 id, bool extended, const QByteArray& frame, const PrintFormat& format,
                    const QByteArray& eol, const Misprint& misprint) {
    const bool spaces = format.spaces;
    const QByteArray gap = spaces ? QByteArray(" ") : QByteArray();
    const int type = quint8(frame[0]) >> 4;
    const int single = quint8(frame[0]) & 0x0F; // a single frame's length
    if (format.headers)
        return canHeader(id, extended, spaces) + gap + printed(frame, 0, type == 0 ? 1 + single : -1, spaces, misprint);
    switch (type) {
    case 0:
        return printed(frame, 1, single, spaces, misprint);
    case 1: {
        const int length = ((quint8(frame[0]) & 0x0F) << 8) | quint8(frame[1]);
        return QByteArray::number(length, 16).toUpper().rightJustified(3, '0') + eol + "0:" + gap +
               printed(frame, 2, -1, spaces, misprint);
    }
    case 2:
        return QByteArray::number(quint8(frame[0]) & 0x0F, 16).toUpper() + ":" + gap +
               printed(frame, 1, -1, spaces, misprint);
    default:
        return printed(frame, 0, -1, spaces, misprint);
    }
}

} // namespace zelcor::sim
