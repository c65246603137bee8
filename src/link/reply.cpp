#include "link/reply.h"

#include "base/numbers.h"

namespace zelcor {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

QString twoDigits(int byte) {
    return byte < 0 ? QStringLiteral("--") : hexByte(byte);
}

// A character as a message can show it: printable ones as they are, others by number.
QString shown(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x20 && u < 0x7F) return QStringLiteral("\"%1\"").arg(c);
    return QStringLiteral("character %1").arg(int(u), 2, 16, QLatin1Char('0'));
}

// Why `line` is not a well-formed reply, from its characters alone; empty when it is one.
QString characterProblem(const QString& line) {
    if (line.isEmpty()) return QStringLiteral("no reply");
    const QString error = adapterErrorIn(line);
    if (!error.isEmpty()) return QStringLiteral("the adapter said %1").arg(error);
    for (const QChar c : line)
        if (hexDigit(c) < 0) return shown(c) + QStringLiteral(" is not a hex digit");
    if (line.size() % 2) return QStringLiteral("an odd number of hex digits");
    return {};
}

} // namespace

QString normaliseLine(const QString& line, HeaderLayout layout) {
    if (layout == HeaderLayout::Can11) // 7E8 06 41 00 ... -> 07 06 E8 41 00 ...
        return QStringLiteral("0") + line.mid(0, 1) + line.mid(3, 2) + line.mid(1, 2) + line.mid(5);
    if (layout == HeaderLayout::Can29) // 18DAF110 06 41 00 ... -> 18 06 10 41 00 ...
        return line.mid(0, 2) + line.mid(8, 2) + line.mid(6, 2) + line.mid(10);
    return line;
}

QByteArray hexBytes(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int high = hexDigit(text[i]);
        const int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) break;
        bytes.append(char(high * 16 + low));
    }
    return bytes;
}

bool isHexText(QStringView text) {
    if (text.size() % 2) return false;
    for (const QChar c : text)
        if (hexDigit(c) < 0) return false;
    return true;
}

const QStringList& adapterErrorWords() {
    // Longer words first: "ERR" is part of several others, "DATA ERROR" of "<DATA ERROR".
    static const QStringList words = {
        QStringLiteral("UNABLE TO CONNECT"),
        QStringLiteral("<DATA ERROR"),
        QStringLiteral("BUFFER FULL"),
        QStringLiteral("DATA ERROR"),
        QStringLiteral("ACT ALERT"),
        QStringLiteral("BUS ERROR"),
        QStringLiteral("CAN ERROR"),
        QStringLiteral("<RX ERROR"),
        QStringLiteral("BUS BUSY"),
        QStringLiteral("FB ERROR"),
        QStringLiteral("LP ALERT"),
        QStringLiteral("LV RESET"),
        QStringLiteral("NO DATA"),
        QStringLiteral("STOPPED"),
        QStringLiteral("ERR"),
        QStringLiteral("?"),
    };
    return words;
}

QString adapterErrorIn(const QString& text) {
    // The adapter's words may come with or without their blanks.
    QString squeezed = text.toUpper();
    squeezed.remove(QLatin1Char(' '));
    for (const QString& word : adapterErrorWords()) {
        const QString compact = QString(word).remove(QLatin1Char(' '));
        if (squeezed.contains(compact)) return word;
    }
    return {};
}

QString quotable(const QString& text, qsizetype length) {
    QString out = text.left(length);
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F) c = QLatin1Char('?');
    return text.size() > length ? out + QStringLiteral("...") : out;
}

bool Reply::answers(int requestService, int requestParameter) const {
    return whyNotAnswer(requestService, requestParameter).isEmpty();
}

QString Reply::whyNotAnswer(int requestService, int requestParameter) const {
    if (!problem.isEmpty()) return problem;
    if (!fromSelected) return QStringLiteral("another controller answered (%1)").arg(twoDigits(controller));
    if (service != 0x40 + requestService || parameter != requestParameter)
        return QStringLiteral("the reply answers %1 %2, not %3 %4")
            .arg(twoDigits(service), twoDigits(parameter), twoDigits(0x40 + requestService),
                 twoDigits(requestParameter));
    return {};
}

Reply parseReply(const QString& normalisedLine, const QString& selectedController, HeaderLayout layout) {
    Reply reply;
    reply.text = normalisedLine;
    reply.problem = characterProblem(normalisedLine);
    if (!reply.problem.isEmpty()) return reply;
    const QByteArray bytes = hexBytes(normalisedLine);
    if (bytes.size() < 5) {
        reply.problem = QStringLiteral("too short for a reply");
        return reply;
    }
    reply.controller = quint8(bytes[2]);
    reply.fromSelected =
        !selectedController.isEmpty() && normalisedLine.mid(4, 2).compare(selectedController, Qt::CaseInsensitive) == 0;
    QByteArray message = bytes.mid(3); // service, parameter, data
    if (layout != HeaderLayout::Legacy) {
        // On CAN the second byte is the length of a single frame; bytes after it are padding.
        const int pci = quint8(bytes[1]);
        if (pci >> 4 != 0) {
            reply.problem = QStringLiteral("a segmented reply where one frame was expected");
            return reply;
        }
        const int length = pci & 0x0F;
        if (message.size() < length) {
            reply.problem =
                QStringLiteral("the length byte announces %1 bytes, %2 follow").arg(length).arg(message.size());
            return reply;
        }
        message.truncate(length);
        if (message.size() < 2) {
            reply.problem = QStringLiteral("too short for a reply");
            return reply;
        }
    }
    reply.service = quint8(message[0]);
    reply.parameter = quint8(message[1]);
    reply.data = message.mid(2);
    return reply;
}

} // namespace zelcor
