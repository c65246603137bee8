#pragma once
// Entries of the function list and the channel selectors: the display name, 60 blanks,
// then a code in decimal; the code is read back from the last three characters.

#include <QString>

namespace zelcor {

QString listEntry(const QString& name, int code);
// The code of an entry: the number in its last three characters, trimmed (0 when none).
int entryCode(const QString& entry);
// The display name of an entry (the text before the 60 blanks).
QString entryName(const QString& entry);

} // namespace zelcor
