#include "ui/vehicle/vehiclepanels.h"

#include "core/session.h"
#include "ui/main/panelstack.h"
#include "ui/vehicle/fuelsystemwidget.h"
#include "ui/vehicle/generalinfowidget.h"
#include "ui/vehicle/oxygenwidget.h"
#include "ui/vehicle/parameterpanelwidget.h"

namespace zelcor {

void installVehiclePanels(PanelStack& stack, Session& session) {
    VehicleStatus& vehicle = session.vehicle();
    new GeneralInfoWidget(
        vehicle, [&session](int index) { session.chooseController(index); }, stack.frame(Panel::GeneralInfo));
    new FuelSystemWidget(vehicle, stack.frame(Panel::FuelSystems));
    new ParameterPanelWidget(vehicle, stack.frame(Panel::Parameter));
    new OxygenWidget(vehicle, stack.frame(Panel::OxygenSensors));
}

} // namespace zelcor
