#include "ui/live/channelcombo.h"

#include "core/listentry.h"

#include <QComboBox>

namespace zelcor {

void showChannelNames(QComboBox* combo, const QStringList& entries) {
    QStringList names;
    names.reserve(entries.size());
    for (const QString& entry : entries)
        names << entryName(entry);
    QStringList shown;
    for (int k = 0; k < combo->count(); ++k)
        shown << combo->itemText(k);
    if (shown != names) {
        combo->clear();
        combo->addItems(names);
    }
}

} // namespace zelcor
