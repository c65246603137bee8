#pragma once
// Puts the Vehicle Information and Test Results panels into their frames.

namespace zelcor {

class PanelStack;
class Session;

void installVehicleInfoPanels(PanelStack& stack, Session& session);

} // namespace zelcor
