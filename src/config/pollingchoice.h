#pragma once
// Fast polling switched on or off, kept in zelcor.ini beside setup.cfg (on unless the
// user switched it off).

#include <QString>

namespace zelcor {

bool loadFastPolling(const QString& folder);
// False, with *error naming the file and why, when zelcor.ini could not be written.
bool saveFastPolling(const QString& folder, bool fast, QString* error = nullptr);

} // namespace zelcor
