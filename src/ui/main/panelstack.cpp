#include "ui/main/panelstack.h"

#include "core/session.h"
#include "ui/config/setuppanelwidget.h"
#include "ui/definitions/parameterspanel.h"
#include "ui/dtc/dtcpanels.h"
#include "ui/instruments/instrumentpanels.h"
#include "ui/live/installlivepanels.h"
#include "ui/main/connectionpanel.h"
#include "ui/modules/allmodulespanel.h"
#include "ui/vehicle/vehiclepanels.h"
#include "ui/vehicleinfo/vehicleinfopanels.h"

#include <QBoxLayout>
#include <QLabel>

namespace zelcor {

namespace {

// A panel whose contents are not built yet: its frame and caption only.
PanelFrame* emptyPanel(Panel panel, QWidget* parent) {
    auto* frame = new PanelFrame(panel, parent);
    auto* layout = new QVBoxLayout(frame->body());
    if (panel == Panel::GeneralInfo) {
        // The heading of the controller list.
        auto* heading = new QLabel(QStringLiteral("Controller Addresses\nResponding to\nDiagnostics"), frame->body());
        heading->setObjectName(QStringLiteral("Label3"));
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        layout->addWidget(heading, 0, Qt::AlignRight | Qt::AlignTop);
    }
    layout->addStretch(1);
    return frame;
}

} // namespace

PanelStack::PanelStack(Session& session, QWidget* parent)
    : QStackedWidget(parent), session_(session), connectionPanel_(new ConnectionPanel(session, this)),
      setupPanel_(new SetupPanelWidget(session, this)) {
    setObjectName(QStringLiteral("panels"));
    addFrame(connectionPanel_);
    addFrame(setupPanel_);
    for (zelcor::Panel panel :
         {Panel::GeneralInfo, Panel::FuelSystems, Panel::Parameter, Panel::OxygenSensors, Panel::EngineSpeed,
          Panel::VehicleSpeed, Panel::TroubleCodes, Panel::FreezeFrame, Panel::Graphs, Panel::LiveData,
          Panel::VehicleInformation, Panel::TestResults, Panel::AllModules, Panel::Parameters})
        addFrame(emptyPanel(panel, this));
    installLivePanels(*this, session_);
    installVehiclePanels(*this, session_);
    installInstrumentPanels(*this, session_);
    installDtcPanels(*this, session_);
    installVehicleInfoPanels(*this, session_);
    installModulesPanel(*this, session_);
    installParametersPanel(*this, session_);

    connect(&session_.navigation(), &Navigation::panelChanged, this, &PanelStack::renderFrame);
    renderFrame();
}

void PanelStack::addFrame(PanelFrame* frame) {
    frames_[frame->panel()] = frame;
    addWidget(frame);
}

void PanelStack::renderFrame() {
    setCurrentWidget(frames_.at(session_.navigation().panel()));
}

} // namespace zelcor
