#pragma once
// Shows a channel selector's entries (names only) in a combo box.

#include <QStringList>

class QComboBox;

namespace zelcor {

// Refills `combo` with the names of `entries` unless it already shows exactly them.
void showChannelNames(QComboBox* combo, const QStringList& entries);

} // namespace zelcor
