#include "ui/instruments/instrumentpanels.h"

#include "ui/instruments/rpmpanelwidget.h"
#include "ui/instruments/speedpanelwidget.h"
#include "ui/main/panelstack.h"

namespace zelcor {

void installInstrumentPanels(PanelStack& stack, Session& session) {
    new RpmPanelWidget(session, stack.frame(Panel::D012));
    new SpeedPanelWidget(session, stack.frame(Panel::D013));
}

} // namespace zelcor
