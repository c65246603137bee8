#include "live/rowschedule.h"

#include <algorithm>

namespace zelcor {

void RowSchedule::choose(int row, int interval) {
    Row& r = rows_[size_t(row)];
    r.choice = std::clamp(interval, 0, kSlowest);
    r.wait = 0;
}

void RowSchedule::setAutomatic(bool automatic) {
    if (automatic == automatic_) return;
    automatic_ = automatic;
    for (Row& r : rows_)
        if (r.choice == 0) r.wait = 0;
}

int RowSchedule::interval(int row) const {
    const Row& r = rows_[size_t(row)];
    return r.choice > 0 ? r.choice : automatic_ ? r.automatic : 1;
}

void RowSchedule::asked(int row, const QByteArray& data, bool answered) {
    Row& r = rows_[size_t(row)];
    if (!answered) {
        // No value to compare: asked again on the next pass.
        r.automatic = 1;
        r.known = false;
    } else {
        r.automatic = r.known && data == r.last ? std::min(r.automatic + 1, kSlowest) : 1;
        r.last = data;
        r.known = true;
    }
    r.wait = interval(row) - 1;
}

void RowSchedule::restart(int row) {
    Row& r = rows_[size_t(row)];
    r = Row{r.choice};
}

} // namespace zelcor
