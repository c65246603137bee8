#include "base/numbers.h"

#include <cmath>

namespace zelcor {

namespace {

QString withoutBlanks(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            s.append(c);
    return s;
}

double radixNumber(const QString& s, int start, int radix) {
    quint64 v = 0;
    for (int i = start; i < s.size(); ++i) {
        int d = -1;
        const QChar c = s.at(i).toUpper();
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            d = c.unicode() - '0';
        else if (radix == 16 && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            d = c.unicode() - 'A' + 10;
        if (d < 0 || d >= radix) break;
        v = v * radix + d;
    }
    return double(v);
}

} // namespace

double leadingNumber(const QString& text) {
    const QString s = withoutBlanks(text);
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) return radixNumber(s, 2, 16);
    if (s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) return radixNumber(s, 2, 8);

    QString num;
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) num.append(s[i++]);
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            num.append(c);
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            num.append(c);
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    // Optional exponent, taken only when digits follow it.
    if (i < s.size() && (s[i].toUpper() == QLatin1Char('E') || s[i].toUpper() == QLatin1Char('D'))) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) exp.append(s[j++]);
        bool expDigits = false;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            exp.append(s[j++]);
            expDigits = true;
        }
        if (expDigits) num.append(exp);
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

quint64 hexNumber(const QString& text) {
    quint64 v = 0;
    int n = 0;
    for (QChar c : text) {
        int d;
        const char16_t u = c.toUpper().unicode();
        if (u >= '0' && u <= '9')
            d = u - '0';
        else if (u >= 'A' && u <= 'F')
            d = u - 'A' + 10;
        else
            break;
        if (++n > 16) break;
        v = v * 16 + d;
    }
    return v;
}

int hexByteAt(const QString& text, int pos) {
    if (pos < 1 || pos > text.size()) return 0;
    return int(hexNumber(text.mid(pos - 1, 2)));
}

double roundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    return std::nearbyint(x); // the default rounding mode rounds halves to even
}

std::optional<qint16> toInt16(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
    return qint16(r);
}

QString hexByte(int byte) {
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

double roundStep(double span) {
    const double rough = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10 * power;
}

} // namespace zelcor
