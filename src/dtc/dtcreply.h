#pragma once
// Trouble codes from the reply to a service 03 (stored) or 07 (pending) request, as list items.

#include <QString>
#include <QStringList>

namespace zelcor {

// Blanks between the code and the reporting controller's address in a list item.
inline constexpr int codeItemGap = 7;
// Closing item of every list of codes that was read.
inline const QString endOfListItem = QStringLiteral("--- End of list ---");
// Item shown while the codes are read.
inline const QString readingItem = QStringLiteral("--- Reading ---");

// The five-character form of a code from its four hexadecimal digits ("0133" gives
// "P0133", "D001" gives "U1001"). Empty for the "0000" filler and for anything that
// is not four hexadecimal digits.
QString troubleCodeText(const QString& digits);

// The code items of one reply, in order: code, seven blanks, the controller address
// in decimal ("P0133       16").
// `reply`: the lines of the reply separated by CR, blanks, LF and ">" removed, headers on.
// `hdrformat`: 2 CAN 11-bit, 7 CAN 29-bit, anything else a legacy three-byte header.
// `service`: 3 (stored codes) or 7 (pending codes).
QStringList troubleCodeItems(const QString& reply, int hdrformat, int service);

// The code items followed by the empty item and "--- End of list ---": the list as shown.
QStringList troubleCodeList(const QString& reply, int hdrformat, int service);

} // namespace zelcor
