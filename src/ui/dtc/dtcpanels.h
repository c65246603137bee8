#pragma once
// Puts the trouble code and freeze frame panels into their frames of the main window.

namespace zelcor {

class PanelStack;
class Session;

void installDtcPanels(PanelStack& stack, Session& session);

} // namespace zelcor
