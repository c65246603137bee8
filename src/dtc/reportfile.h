#pragma once
// Saving a report the way every report is saved: a tip, the save dialog, then the text
// appended to the chosen file.

#include "base/host.h"

#include <QString>
#include <functional>

namespace zelcor {

// The TIP box naming `what`, the save dialog for `kind` proposing `defaultName` in
// `programFolder`, then `report` appended to the chosen file (".txt" added); false when the
// dialog was cancelled. A file that cannot be written is said so in a message box.
bool appendReportFile(Host& host, FileKind kind, const QString& programFolder, const QString& what,
                      const QString& defaultName, const std::function<QString()>& report);

} // namespace zelcor
