#pragma once
// The panels of the main window, all in one shared rectangle; exactly one shows.

#include <QString>

namespace zelcor {

enum class Panel {
    Connection,         // CONNECT, the function list, the status
    Setup,              // SET&UP
    GeneralInfo,        // lamp, code count, monitors, controllers
    FuelSystems,        // fuel system status
    Parameter,          // one parameter as text
    OxygenSensors,      // oxygen sensor voltages and trims
    EngineSpeed,        // tachometer
    VehicleSpeed,       // speedometer and acceleration test
    TroubleCodes,       // stored and pending codes
    FreezeFrame,        // the freeze frame
    Graphs,             // real-time graphs
    LiveData,           // real-time gauges
    VehicleInformation, // VIN, controllers' names, calibration IDs and verification numbers
    TestResults,        // on-board monitors' test results
    AllModules,         // every module of the car and its trouble codes
    Parameters,         // the manufacturer parameter definition files and their parameters
};

// The panel's name as the window knows it ("D0101"): its objectName.
QString panelName(Panel panel);
// The panel's design caption (" General Info "); the parameter panel's caption changes per parameter.
QString panelCaption(Panel panel);

} // namespace zelcor
