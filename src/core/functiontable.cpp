#include "core/functiontable.h"

#include "core/session.h"

#include <array>

namespace zelcor {

namespace {

const std::array kFunctions = {
    FunctionRow{.function = Function::Detection,
                .scan = ScanPart::Detection,
                .pass = [](Session& s, PassContext& p, int) { s.detect(p); }},
    FunctionRow{.function = Function::GeneralInfo,
                .panel = Panel::GeneralInfo,
                .offer = Offer::MonitorStatus,
                .listName = "General Info",
                .menuItem = 0,
                .menuCaption = "General",
                .scan = ScanPart::GeneralInfo,
                .pass = [](Session& s, PassContext& p, int) { s.vehicle().readGeneralInfo(p); }},
    FunctionRow{.function = Function::TroubleCodes,
                .panel = Panel::TroubleCodes,
                .readsOnlyWhileConnected = true,
                .offer = Offer::MonitorStatus,
                .listName = "DTC (Trouble Codes)",
                .menuItem = 1,
                .menuCaption = "Codes",
                .scan = ScanPart::TroubleCodes,
                .oneShot = true,
                .pass = [](Session& s, PassContext& p, int) { s.codes().readCodes(p); }},
    FunctionRow{.function = Function::FreezeFrame,
                .panel = Panel::FreezeFrame,
                .readsOnlyWhileConnected = true,
                .offer = Offer::MonitorStatus,
                .listName = "Freeze Frame Data",
                .menuItem = 2,
                .menuCaption = "Freeze",
                .scan = ScanPart::FreezeFrame,
                .pass =
                    [](Session& s, PassContext& p, int) {
                        s.codes().readFreezeFrame(p);
                        s.navigation().setFunction(Function::Idle);
                    }},
    FunctionRow{.function = Function::LiveData,
                .panel = Panel::LiveData,
                .readsOnlyWhileConnected = true,
                .offer = Offer::MonitorStatus,
                .listName = "Real-Time Gauges",
                .menuItem = 3,
                .menuCaption = "Gauges",
                .audience = Audience::SelectedController,
                .scan = ScanPart::LiveData,
                .pass = [](Session& s, PassContext& p, int) { s.live().readRows(p); }},
    FunctionRow{.function = Function::Graphs,
                .panel = Panel::Graphs,
                .readsOnlyWhileConnected = true,
                .offer = Offer::MonitorStatus,
                .listName = "Real-Time Graphs",
                .menuItem = 4,
                .menuCaption = "Graphs",
                .audience = Audience::SelectedController,
                .pass = [](Session& s, PassContext& p, int) { s.live().readGraphs(p); }},
    FunctionRow{.function = Function::FuelSystems,
                .panel = Panel::FuelSystems,
                .offer = Offer::ParameterSupported,
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.vehicle().readFuelSystems(p); }},
    FunctionRow{.function = Function::EngineSpeed,
                .panel = Panel::EngineSpeed,
                .offer = Offer::ParameterSupported,
                .menuItem = 6,
                .menuCaption = "RPM",
                .absentNotice = "RPM: this car does not report the engine speed.",
                .audience = Audience::SelectedController,
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.instruments().readEngineSpeed(p); }},
    FunctionRow{.function = Function::VehicleSpeed,
                .panel = Panel::VehicleSpeed,
                .offer = Offer::ParameterSupported,
                .menuItem = 7,
                .menuCaption = "Speed",
                .absentNotice = "Speed: this car does not report the vehicle speed.",
                .audience = Audience::SelectedController,
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.instruments().readVehicleSpeed(p); }},
    FunctionRow{.function = Function::OxygenSensors,
                .panel = Panel::OxygenSensors,
                .offer = Offer::ParameterSupported,
                .menuItem = 5,
                .menuCaption = "O2 Sens",
                .absentNotice = "O2 Sens: this car reports no oxygen-sensor readings.",
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.vehicle().readOxygenSensors(p); }},
    FunctionRow{.function = Function::PowerTakeOff,
                .panel = Panel::Parameter,
                .offer = Offer::ParameterSupported,
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.vehicle().readPowerTakeOff(p); }},
    FunctionRow{.function = Function::PidsSupported,
                .panel = Panel::Parameter,
                .offer = Offer::ParameterSupported,
                .scan = ScanPart::Parameters,
                .pass = [](Session& s, PassContext& p, int) { s.vehicle().readSupportBytes(p); }},
    FunctionRow{.function = Function::VehicleInformation,
                .panel = Panel::VehicleInformation,
                .readsOnlyWhileConnected = true,
                .offer = Offer::VehicleInformation,
                .listName = "Vehicle Information",
                .scan = ScanPart::Information,
                .oneShot = true,
                .pass = [](Session& s, PassContext& p, int) { s.readVehicleInformation(p); }},
    FunctionRow{.function = Function::TestResults,
                .panel = Panel::TestResults,
                .readsOnlyWhileConnected = true,
                .offer = Offer::MonitorTestResults,
                .listName = "Test Results",
                .scan = ScanPart::Information,
                .oneShot = true,
                .pass = [](Session& s, PassContext& p, int) { s.vehicleInfo().readTestResults(p); }},
    FunctionRow{.function = Function::AllModules,
                .panel = Panel::AllModules,
                .readsOnlyWhileConnected = true,
                .offer = Offer::CanModules,
                .listName = "All Modules",
                .oneShot = true,
                .pass = [](Session& s, PassContext& p, int) { s.wholeCar().read(p); }},
    FunctionRow{.function = Function::ClearModules,
                .panel = Panel::AllModules,
                .readsOnlyWhileConnected = true,
                .oneShot = true,
                .pass = [](Session& s, PassContext& p, int) { s.wholeCar().clear(p); }},
    FunctionRow{.function = Function::ParameterDefinitions,
                .panel = Panel::Parameters,
                .audience = Audience::Unchanged,
                .pass = [](Session& s, PassContext&, int) { s.keepAlive(); }},
    FunctionRow{.function = Function::Erase,
                .pass =
                    [](Session& s, PassContext& p, int) {
                        if (s.codes().erase(p)) s.navigation().setFunction(Function::TroubleCodes);
                    }},
    FunctionRow{.function = Function::KeepAlive,
                .audience = Audience::Unchanged,
                .pass = [](Session& s, PassContext&, int) { s.keepAlive(); }},
    FunctionRow{.function = Function::Idle,
                .audience = Audience::Unchanged,
                .pass = [](Session& s, PassContext&, int) { s.keepAlive(); }},
    FunctionRow{.function = Function::None,
                .audience = Audience::Unchanged,
                .pass = [](Session&, PassContext&, int) {}},
};

// PIDs 04 to 0B and 0E to 12 as text on the single-parameter panel.
const FunctionRow kSingleParameter{
    .panel = Panel::Parameter,
    .offer = Offer::ParameterSupported,
    .scan = ScanPart::Parameters,
    .pass = [](Session& s, PassContext& p, int pid) { s.vehicle().readParameter(p, pid); }};

} // namespace

std::span<const FunctionRow> functionTable() {
    return kFunctions;
}

const FunctionRow* functionRow(int code) {
    for (const FunctionRow& row : kFunctions)
        if (int(row.function) == code) return &row;
    return isParameterFunction(code) ? &kSingleParameter : nullptr;
}

const FunctionRow* menuItemRow(int item) {
    for (const FunctionRow& row : kFunctions)
        if (row.menuItem == item && item >= 0) return &row;
    return nullptr;
}

} // namespace zelcor
