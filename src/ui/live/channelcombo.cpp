#include "ui/live/channelcombo.h"

#include "base/listentry.h"

#include <QAbstractItemView>
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
        // A name wider than the box is cut off there: the list and the tooltip show it whole.
        for (int k = 0; k < combo->count(); ++k)
            combo->setItemData(k, names[k], Qt::ToolTipRole);
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 24);
        if (!combo->property("namesInTooltip").toBool()) {
            combo->setProperty("namesInTooltip", true);
            QObject::connect(combo, &QComboBox::currentTextChanged, combo, &QComboBox::setToolTip);
        }
    }
    combo->setToolTip(combo->currentText());
}

} // namespace zelcor
