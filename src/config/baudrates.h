#pragma once
// The line rates tried on a serial port, and the rate each device answered at, kept in
// zelcor.ini so that the next connection starts with it.

#include <QList>
#include <QString>

namespace zelcor {

// The rates to try on `device`, in order: the one it last answered at first, then the
// configured list ("adapter/baudRates", 38400 first by default). Unreadable entries are skipped.
QList<int> baudRatesToTry(const QString& folder, const QString& device);
// Remembers that the adapter on `device` answered at `baud`.
void rememberBaudRate(const QString& folder, const QString& device, int baud);

} // namespace zelcor
