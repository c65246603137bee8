// The live-data and graph passes.

#include "core/session.h"

namespace zelcor {

void Session::livePass() { FRAME(Panel::D250); }

void Session::graphPass() { FRAME(Panel::D240); }

} // namespace zelcor

namespace zelcor {

void Session::Check1_Click(int) {}
void Session::Check2_Click(int) {}
void Session::Combo1_Click(int) {}
void Session::Combo9_Click(int) {}
void Session::Command18_Click(int) {}

} // namespace zelcor
