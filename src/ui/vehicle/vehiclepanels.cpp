#include "ui/vehicle/vehiclepanels.h"

#include "ui/main/panelstack.h"
#include "ui/vehicle/fuelsystemwidget.h"
#include "ui/vehicle/generalinfowidget.h"
#include "ui/vehicle/oxygenwidget.h"
#include "ui/vehicle/textpanelwidget.h"

namespace zelcor {

void installVehiclePanels(PanelStack& stack, Session& session) {
    new GeneralInfoWidget(session, stack.frame(Panel::D0101));
    new FuelSystemWidget(session, stack.frame(Panel::D0103));
    new TextPanelWidget(session, stack.frame(Panel::D0104));
    new OxygenWidget(session, stack.frame(Panel::D0113));
}

} // namespace zelcor
