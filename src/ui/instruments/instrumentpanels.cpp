#include "ui/instruments/instrumentpanels.h"

#include "core/session.h"
#include "ui/instruments/rpmpanelwidget.h"
#include "ui/instruments/speedpanelwidget.h"
#include "ui/main/panelstack.h"

namespace zelcor {

void installInstrumentPanels(PanelStack& stack, Session& session) {
    new RpmPanelWidget(session.instruments(), stack.frame(Panel::EngineSpeed));
    new SpeedPanelWidget(session.instruments(), session.settings(), stack.frame(Panel::VehicleSpeed));
}

} // namespace zelcor
