#include "config/adaptermemory.h"

#include "config/programini.h"

#include <QSettings>

namespace zelcor {

namespace {
const QString kGroup = QStringLiteral("adapters");
const QString kFasterRateKey = QStringLiteral("adapter/fasterBaudRate");
constexpr int kFasterRate = 115200;

// A device path as an ini group: the separators QSettings treats as groups are replaced.
QString groupOf(const QString& device) {
    QString key = device.trimmed();
    key.replace(QLatin1Char('/'), QLatin1Char('|')).replace(QLatin1Char('\\'), QLatin1Char('|'));
    return kGroup + QLatin1Char('/') + key + QLatin1Char('/');
}

QStringList listAt(const QSettings& ini, const QString& key) {
    // QSettings reads a one-item list back as a string, an empty one as nothing.
    const QVariant value = ini.value(key);
    QStringList items =
        value.typeId() == QMetaType::QStringList ? value.toStringList() : value.toString().split(QLatin1Char(','));
    items.removeAll(QString());
    return items;
}
} // namespace

QString rememberedBanner(const QString& folder, const QString& device) {
    if (device.trimmed().isEmpty()) return {};
    return QSettings(programIniPath(folder), QSettings::IniFormat).value(groupOf(device) + "banner").toString();
}

std::optional<RememberedAdapter> loadRememberedAdapter(const QString& folder, const QString& device,
                                                       const QString& banner) {
    if (device.trimmed().isEmpty() || banner.isEmpty()) return std::nullopt;
    const QSettings ini(programIniPath(folder), QSettings::IniFormat);
    const QString group = groupOf(device);
    if (ini.value(group + "banner").toString() != banner) return std::nullopt;
    RememberedAdapter adapter;
    adapter.banner = banner;
    adapter.chip = ini.value(group + "chip").toString();
    adapter.firmware = ini.value(group + "firmware").toString();
    adapter.works = listAt(ini, group + "works");
    adapter.refused = listAt(ini, group + "refused");
    return adapter;
}

void rememberAdapter(const QString& folder, const QString& device, const RememberedAdapter& adapter) {
    if (device.trimmed().isEmpty() || adapter.banner.isEmpty()) return;
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    const QString group = groupOf(device);
    ini.setValue(group + "banner", adapter.banner);
    ini.setValue(group + "chip", adapter.chip);
    ini.setValue(group + "firmware", adapter.firmware);
    ini.setValue(group + "works", adapter.works.join(QLatin1Char(',')));
    ini.setValue(group + "refused", adapter.refused.join(QLatin1Char(',')));
    syncProgramIni(ini, nullptr);
}

int loadFasterBaudRate(const QString& folder) {
    bool ok = false;
    const int baud =
        QSettings(programIniPath(folder), QSettings::IniFormat).value(kFasterRateKey, kFasterRate).toInt(&ok);
    return ok && baud >= 0 ? baud : kFasterRate;
}

bool saveFasterLine(const QString& folder, bool on, QString* error) {
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    if (!on)
        ini.setValue(kFasterRateKey, 0);
    else if (ini.value(kFasterRateKey).toInt() <= 0)
        ini.remove(kFasterRateKey);
    return syncProgramIni(ini, error);
}

} // namespace zelcor
