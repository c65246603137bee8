#include "dtc/codereply.h"

#include "obd/troublecode.h"

#include <vector>

namespace zelcor {

namespace {

int byteAt(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

QString item(int code, int address) {
    return troubleCodeText(code) + QString(codeItemGap, QLatin1Char(' ')) + QString::number(address);
}

// Adds the codes of `payload` from byte `from` on, two bytes each; the 0000 filler is no code.
void appendCodes(QStringList& items, const QByteArray& payload, qsizetype from, int address) {
    for (qsizetype p = from; p + 2 <= payload.size(); p += 2) {
        const int code = byteAt(payload, p) * 256 + byteAt(payload, p + 1);
        if (code != 0) items.append(item(code, address));
    }
}

// Legacy protocols: one message per line behind a three-byte header, three codes after
// the response byte, then the checksum byte.
CodeRead legacyCodes(const QStringList& lines, int response) {
    CodeRead read;
    bool answered = false;
    for (const QString& line : lines) {
        const QByteArray bytes = hexBytes(line);
        if (bytes.size() < 4 || byteAt(bytes, 3) != response) continue;
        if (bytes.size() < 10) {
            read.problem = QStringLiteral("the reply of controller %1 was cut short").arg(byteAt(bytes, 2));
            return read;
        }
        answered = true;
        appendCodes(read.items, bytes.left(10), 4, byteAt(bytes, 2));
    }
    if (!answered) read.problem = QStringLiteral("no controller answered");
    return read;
}

CanController& controllerFor(std::vector<CanController>& controllers, int address) {
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
// ignored; any other unexpected number is a lost frame. A new first frame while a message
// is still incomplete replaces it (the controller started the transfer again). A message
// that ends short of its announced length, or announces more codes than it holds, makes
// the whole read fail: a list missing codes would read as complete.
std::vector<CanController> canMessages(const QStringList& lines, HeaderLayout layout) {
    std::vector<CanController> controllers;
    for (const QString& raw : lines) {
        if (raw.size() < 6) continue;
        // Normalised: two header bytes (the second the protocol control byte), the sender, the data.
        const QByteArray bytes = hexBytes(normaliseLine(raw, layout));
        if (bytes.size() < 3) continue;
        CanController& controller = controllerFor(controllers, byteAt(bytes, 2));
        const int pci = byteAt(bytes, 1);
        const int low = pci & 0x0F;
        switch (pci >> 4) {
        case 0x0: { // single frame, low nibble = payload length
            CanMessage m;
            m.payload = bytes.mid(3, low);
            m.length = low;
            m.open = m.payload.size() < m.length;
            controller.messages.push_back(m);
            break;
        }
        case 0x1: { // first frame, 12-bit payload length
            if (bytes.size() < 4) break;
            CanMessage m;
            m.length = low * 256 + byteAt(bytes, 3);
            m.payload = bytes.mid(4, m.length);
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
                m.payload += bytes.mid(3, m.length - m.payload.size());
                m.nextSequence = (m.nextSequence + 1) & 0x0F;
                m.open = m.payload.size() < m.length;
            } else if (low != ((m.nextSequence + 15) & 0x0F)) {
                m.nextSequence = -1; // a frame is missing: later frames cannot be placed
            }
            break;
        }
        default: // flow control and anything else carries no codes
            break;
        }
    }
    return controllers;
}

CodeRead canCodes(const QStringList& lines, HeaderLayout layout, int response) {
    const std::vector<CanController> controllers = canMessages(lines, layout);
    CodeRead read;
    bool answered = false;
    for (const CanController& controller : controllers) {
        for (const CanMessage& m : controller.messages) {
            if (m.open) {
                read.problem = QStringLiteral("the reply of controller %1 ended after %2 of %3 bytes")
                                   .arg(controller.address)
                                   .arg(m.payload.size())
                                   .arg(m.length);
                return read;
            }
            if (m.payload.isEmpty() || byteAt(m.payload, 0) != response) continue;
            answered = true;
            // After the response byte, the number of codes.
            const int announced = m.payload.size() > 1 ? byteAt(m.payload, 1) : 0;
            if (2 + 2 * announced > m.payload.size()) {
                read.problem = QStringLiteral("controller %1 announced %2 codes and sent %3")
                                   .arg(controller.address)
                                   .arg(announced)
                                   .arg((m.payload.size() - 2) / 2);
                return read;
            }
            appendCodes(read.items, m.payload, 2, controller.address);
        }
    }
    if (!answered) read.problem = QStringLiteral("no controller answered");
    return read;
}

} // namespace

std::vector<CanController> reassembleCan(const QStringList& lines, HeaderLayout layout) {
    return canMessages(lines, layout);
}

CodeRead readTroubleCodes(const QString& reply, HeaderLayout layout, int service) {
    const int response = 0x40 + service;
    const QString error = adapterErrorIn(reply);
    QStringList lines = reply.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("SEARCHING...")); // the adapter looking for the protocol
    if (!error.isEmpty()) {
        // Codes beside the word must not vanish into an empty list: only the word alone is "no answer".
        const bool alone =
            lines.size() == 1 && QString(lines.first()).remove(QLatin1Char(' ')).toUpper() == QStringLiteral("NODATA");
        return CodeRead{{}, error, error == noDataWord && alone};
    }
    if (lines.isEmpty()) return CodeRead{{}, QStringLiteral("no reply")};
    for (const QString& line : lines)
        if (!isHexText(normaliseLine(line, layout)))
            return CodeRead{{}, QStringLiteral("a damaged line \"%1\"").arg(quotable(line))};
    if (layout == HeaderLayout::Legacy) return legacyCodes(lines, response);
    return canCodes(lines, layout, response);
}

int reportedCodeCount(const QString& reply, HeaderLayout layout) {
    int count = -1;
    for (const QString& line : reply.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const Reply answer = parseReply(normaliseLine(line, layout), QString(), layout);
        if (!answer.isSound() || answer.service != 0x41 || answer.parameter != 0x01 || answer.data.isEmpty()) continue;
        // The lamp is the top bit of the first data byte, the count the other seven.
        count = qMax(count, 0) + (byteAt(answer.data, 0) & 0x7F);
    }
    return count;
}

CodeRead unansweredCodes(int service, int reported) {
    if (service != 3 || reported == 0) return {};
    if (reported < 0) return CodeRead{{}, noDataWord};
    return CodeRead{{},
                    QStringLiteral("the car reports %1 %2 but gave none (%3)")
                        .arg(reported)
                        .arg(reported == 1 ? QStringLiteral("code") : QStringLiteral("codes"), noDataWord)};
}

QStringList troubleCodeList(const CodeRead& read) {
    if (!read.problem.isEmpty()) return {unreadableCodesText + read.problem};
    QStringList list = read.items;
    list.append(QString());
    list.append(endOfListItem);
    return list;
}

} // namespace zelcor
