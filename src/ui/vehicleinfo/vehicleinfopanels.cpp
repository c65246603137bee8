#include "ui/vehicleinfo/vehicleinfopanels.h"

#include "core/session.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"
#include "ui/vehicleinfo/reporttextpanel.h"

namespace zelcor {

void installVehicleInfoPanels(PanelStack& stack, Session& session) {
    VehicleInfo& info = session.vehicleInfo();
    auto* infoPanel = new ReportTextPanel(
        QStringLiteral("vehicleInfo"),
        {[&info] { return info.infoText(); }, [&info] { info.copyInfo(); }, [&info] { info.saveInfo(); }});
    auto* testsPanel = new ReportTextPanel(
        QStringLiteral("testResults"),
        {[&info] { return info.testsText(); }, [&info] { info.copyTests(); }, [&info] { info.saveTests(); }});
    QObject::connect(&info, &VehicleInfo::infoChanged, infoPanel, &ReportTextPanel::render);
    QObject::connect(&info, &VehicleInfo::testsChanged, testsPanel, &ReportTextPanel::render);
    stack.frame(Panel::VehicleInformation)->fill(infoPanel);
    stack.frame(Panel::TestResults)->fill(testsPanel);
}

} // namespace zelcor
