// The engine-speed and speed panels' passes.

#include "core/session.h"

namespace zelcor {

void Session::rpmPass() { FRAME(Panel::D012); }

void Session::speedPass() { FRAME(Panel::D013); }

} // namespace zelcor

namespace zelcor {

void Session::Command10_Click() {}

} // namespace zelcor
