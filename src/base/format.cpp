#include "base/format.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace zelcor {

namespace {

// A non-negative decimal number as its digits and the position of the point:
// value = 0.d1d2d3... * 10^pointPos.
struct Decimal {
    std::vector<int> digits; // most significant first, no leading zeros (empty = 0)
    int pointPos = 0;
};

Decimal toDecimal(double magnitude, int significant) {
    Decimal d;
    if (magnitude == 0.0) return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, magnitude);
    // buf is like "1.23450000000000e+02"
    int exp = 0;
    for (const char* p = buf; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits.push_back(*p - '0');
        else if (*p == 'e') {
            exp = std::atoi(p + 1);
            break;
        }
    }
    d.pointPos = exp + 1;
    while (!d.digits.empty() && d.digits.back() == 0)
        d.digits.pop_back();
    return d;
}

// Rounds to `frac` digits after the point, halves away from zero.
void roundDecimal(Decimal& d, int frac) {
    const int keep = d.pointPos + frac; // digits to keep
    if (keep >= int(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= 5;
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == 9) {
            d.digits[i] = 0;
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), 1);
            ++d.pointPos;
        }
    }
    while (!d.digits.empty() && d.digits.back() == 0)
        d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
}

int digitAt(const Decimal& d, int index) { // index 0 = first digit of the mantissa
    return index >= 0 && index < int(d.digits.size()) ? d.digits[index] : 0;
}

QString generalForm(double x, int significant) {
    if (std::isnan(x)) return QStringLiteral("NaN");
    if (std::isinf(x)) return x < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    Decimal d = toDecimal(std::fabs(x), significant);
    if (d.digits.empty()) return QStringLiteral("0");
    QString out = x < 0 ? QStringLiteral("-") : QString();
    const int exp = d.pointPos - 1;
    if (exp >= significant || exp < -4) { // exponent form below 1E-4 and from 10^significant
        out += QChar('0' + d.digits[0]);
        if (d.digits.size() > 1) {
            out += QLatin1Char('.');
            for (size_t i = 1; i < d.digits.size(); ++i)
                out += QChar('0' + d.digits[i]);
        }
        out += exp < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
        out += QStringLiteral("%1").arg(std::abs(exp), 2, 10, QLatin1Char('0'));
        return out;
    }
    if (d.pointPos <= 0) {
        out += QStringLiteral("0.");
        for (int i = d.pointPos; i < 0; ++i)
            out += QLatin1Char('0');
        for (int v : d.digits)
            out += QChar('0' + v);
        return out;
    }
    for (int i = 0; i < d.pointPos; ++i)
        out += QChar('0' + digitAt(d, i));
    if (int(d.digits.size()) > d.pointPos) {
        out += QLatin1Char('.');
        for (size_t i = d.pointPos; i < d.digits.size(); ++i)
            out += QChar('0' + d.digits[i]);
    }
    return out;
}

} // namespace

QString formatNumber(double x, const QString& pattern) {
    if (pattern.isEmpty()) return generalNumber(x);
    if (!std::isfinite(x)) return generalNumber(x);
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int maxFrac = minFrac + int(fracPart.count(QLatin1Char('#')));

    Decimal d = toDecimal(std::fabs(x), 15);
    roundDecimal(d, maxFrac);

    QString intDigits;
    for (int i = 0; i < d.pointPos; ++i)
        intDigits += QChar('0' + digitAt(d, i));
    while (intDigits.size() < minInt)
        intDigits.prepend(QLatin1Char('0'));

    QString fracDigits;
    for (int i = 0; i < maxFrac; ++i)
        fracDigits += QChar('0' + digitAt(d, d.pointPos + i));
    while (fracDigits.size() > minFrac && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);

    QString out = (x < 0 && !d.digits.empty()) ? QStringLiteral("-") : QString();
    out += intDigits;
    if (point >= 0) out += QLatin1Char('.') + fracDigits;
    return out;
}

QString generalNumber(double x) {
    return generalForm(x, 15);
}

QString generalSingle(float x) {
    return generalForm(double(x), 7);
}

QString zerosPattern(int decimals) {
    return QStringLiteral("0.") + QString(qMax(0, decimals), QLatin1Char('0'));
}

} // namespace zelcor
