#include "config/gaugeplaces.h"

#include "config/programini.h"

#include <QSettings>

namespace zelcor {

namespace {

const QString kGroup = QStringLiteral("gauges");

QString key(int row) {
    return kGroup + QLatin1Char('/') + QString::number(row);
}

} // namespace

std::optional<QPoint> loadGaugePlace(const QString& folder, int row) {
    const QSettings ini(programIniPath(folder), QSettings::IniFormat);
    const QVariant value = ini.value(key(row));
    // Written as "x,y"; anything else (a hand edit) counts as no place.
    const QStringList parts = value.toStringList();
    if (parts.size() != 2) return std::nullopt;
    bool xOk = false, yOk = false;
    const QPoint place(parts[0].trimmed().toInt(&xOk), parts[1].trimmed().toInt(&yOk));
    if (!xOk || !yOk) return std::nullopt;
    return place;
}

bool saveGaugePlace(const QString& folder, int row, QPoint place, QString* error) {
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    ini.setValue(key(row), QStringList{QString::number(place.x()), QString::number(place.y())});
    return syncProgramIni(ini, error);
}

bool forgetGaugePlaces(const QString& folder, QString* error) {
    QSettings ini(programIniPath(folder), QSettings::IniFormat);
    ini.remove(kGroup);
    return syncProgramIni(ini, error);
}

} // namespace zelcor
