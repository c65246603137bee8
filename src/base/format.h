#pragma once
// Number to text: the format patterns of the displays and files ("##0.0",
// "0.00", "#.0#", ...) and the general number form used where no pattern is given.

#include <QString>

namespace zelcor {

// Formats `x` by a digit pattern: '0' is a digit always shown, '#' a digit shown only
// when significant, '.' the decimal point (always shown when the pattern has one).
// Rounds halves away from zero on the decimal value (2.675 with "0.00" gives 2.68).
// An empty pattern gives the general form.
QString formatNumber(double x, const QString& pattern);

// Shortest general form of a double: up to 15 significant digits, no trailing zeros,
// exponent form ("1E+16", "1E-05") for very large or small magnitudes.
QString generalNumber(double x);

// The same for a single-precision value: up to 7 significant digits.
QString generalSingle(float x);

// "0." followed by `decimals` zeros ("0." alone for 0).
QString zerosPattern(int decimals);

} // namespace zelcor
