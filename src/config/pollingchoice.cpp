#include "config/pollingchoice.h"

#include "base/programfolder.h"

#include <QSettings>

namespace zelcor {

namespace {
const QString kKey = QStringLiteral("polling/fast");

QString iniPath(const QString& folder) {
    return inFolder(folder, QStringLiteral("zelcor.ini"));
}
} // namespace

bool loadFastPolling(const QString& folder) {
    const QSettings ini(iniPath(folder), QSettings::IniFormat);
    return ini.value(kKey, true).toBool();
}

bool saveFastPolling(const QString& folder, bool fast, QString* error) {
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    ini.setValue(kKey, fast);
    ini.sync();
    if (ini.status() == QSettings::NoError) return true;
    if (error) *error = QStringLiteral("%1 could not be written").arg(iniPath(folder));
    return false;
}

} // namespace zelcor
