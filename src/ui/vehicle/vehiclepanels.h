#pragma once
// Builds the General Info and status panels' contents into the main window's panel frames.

namespace zelcor {

class PanelStack;
class Session;

void installVehiclePanels(PanelStack& stack, Session& session);

} // namespace zelcor
