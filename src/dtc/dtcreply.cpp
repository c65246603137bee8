#include "dtc/dtcreply.h"

#include "base/numbers.h"

#include <vector>

namespace zelcor {

namespace {

bool isHexDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

bool isHexText(QStringView text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!isHexDigit(c)) return false;
    return true;
}

// The controller address of a normalised line (characters 5-6) in decimal.
QString addressText(const QString& line) {
    return QString::number(hexval(line.mid(4, 2)));
}

// Adds the codes found in `hex` from the 0-based index `from` on, four digits each;
// digits left over at the end do not make a code.
void appendCodes(QStringList& items, const QString& hex, qsizetype from, const QString& address) {
    for (qsizetype p = from; p + 4 <= hex.size(); p += 4) {
        const QString code = troubleCodeText(hex.mid(p, 4));
        if (!code.isEmpty()) items.append(code + QString(codeItemGap, QLatin1Char(' ')) + address);
    }
}

// Legacy protocols: one message per line behind a three-byte header, up to three codes
// at characters 9, 13 and 17; the checksum byte after them is not read.
QStringList legacyItems(const QStringList& lines, const QString& response) {
    QStringList items;
    for (const QString& line : lines) {
        if (line.size() < 12 || line.mid(6, 2) != response) continue;
        const QString address = addressText(line);
        for (int p : {8, 12, 16}) {
            if (line.size() < p + 4) break;
            const QString code = troubleCodeText(line.mid(p, 4));
            if (!code.isEmpty()) items.append(code + QString(codeItemGap, QLatin1Char(' ')) + address);
        }
    }
    return items;
}

// A CAN line as received (identifier, protocol control byte, data) in the normal form:
// two header digits, the protocol control byte, the source address, then the data.
QString normalCanLine(const QString& line, int hdrformat) {
    if (hdrformat == 2) return QStringLiteral("0") + line.mid(0, 1) + line.mid(3, 2) + line.mid(1, 2) + line.mid(5);
    return line.mid(0, 2) + line.mid(8, 2) + line.mid(6, 2) + line.mid(10);
}

// One message of a controller: the payload bytes as hex text, starting with the
// response byte.
struct CanMessage {
    QString payload;
    qsizetype length = 0; // announced payload length in hex digits
    int nextSequence = 1; // sequence number the next consecutive frame must carry
    bool open = false;    // a segmented message still waiting for consecutive frames
};

struct CanController {
    QString address; // two hex digits, upper case
    std::vector<CanMessage> messages;
};

CanController& controllerFor(std::vector<CanController>& controllers, const QString& address) {
    for (CanController& c : controllers)
        if (c.address == address) return c;
    controllers.push_back({address, {}});
    return controllers.back();
}

// CAN: every controller answers with one single frame, or with a first frame followed
// by consecutive frames (ISO 15765-2). Several controllers may answer, and their frames
// may be interleaved, so the frames are reassembled per controller. Single frames stand
// alone; a first frame announces the payload length (12 bits) and is continued by
// consecutive frames numbered 1, 2, ... F, 0, 1, ...; bytes beyond the announced length
// are padding. A consecutive frame repeating the previous number is a duplicate and is
// ignored; any other unexpected number (lost frame) ends the message with what was
// collected. A new first frame while a message is still incomplete replaces it (the
// controller started the transfer again).
QStringList canItems(const QStringList& lines, int hdrformat, const QString& response) {
    std::vector<CanController> controllers;
    for (const QString& raw : lines) {
        if (raw.size() < 6) continue;
        const QString line = normalCanLine(raw, hdrformat);
        if (line.size() < 6 || !isHexText(QStringView(line).left(6))) continue;
        CanController& controller = controllerFor(controllers, line.mid(4, 2).toUpper());
        const int pci = hexByteAt(line, 3);
        const int low = pci & 0x0F;
        const QString data = line.mid(6);
        switch (pci >> 4) {
        case 0x0: { // single frame, low nibble = payload length
            CanMessage m;
            m.payload = data.left(2 * low);
            m.length = 2 * low;
            controller.messages.push_back(m);
            break;
        }
        case 0x1: { // first frame, 12-bit payload length
            if (data.size() < 2 || !isHexText(QStringView(data).left(2))) break;
            CanMessage m;
            m.length = 2 * (low * 256 + hexByteAt(data, 1));
            m.payload = data.mid(2).left(m.length);
            m.open = m.payload.size() < m.length;
            if (!controller.messages.empty() && controller.messages.back().open)
                controller.messages.back() = m;
            else
                controller.messages.push_back(m);
            break;
        }
        case 0x2: { // consecutive frame, low nibble = sequence number
            if (controller.messages.empty() || !controller.messages.back().open)
                break; // stray frame, or padding after a complete message
            CanMessage& m = controller.messages.back();
            if (low == m.nextSequence) {
                m.payload += data.left(m.length - m.payload.size());
                m.nextSequence = (m.nextSequence + 1) & 0x0F;
                m.open = m.payload.size() < m.length;
            } else if (low != ((m.nextSequence + 15) & 0x0F)) {
                m.open = false; // a frame is missing: later frames cannot be placed
            }
            break;
        }
        default: // flow control and anything else carries no codes
            break;
        }
    }

    QStringList items;
    for (const CanController& controller : controllers) {
        const QString address = QString::number(hexval(controller.address));
        for (const CanMessage& m : controller.messages)
            if (m.payload.startsWith(response))
                appendCodes(items, m.payload, 4, address); // after the response and count bytes
    }
    return items;
}

} // namespace

QString troubleCodeText(const QString& digits) {
    if (digits.size() != 4 || !isHexText(digits) || digits == QLatin1String("0000")) return {};
    const int d = int(hexval(digits.left(1)));
    static const char systems[] = {'P', 'C', 'B', 'U'};
    const QChar system = QLatin1Char(systems[d / 4]);
    if (d < 4) return system + digits;
    return system + QString::number(d % 4) + digits.mid(1);
}

QStringList troubleCodeItems(const QString& reply, int hdrformat, int service) {
    const QString response = hex2(0x40 + service);
    const QStringList lines = reply.split(QLatin1Char('\r'));
    if (hdrformat == 2 || hdrformat == 7) return canItems(lines, hdrformat, response);
    return legacyItems(lines, response);
}

QStringList troubleCodeList(const QString& reply, int hdrformat, int service) {
    QStringList list = troubleCodeItems(reply, hdrformat, service);
    list.append(QString());
    list.append(endOfListItem);
    return list;
}

} // namespace zelcor
