#pragma once
// Shows a channel selector's entries (names only) in a combo box.

#include "base/listentry.h"

#include <QList>

class QComboBox;

namespace zelcor {

// Refills `combo` with the names of `entries` unless it already shows exactly them.
void showChannelNames(QComboBox* combo, const QList<ListEntry>& entries);

} // namespace zelcor
