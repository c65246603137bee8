#include "live/channels.h"

namespace zelcor {

bool ChannelSelector::selectCode(int code) {
    int found = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).code == code) {
            found = i;
            break;
        }
    }
    const bool changed = found != index;
    index = found;
    return changed;
}

} // namespace zelcor
