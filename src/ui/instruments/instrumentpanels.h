#pragma once
// Builds the engine speed and vehicle speed panels' contents into the main window's frames.

namespace zelcor {

class PanelStack;
class Session;

void installInstrumentPanels(PanelStack& stack, Session& session);

} // namespace zelcor
