#include "app/scanhost.h"

#include <cstdio>

namespace zelcor {

MessageAnswer ScanHost::message(const QString& text, const QString& title, MessageIcon, MessageButtons buttons,
                                MessageAnswer defaultAnswer) {
    const MessageAnswer answer = buttons == MessageButtons::YesNo ? defaultAnswer : MessageAnswer::Ok;
    if (said_.contains(title + text)) return answer;
    said_.insert(title + text);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "%s%s\n", title.isEmpty() ? "" : qPrintable(title + QStringLiteral(": ")), qPrintable(shown));
    std::fflush(stderr);
    return answer;
}

} // namespace zelcor
