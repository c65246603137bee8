#include "core/panels.h"

namespace zelcor {

QString panelName(Panel panel) {
    switch (panel) {
    case Panel::Connection:
        return QStringLiteral("Frame1");
    case Panel::Setup:
        return QStringLiteral("Frame2");
    case Panel::GeneralInfo:
        return QStringLiteral("D0101");
    case Panel::FuelSystems:
        return QStringLiteral("D0103");
    case Panel::Parameter:
        return QStringLiteral("D0104");
    case Panel::OxygenSensors:
        return QStringLiteral("D0113");
    case Panel::EngineSpeed:
        return QStringLiteral("D012");
    case Panel::VehicleSpeed:
        return QStringLiteral("D013");
    case Panel::TroubleCodes:
        return QStringLiteral("D03");
    case Panel::FreezeFrame:
        return QStringLiteral("D0200");
    case Panel::Graphs:
        return QStringLiteral("D240");
    case Panel::LiveData:
        return QStringLiteral("D250");
    case Panel::VehicleInformation:
        return QStringLiteral("vehicleInformationPanel");
    case Panel::TestResults:
        return QStringLiteral("testResultsPanel");
    case Panel::AllModules:
        return QStringLiteral("allModulesPanel");
    case Panel::Parameters:
        return QStringLiteral("parametersPanel");
    }
    return {};
}

QString panelCaption(Panel panel) {
    switch (panel) {
    case Panel::Connection:
        return QString();
    case Panel::Setup:
        return QStringLiteral(" Setup ");
    case Panel::GeneralInfo:
        return QStringLiteral(" General Info ");
    case Panel::FuelSystems:
        return QStringLiteral("Fuel Systems Status");
    case Panel::Parameter:
        return QStringLiteral(" Calculated Load Value ");
    case Panel::OxygenSensors:
        return QStringLiteral("Oxygen Sensors Data");
    case Panel::EngineSpeed:
        return QStringLiteral(" Engine RPM ");
    case Panel::VehicleSpeed:
        return QStringLiteral(" Vehicle Speed ");
    case Panel::TroubleCodes:
        return QStringLiteral(" Diagnostic Trouble Codes (DTC) ");
    case Panel::FreezeFrame:
        return QStringLiteral("Freeze Frame");
    case Panel::Graphs:
        return QStringLiteral("Real-Time Graphs");
    case Panel::LiveData:
        return QStringLiteral(" Live Data and Gauges");
    case Panel::VehicleInformation:
        return QStringLiteral(" Vehicle Information ");
    case Panel::TestResults:
        return QStringLiteral(" Test Results ");
    case Panel::AllModules:
        return QStringLiteral(" All Modules ");
    case Panel::Parameters:
        return QStringLiteral(" Manufacturer Parameters ");
    }
    return {};
}

} // namespace zelcor
