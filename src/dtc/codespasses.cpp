// The trouble code, erase and freeze frame passes.

#include "core/session.h"

namespace zelcor {

void Session::codesPass() {
    FRAME(Panel::D03);
    if (funccode == 254)
        funccode = 255;
}

void Session::erasePass() {
    if (stopflag)
        return;
    funccode = 254;
}

void Session::freezeFramePass() {
    FRAME(Panel::D0200);
    funccode = 255;
}

} // namespace zelcor

namespace zelcor {

void Session::List5_Click(int) {}
void Session::List6_Click(int) {}
void Session::Command4_Click() {}
void Session::Command5_Click() {}
void Session::Command6_Click() {}
void Session::Command11_Click() {}
void Session::Command21_Click() {}

} // namespace zelcor
