#include "ui/live/channelcombo.h"

#include "base/listentry.h"

#include <QComboBox>

namespace zelcor {

void showChannelNames(QComboBox* combo, const QList<ListEntry>& entries) {
    QStringList names;
    names.reserve(entries.size());
    for (const ListEntry& entry : entries)
        names << entry.name;
    QStringList shown;
    for (int k = 0; k < combo->count(); ++k)
        shown << combo->itemText(k);
    if (shown != names) {
        combo->clear();
        combo->addItems(names);
    }
}

} // namespace zelcor
