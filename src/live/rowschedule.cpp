#include "live/rowschedule.h"

#include <algorithm>

namespace zelcor {

bool isQuickChannel(int code) {
    switch (code) {
    case 0x04: // calculated load
    case 0x0B: // intake manifold pressure
    case 0x0C: // engine speed
    case 0x0D: // vehicle speed
    case 0x10: // air flow
    case 0x11: // throttle position
    case 0x45: // relative throttle position
    case 0x47: // absolute throttle position B
    case 0x49: // accelerator pedal position D
    case 0x4A: // accelerator pedal position E
    case 0x4C: // commanded throttle actuator
        return true;
    default:
        return false;
    }
}

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

void RowSchedule::asked(int row, const QByteArray& data, bool answered, bool quick) {
    Row& r = rows_[size_t(row)];
    if (!answered || quick) {
        // No value to compare, or one that may jump at any time: asked again on the next pass.
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
    const int choice = r.choice;
    r = Row{};
    r.choice = choice;
}

} // namespace zelcor
