#include "sim/isotp.h"

namespace zelcor::sim::isotp {

namespace {

QByteArray padded(QByteArray frame, quint8 padding) {
    while (frame.size() < 8)
        frame.append(char(padding));
    return frame;
}

} // namespace

QList<QByteArray> segment(const QByteArray& message, quint8 padding) {
    QList<QByteArray> frames;
    const int length = int(message.size());
    if (length <= 7) {
        frames.append(padded(QByteArray(1, char(length)) + message, padding));
        return frames;
    }
    QByteArray first;
    first.append(char(0x10 | ((length >> 8) & 0x0F)));
    first.append(char(length & 0xFF));
    first.append(message.left(6));
    frames.append(first);
    int sequence = 1;
    for (int at = 6; at < length; at += 7) {
        QByteArray consecutive(1, char(0x20 | sequence));
        consecutive.append(message.mid(at, 7));
        frames.append(padded(consecutive, padding));
        sequence = (sequence + 1) & 0x0F;
    }
    return frames;
}

QByteArray reassemble(const QList<QByteArray>& frames, bool* ok) {
    auto fail = [ok] {
        if (ok) *ok = false;
        return QByteArray();
    };
    if (frames.isEmpty() || frames.first().isEmpty()) return fail();
    const QByteArray& head = frames.first();
    const int type = quint8(head[0]) >> 4;
    if (type == 0) {
        const int length = quint8(head[0]) & 0x0F;
        if (frames.size() != 1 || length == 0 || length > 7 || head.size() < 1 + length) return fail();
        if (ok) *ok = true;
        return head.mid(1, length);
    }
    if (type != 1 || head.size() < 8) return fail();
    const int length = ((quint8(head[0]) & 0x0F) << 8) | quint8(head[1]);
    QByteArray message = head.mid(2, 6);
    int expected = 1;
    for (qsizetype i = 1; i < frames.size(); ++i) {
        const QByteArray& frame = frames[i];
        if (frame.isEmpty() || quint8(frame[0]) != (0x20 | expected)) return fail();
        message.append(frame.mid(1, 7));
        expected = (expected + 1) & 0x0F;
    }
    if (message.size() < length) return fail();
    if (ok) *ok = true;
    return message.left(length);
}

} // namespace zelcor::sim::isotp
