#pragma once
// An entry of the function list or of a channel selector: the name shown and the code
// it stands for (a function code, a PID, or a derived channel's code).

#include <QString>

namespace zelcor {

struct ListEntry {
    QString name;
    int code = 0;
    bool operator==(const ListEntry&) const = default;
};

} // namespace zelcor
