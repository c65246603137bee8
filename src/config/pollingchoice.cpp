#include "config/pollingchoice.h"

#include "config/programini.h"

#include <QSettings>

namespace zelcor {

namespace {
const QString kKey = QStringLiteral("polling/fast");
} // namespace

bool loadFastPolling(const QString& folder) {
    const QSettings ini(programIniPath(folder), QSettings::IniFormat);
    return ini.value(kKey, true).toBool();
}

bool saveFastPolling(const QString& folder, bool fast, QString* error) {
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    ini.setValue(kKey, fast);
    return syncProgramIni(ini, error);
}

} // namespace zelcor
