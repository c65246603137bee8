#include "core/listentry.h"

#include "base/numbers.h"

namespace zelcor {

QString listEntry(const QString& name, int code) { return name + QString(60, QLatin1Char(' ')) + QString::number(code); }

int entryCode(const QString& entry) { return int(val(entry.right(3).trimmed())); }

QString entryName(const QString& entry) {
    const int blanks = entry.indexOf(QString(60, QLatin1Char(' ')));
    return blanks < 0 ? entry : entry.left(blanks);
}

} // namespace zelcor
