#pragma once
// Trouble codes from the replies to a service 03 (stored) or 07 (pending) request, as
// list items.

#include "link/reply.h"

#include <QString>
#include <QStringList>

namespace zelcor {

// Blanks between the code and the reporting controller's address in a list item.
inline constexpr int codeItemGap = 7;
// Closing item of every list of codes that was read.
inline const QString endOfListItem = QStringLiteral("--- End of list ---");
// Item shown while the codes are read.
inline const QString readingItem = QStringLiteral("--- Reading ---");

// The code items of the replies of every controller, in order: code, seven blanks, the
// controller's address in decimal ("P0133       16").
// `reply`: the lines separated by CR, blanks, LF and ">" removed, headers on.
// `service`: 3 (stored codes) or 7 (pending codes).
QStringList troubleCodeItems(const QString& reply, HeaderLayout layout, int service);

// The code items followed by the empty item and "--- End of list ---": the list as shown.
QStringList troubleCodeList(const QString& reply, HeaderLayout layout, int service);

} // namespace zelcor
