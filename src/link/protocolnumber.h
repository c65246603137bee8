#pragma once
// The number of the protocol the adapter describes (its ATDP text, "AUTO, ISO 15765-4
// (CAN 11/500)"), as ATSP takes it; 0 when the text names none of them.

#include <QString>

namespace zelcor {

inline int protocolNumber(const QString& described) {
    static const struct {
        const char* name;
        int number;
    } protocols[] = {{"J1850 PWM", 1},           {"J1850 VPW", 2},          {"9141", 3},
                     {"14230-4 (KWP 5BAUD)", 4}, {"14230-4 (KWP FAST)", 5}, {"CAN 11/500", 6},
                     {"CAN 29/500", 7},          {"CAN 11/250", 8},         {"CAN 29/250", 9}};
    for (const auto& protocol : protocols)
        if (described.contains(QLatin1String(protocol.name), Qt::CaseInsensitive)) return protocol.number;
    return 0;
}

} // namespace zelcor
