#include "obd/troublecode.h"

namespace zelcor {

QString troubleCodeText(int code) {
    if (code <= 0 || code > 0xFFFF) return {};
    // The top two bits give the system, the next two the first digit.
    static const char systems[] = {'P', 'C', 'B', 'U'};
    const QString digits = QStringLiteral("%1").arg(code & 0x3FFF, 4, 16, QLatin1Char('0')).toUpper();
    return QLatin1Char(systems[code >> 14]) + digits;
}

} // namespace zelcor
