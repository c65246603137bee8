#include "live/channelstate.h"

#include "core/listentry.h"

namespace zelcor {

int ChannelSelector::code() const { return index >= 0 && index < entries.size() ? entryCode(entries.at(index)) : 0; }

} // namespace zelcor
