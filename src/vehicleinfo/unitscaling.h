#pragma once
// The unit and scaling IDs of the on-board monitoring test results: for each, whether
// the two-byte values are signed, the factor and offset to the unit, and the unit.

#include <QString>
#include <optional>

namespace zelcor {

struct UnitScaling {
    int id = 0;
    bool isSigned = false;
    double factor = 1;
    double offset = 0;
    const char* units = ""; // empty: a plain number
};

// The row of `id`; nothing for an ID the table does not know.
std::optional<UnitScaling> unitScaling(int id);

// A raw two-byte value in the unit of `scaling`.
double scaledValue(const UnitScaling& scaling, quint16 raw);

} // namespace zelcor
