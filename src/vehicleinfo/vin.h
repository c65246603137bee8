#pragma once
// The vehicle identification number: checked (length, allowed characters, the North
// American check digit) and its model year and maker's region read from their positions.

#include <QByteArray>
#include <QString>

namespace zelcor {

struct VinCheck {
    QString vin;                    // the characters as sent, padding removed ("?" for unprintable ones)
    QString problem;                // why it is no valid VIN; empty when it is one
    bool checkDigitApplies = false; // North American VINs carry a check digit in position 9
    bool checkDigitOk = false;
    int year = 0;   // model year from position 10; 0 when it cannot be read
    QString region; // "North America", "Europe" ... from position 1
    bool valid() const { return problem.isEmpty() && !vin.isEmpty(); }
};

// `raw`: the bytes of the item, leading and trailing 00 or FF padding allowed.
VinCheck checkVin(const QByteArray& raw);

// The check digit a VIN's other characters call for ('0'..'9' or 'X'); '\0' when a
// character has no value.
char vinCheckDigit(const QString& vin);

// "1ZC4S1M04N1000327 (2022, North America)", with "check digit wrong" when it is.
QString vinSummary(const VinCheck& vin);

} // namespace zelcor
