#include "base/datetime.h"

namespace zelcor {

namespace {

QString longTimeFormat(const QLocale& locale) {
    QString f = locale.timeFormat(QLocale::LongFormat);
    // Drop the time-zone field ("t" / "tttt") and the blanks around it.
    QString out;
    bool quoted = false;
    for (int i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        out += c;
    }
    return out.simplified();
}

QString shortDateFormat(const QLocale& locale) {
    QString f = locale.dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

} // namespace

QString dateTimeText(const QDateTime& when, const QLocale& locale) {
    return locale.toString(when.date(), shortDateFormat(locale)) + QLatin1Char(' ') + timeText(when.time(), locale);
}

QString timeText(const QTime& when, const QLocale& locale) {
    return locale.toString(when, longTimeFormat(locale));
}

} // namespace zelcor
