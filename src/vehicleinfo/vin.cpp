#include "vehicleinfo/vin.h"

#include "vehicleinfo/infotext.h"

#include <QStringList>

namespace zelcor {

namespace {

constexpr int kVinLength = 17;
// The model year letters and digits in order, A = 1980 (and 2010), 9 = 2009 (and 2039).
const QString kYearCodes = QStringLiteral("ABCDEFGHJKLMNPRSTVWXY123456789");

// The value of a character in the check digit sum; -1 for none.
int transliterated(QChar c) {
    static const QString letters = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ");
    static const int values[] = {1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 7, 9, 2, 3, 4, 5, 6, 7, 8, 9};
    if (c.isDigit()) return c.digitValue();
    const qsizetype at = letters.indexOf(c);
    return at < 0 ? -1 : values[at];
}

QString regionOf(QChar first) {
    const char c = first.toLatin1();
    if (c >= 'A' && c <= 'H') return QStringLiteral("Africa");
    if (c >= 'J' && c <= 'R') return QStringLiteral("Asia");
    if (c >= 'S' && c <= 'Z') return QStringLiteral("Europe");
    if (c >= '1' && c <= '5') return QStringLiteral("North America");
    if (c == '6' || c == '7') return QStringLiteral("Oceania");
    if (c == '8' || c == '9' || c == '0') return QStringLiteral("South America");
    return {};
}

// Position 10 repeats every 30 years; a letter in position 7 marks the later cycle.
int modelYear(const QString& vin) {
    const qsizetype code = kYearCodes.indexOf(vin.at(9));
    if (code < 0) return 0;
    return 1980 + int(code) + (vin.at(6).isLetter() ? 30 : 0);
}

} // namespace

char vinCheckDigit(const QString& vin) {
    static const int weights[kVinLength] = {8, 7, 6, 5, 4, 3, 2, 10, 0, 9, 8, 7, 6, 5, 4, 3, 2};
    if (vin.size() != kVinLength) return '\0';
    int sum = 0;
    for (int i = 0; i < kVinLength; ++i) {
        const int value = transliterated(vin.at(i));
        if (value < 0) return '\0';
        sum += value * weights[i];
    }
    return sum % 11 == 10 ? 'X' : char('0' + sum % 11);
}

VinCheck checkVin(const QByteArray& raw) {
    VinCheck check;
    const TextItem text = itemText(raw);
    check.vin = text.text;
    if (!text.problem.isEmpty()) {
        check.problem = text.problem;
        return check;
    }
    if (check.vin.isEmpty()) {
        check.problem = QStringLiteral("the VIN is empty");
        return check;
    }
    if (check.vin.size() != kVinLength) {
        check.problem = QStringLiteral("the VIN has %1 characters, %2 expected").arg(check.vin.size()).arg(kVinLength);
        return check;
    }
    for (const QChar c : check.vin) {
        if (transliterated(c) < 0 || c == QLatin1Char('I') || c == QLatin1Char('O') || c == QLatin1Char('Q')) {
            check.problem = QStringLiteral("the VIN holds \"%1\", which no VIN does").arg(c);
            return check;
        }
    }
    check.region = regionOf(check.vin.at(0));
    check.year = modelYear(check.vin);
    check.checkDigitApplies = check.region == QStringLiteral("North America");
    check.checkDigitOk = !check.checkDigitApplies || vinCheckDigit(check.vin) == check.vin.at(8).toLatin1();
    return check;
}

QString vinSummary(const VinCheck& vin) {
    if (!vin.valid())
        return vin.vin.isEmpty() ? vin.problem : QStringLiteral("%1 (not a valid VIN: %2)").arg(vin.vin, vin.problem);
    QStringList parts;
    parts.append(vin.year ? QString::number(vin.year) : QStringLiteral("model year unknown"));
    if (!vin.region.isEmpty()) parts.append(vin.region);
    if (!vin.checkDigitOk) parts.append(QStringLiteral("check digit wrong"));
    return QStringLiteral("%1 (%2)").arg(vin.vin, parts.join(QStringLiteral(", ")));
}

} // namespace zelcor
