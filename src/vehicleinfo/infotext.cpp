#include "vehicleinfo/infotext.h"

namespace zelcor {

namespace {

bool isPadding(char c) {
    return c == '\0' || quint8(c) == 0xFF;
}

} // namespace

TextItem itemText(const QByteArray& bytes) {
    qsizetype first = 0, last = bytes.size();
    while (first < last && isPadding(bytes[first]))
        ++first;
    while (last > first && isPadding(bytes[last - 1]))
        --last;
    TextItem item;
    for (qsizetype i = first; i < last; ++i) {
        const quint8 c = quint8(bytes[i]);
        if (c < 0x20 || c >= 0x7F) {
            if (item.problem.isEmpty())
                item.problem = QStringLiteral("byte %1 is not a printable character")
                                   .arg(QStringLiteral("%1").arg(c, 2, 16, QLatin1Char('0')).toUpper());
            item.text += QLatin1Char('?');
        } else {
            item.text += QLatin1Char(char(c));
        }
    }
    item.text = item.text.trimmed();
    return item;
}

QString verificationText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

} // namespace zelcor
