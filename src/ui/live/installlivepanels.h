#pragma once
// Puts the live-data and graph panels into their frames of the main window.

namespace zelcor {

class PanelStack;
class Session;

void installLivePanels(PanelStack& stack, Session& session);

} // namespace zelcor
