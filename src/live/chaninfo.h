#pragma once
// Name, units, range, scale spacings and decimals of every live channel code (graph axes, log headers).

#include "config/settings.h"

#include <QString>

namespace zelcor {

struct ChannelInfo {
    QString name; // the O2 voltage names hold two lines joined by CR LF
    QString units;
    double minimum = 0;
    double maximum = 0;
    double tick = 0;
    double step = 0;
    int decimals = 0; // -1 for a value that is text
};

// Fills `info` for a mode 01 PID code or a derived channel (997..999), picking the
// variant of the unit settings. Returns false, leaving `info` untouched, for codes
// that have no entry.
bool chaninfo(int code, const Settings& settings, ChannelInfo& info);

} // namespace zelcor
