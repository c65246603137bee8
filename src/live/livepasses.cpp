// The live-data and graph passes.

#include "core/session.h"

namespace zelcor {

void Session::livePass() { FRAME(Panel::D250); }

void Session::graphPass() { FRAME(Panel::D240); }

} // namespace zelcor
