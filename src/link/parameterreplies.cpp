#include "link/parameterreplies.h"

#include "base/numbers.h"
#include "obd/parameters.h"

namespace zelcor {

namespace {

// The selected controller's first message, from a single frame or a first frame and the
// consecutive frames that follow it in order. A message cut short (a missing or
// misnumbered frame, a length byte that announces more than came) keeps what came
// before the gap; *header gets the normalised header digits of its first frame.
QByteArray selectedMessage(const QString& text, const QString& selected, HeaderLayout layout, QString* header) {
    QByteArray message;
    int length = -1; // of the message being reassembled; -1 before its first frame
    int next = 1;    // the sequence number the next consecutive frame must carry
    for (const QString& line : text.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const QString normal = normaliseLine(line, layout);
        if (normal.size() < 8 || !isHexText(normal)) continue;
        if (normal.mid(4, 2).compare(selected, Qt::CaseInsensitive) != 0) continue;
        const QByteArray bytes = hexBytes(normal);
        const int pci = quint8(bytes[1]);
        const QByteArray payload = bytes.mid(3);
        if (length < 0) {
            if (pci >> 4 == 0) {
                *header = normal.left(2);
                return payload.left(pci & 0x0F);
            }
            if (pci >> 4 != 1 || payload.isEmpty()) continue;
            *header = normal.left(2);
            length = ((pci & 0x0F) << 8) | quint8(payload[0]);
            message = payload.mid(1);
        } else if (pci >> 4 == 2 && (pci & 0x0F) == next) {
            message += payload;
            next = (next + 1) & 0x0F;
        } else {
            break; // a frame lost on the way: the rest would land in the wrong places
        }
        if (message.size() >= length) break;
    }
    return message.left(std::max(length, 0));
}

} // namespace

int answerBytes(int pid) {
    return pid % 0x20 == 0 ? 4 : parameterBytes(pid);
}

QList<Reply> splitParameterReplies(const QString& text, const QString& selectedController, HeaderLayout layout,
                                   const QList<int>& pids) {
    const QString received = QString(text).remove(QLatin1Char('\r'));
    QList<Reply> replies(pids.size());
    if (received.isEmpty()) return replies;
    const QString error = adapterErrorIn(received);
    for (qsizetype k = 0; k < pids.size(); ++k) {
        replies[k].text = received;
        replies[k].problem = error.isEmpty()
                                 ? QStringLiteral("the reply holds no answer for PID %1").arg(hexByte(pids[k]))
                                 : QStringLiteral("the adapter said %1").arg(error);
    }
    if (selectedController.isEmpty() || layout == HeaderLayout::Legacy) return replies;
    QString header;
    const QByteArray message = selectedMessage(text, selectedController, layout, &header);
    if (message.isEmpty() || quint8(message[0]) != 0x41) return replies;
    for (qsizetype at = 1; at < message.size();) {
        const int pid = quint8(message[at]);
        const int bytes = answerBytes(pid);
        // An unknown PID hides where the next one starts; bytes cut off end the message.
        if (bytes <= 0 || at + 1 + bytes > message.size()) break;
        const QByteArray data = message.mid(at + 1, bytes);
        at += 1 + bytes;
        const qsizetype index = pids.indexOf(pid);
        if (index < 0 || replies[index].isSound()) continue;
        const QString line = header + hexByte(2 + bytes) + selectedController.toUpper() + QStringLiteral("41") +
                             hexByte(pid) + QString::fromLatin1(data.toHex().toUpper());
        replies[index] = parseReply(line, selectedController, layout);
    }
    return replies;
}

} // namespace zelcor
