#include "config/devicechoice.h"

#include "base/programfolder.h"

#include <QDir>
#include <QSettings>

namespace zelcor {

namespace {
const QString kKey = QStringLiteral("adapter/device");

QString iniPath(const QString& folder) {
    return inFolder(folder, QStringLiteral("zelcor.ini"));
}
} // namespace

QString loadDeviceChoice(const QString& folder) {
    return QSettings(iniPath(folder), QSettings::IniFormat).value(kKey).toString().trimmed();
}

bool saveDeviceChoice(const QString& folder, const QString& device, QString* error) {
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    if (device.trimmed().isEmpty())
        ini.remove(kKey);
    else
        ini.setValue(kKey, device.trimmed());
    ini.sync();
    if (ini.status() == QSettings::NoError) return true;
    if (error)
        *error = QStringLiteral("%1 cannot be written (is the folder writable, is the disk full?)")
                     .arg(QDir::toNativeSeparators(iniPath(folder)));
    return false;
}

} // namespace zelcor
