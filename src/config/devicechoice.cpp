#include "config/devicechoice.h"

#include "config/programini.h"

#include <QSettings>

namespace zelcor {

namespace {
const QString kKey = QStringLiteral("adapter/device");
} // namespace

QString loadDeviceChoice(const QString& folder) {
    return QSettings(programIniPath(folder), QSettings::IniFormat).value(kKey).toString().trimmed();
}

bool saveDeviceChoice(const QString& folder, const QString& device, QString* error) {
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    if (device.trimmed().isEmpty())
        ini.remove(kKey);
    else
        ini.setValue(kKey, device.trimmed());
    return syncProgramIni(ini, error);
}

} // namespace zelcor
