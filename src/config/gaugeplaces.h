#pragma once
// Where the user left each live-data gauge window (top-left corner on the desktop), kept in
// zelcor.ini beside setup.cfg, one key per row.

#include <QPoint>
#include <QString>
#include <optional>

namespace zelcor {

std::optional<QPoint> loadGaugePlace(const QString& folder, int row);
// False, with *error naming the file and why, when zelcor.ini could not be written.
bool saveGaugePlace(const QString& folder, int row, QPoint place, QString* error = nullptr);
// Every row's gauge goes back to the place the program chooses.
bool forgetGaugePlaces(const QString& folder, QString* error = nullptr);

} // namespace zelcor
