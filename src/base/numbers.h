#pragma once
// Number rules shared by every decoder and settings reader: text to number,
// hexadecimal text, rounding, 16-bit integer conversion and label steps.

#include <QString>
#include <optional>

namespace zelcor {

// The leading number of a text: blanks anywhere are ignored, reading stops at the
// first character that cannot continue a number; no number gives 0.
// Accepts a sign, a decimal point, an exponent (E or D) and the prefixes &H and &O.
double leadingNumber(const QString& text);

// Hexadecimal digits to an unsigned number: "FF" = 255, "FFFF" = 65535.
// Empty text gives 0; reading stops at the first non-hex character.
quint64 hexNumber(const QString& text);

// Two hexadecimal digits of `text` starting at the 1-based position `pos`, as 0..255.
// Missing digits read as 0 (an empty text converts to 0).
int hexByteAt(const QString& text, int pos);

// Nearest whole number, halves to the even neighbour (1726.5 gives 1726).
double roundHalfEven(double x);

// Conversion to a 16-bit integer, rounding halves to even; no value on overflow
// (outside -32768..32767).
std::optional<qint16> toInt16(double x);

// Two upper-case hex digits of 0..255 ("0A").
QString hexByte(int byte);

// The step between labels on a scale or axis over `span` (> 0): 1, 2 or 5 times a
// power of ten that cuts the span into about five parts (span 100 gives 20).
double roundStep(double span);

} // namespace zelcor
