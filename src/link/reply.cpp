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

bool Reply::answers(int requestService, int requestParameter) const {
    return fromSelected && service == 0x40 + requestService && parameter == requestParameter;
}

Reply parseReply(const QString& normalisedLine, const QString& selectedController) {
    Reply reply;
    reply.text = normalisedLine;
    const QByteArray header = hexBytes(QStringView(normalisedLine).left(10));
    if (header.size() > 2) reply.controller = quint8(header[2]);
    if (header.size() > 3) reply.service = quint8(header[3]);
    if (header.size() > 4) reply.parameter = quint8(header[4]);
    if (header.size() == 5) reply.data = hexBytes(QStringView(normalisedLine).mid(10));
    reply.fromSelected = !selectedController.isEmpty() && normalisedLine.mid(4, 2) == selectedController;
    return reply;
}

} // namespace zelcor
