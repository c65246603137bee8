#include "config/programini.h"

#include "base/programfolder.h"

#include <QDir>
#include <QSettings>

namespace zelcor {

QString programIniPath(const QString& folder) {
    return inFolder(folder, QStringLiteral("zelcor.ini"));
}

bool syncProgramIni(QSettings& ini, QString* error) {
    ini.sync();
    if (ini.status() == QSettings::NoError) return true;
    if (error)
        *error = QStringLiteral("%1 cannot be written (is the folder writable, is the disk full?)")
                     .arg(QDir::toNativeSeparators(ini.fileName()));
    return false;
}

} // namespace zelcor
