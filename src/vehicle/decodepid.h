#pragma once
// Turns a mode 01 parameter reply into display text, value, gauge position, decimals, units and range.

#include "config/settings.h"

#include <QString>
#include <optional>

namespace zelcor {

// The outputs of one decode besides the text. `needle` is the round-gauge position
// (0..100), -1 when the parameter gives none. Fields a parameter does not produce
// keep whatever the caller left in them.
struct PidOutputs {
    double needle = -1;
    std::optional<double> value;
    std::optional<int> decimals; // -1 for a value that is text
    QString units;
    QString range; // "low~high"
};

// Decodes the normalised reply line `reply` (characters 5-6 the controller address,
// 7-8 "41", 9-10 the PID, data bytes from character 11) of parameter `pid`.
// Returns the display text; empty when the reply is not `ecuaddr` + "41" + PID or the
// parameter is not decoded. PID 02 (freeze frame trouble code) is not checked: the
// caller matches its reply and rewrites it into this form.
QString decodepid(int pid, const QString& reply, const QString& ecuaddr, const Settings& settings, PidOutputs& out);

// The fuel system status text of PID 03 for the data bytes A and B.
QString fuelSystemStatusText(int a, int b);

// The secondary air status text of PID 12 for data byte A.
QString secondaryAirText(int a);

} // namespace zelcor
