#pragma once
// Date and time of day in the system's default text forms (trace log, reports, CSV log).

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace zelcor {

// General date-and-time form: short date with a four-digit year and the long time,
// e.g. "12/5/2026 7:30:00 AM" in the United States locale.
QString dateTimeText(const QDateTime& when, const QLocale& locale = QLocale());

// Time of day in the locale's long time form without a time zone, e.g. "7:23:08 PM".
QString timeText(const QTime& when, const QLocale& locale = QLocale());

} // namespace zelcor
