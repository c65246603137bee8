#include "ui/vehicleinfo/vehicleinfopanels.h"

#include "core/session.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"
#include "ui/vehicleinfo/reporttextpanel.h"

#include <QBoxLayout>

namespace zelcor {

namespace {

void fill(PanelFrame* frame, QWidget* content) {
    QWidget* body = frame->body();
    auto* layout = qobject_cast<QBoxLayout*>(body->layout());
    if (!layout) layout = new QVBoxLayout(body);
    for (int i = layout->count() - 1; i >= 0; --i)
        if (layout->itemAt(i)->spacerItem()) delete layout->takeAt(i);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(body);
    layout->addWidget(content, 1);
}

} // namespace

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
    fill(stack.frame(Panel::VehicleInformation), infoPanel);
    fill(stack.frame(Panel::TestResults), testsPanel);
}

} // namespace zelcor
