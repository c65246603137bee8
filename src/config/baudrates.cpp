#include "config/baudrates.h"

#include "config/programini.h"

#include <QSettings>

namespace zelcor {

namespace {
const QString kRatesKey = QStringLiteral("adapter/baudRates");
const QString kLearnedGroup = QStringLiteral("adapterBaudRates");
const QString kDefaultRates = QStringLiteral("38400,115200,9600,230400,57600,500000");

// A device path as an ini key: the separators QSettings treats as groups are replaced.
QString deviceKey(const QString& device) {
    QString key = device.trimmed();
    key.replace(QLatin1Char('/'), QLatin1Char('|')).replace(QLatin1Char('\\'), QLatin1Char('|'));
    return kLearnedGroup + QLatin1Char('/') + key;
}

bool plausible(int baud) {
    return baud >= 300 && baud <= 4000000;
}
} // namespace

QList<int> baudRatesToTry(const QString& folder, const QString& device) {
    const QSettings ini(programIniPath(folder), QSettings::IniFormat);
    QList<int> rates;
    bool ok = false;
    const int learned = device.trimmed().isEmpty() ? 0 : ini.value(deviceKey(device)).toInt(&ok);
    if (ok && plausible(learned)) rates.append(learned);
    // QSettings reads an unquoted comma list as a string list.
    const QVariant configured = ini.value(kRatesKey, kDefaultRates);
    const QStringList entries = configured.typeId() == QMetaType::QStringList
                                    ? configured.toStringList()
                                    : configured.toString().split(QLatin1Char(','));
    for (const QString& entry : entries) {
        const int baud = entry.trimmed().toInt(&ok);
        if (ok && plausible(baud) && !rates.contains(baud)) rates.append(baud);
    }
    if (rates.isEmpty()) rates.append(38400);
    return rates;
}

void rememberBaudRate(const QString& folder, const QString& device, int baud) {
    if (device.trimmed().isEmpty() || !plausible(baud)) return;
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    if (ini.value(deviceKey(device)).toInt() == baud) return;
    ini.setValue(deviceKey(device), baud);
    syncProgramIni(ini, nullptr);
}

} // namespace zelcor
