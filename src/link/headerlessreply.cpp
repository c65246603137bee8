#include "link/headerlessreply.h"

#include <QStringList>

namespace zelcor {

namespace {

bool allHex(QStringView text) {
    for (const QChar c : text)
        if (!c.isDigit() && !(c >= QLatin1Char('A') && c <= QLatin1Char('F')) &&
            !(c >= QLatin1Char('a') && c <= QLatin1Char('f')))
            return false;
    return !text.isEmpty();
}

// "1:" .. "F:" and "0:" before a frame's data.
bool isNumberedFrame(const QString& line) {
    return line.size() >= 2 && line.at(1) == QLatin1Char(':') && allHex(QStringView(line).left(1)) &&
           (line.size() == 2 || isHexText(QStringView(line).mid(2)));
}

} // namespace

QString withHeaders(const QString& text, const QString& controller, HeaderLayout layout) {
    if (layout == HeaderLayout::Legacy || controller.size() != 2) return text;
    const QString header = layout == HeaderLayout::Can29 ? QStringLiteral("18DAF1") + controller.toUpper()
                                                         : QStringLiteral("7") + controller.toUpper();
    const QStringList lines = text.split(QLatin1Char('\r'));
    QStringList out;
    QString length; // of the segmented message under way: three digits
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const QString& line = lines.at(k);
        const bool beforeFrames = k + 1 < lines.size() && lines.at(k + 1).startsWith(QLatin1String("0:"));
        if (line.size() == 3 && allHex(line) && beforeFrames) {
            length = line.toUpper();
        } else if (isNumberedFrame(line)) {
            const QString data = line.mid(2);
            if (line.at(0) == QLatin1Char('0') && !length.isEmpty())
                out << header + QLatin1Char('1') + length + data;
            else
                out << header + QLatin1Char('2') + line.at(0).toUpper() + data;
            if (line.at(0) == QLatin1Char('0')) length.clear();
        } else if (isHexText(line) && line.size() >= 2 && line.size() <= 14 &&
                   !(layout == HeaderLayout::Can29 && line.startsWith(QLatin1String("18DA"), Qt::CaseInsensitive))) {
            // A single frame: seven data bytes at most, the length byte in front.
            out << header + QLatin1Char('0') + QString::number(line.size() / 2) + line;
        } else {
            out << line;
        }
    }
    return out.join(QLatin1Char('\r'));
}

} // namespace zelcor
