#pragma once
// zelcor.ini: the program's own choices, kept beside setup.cfg in the data folder (setup.cfg
// keeps its ten lines).

#include <QString>

class QSettings;

namespace zelcor {

QString programIniPath(const QString& folder);

// Writes `ini` out; false, with *error naming the file and why, when it could not be written.
bool syncProgramIni(QSettings& ini, QString* error);

} // namespace zelcor
