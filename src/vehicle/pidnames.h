#pragma once
// Display names of the mode 01 parameters, indexed by PID number 0..64.

#include <QString>

namespace zelcor {

// Highest PID that has a name slot.
inline constexpr int kLastNamedPid = 64;

// The display name of a PID; empty for PIDs 0 and 29 and outside 0..64.
QString pidname(int pid);

} // namespace zelcor
