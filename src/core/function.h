#pragma once
// The functions a pass can serve. The numbers are the codes that the function list,
// the trace log ("F250") and recorded traces carry; a parameter shown on its own panel
// is served under its PID's number.

namespace zelcor {

enum class Function : int {
    None = -1,                  // a replayed trace ran out: no work
    Detection = 0,              // protocol, controllers and supported parameters
    GeneralInfo = 1,            // lamp, code count and readiness monitors
    FuelSystems = 3,            // fuel system status
    EngineSpeed = 12,           // tachometer
    VehicleSpeed = 13,          // speedometer and acceleration test
    OxygenSensors = 19,         // oxygen sensor voltages and trims
    PowerTakeOff = 30,          // power take-off status
    PidsSupported = 32,         // the support bytes of PIDs 21 to 40
    Graphs = 240,               // real-time graphs
    ParameterDefinitions = 243, // the parameter definition files; keeps the link awake
    ClearModules = 244,         // clears the codes of the modules confirmed, then Idle
    AllModules = 245,           // one whole-car scan of every module's codes, then Idle
    VehicleInformation = 246,   // one read of the VIN, calibrations and controller names, then Idle
    TestResults = 247,          // one read of the on-board monitors' test results, then Idle
    FreezeFrame = 248,          // one read of the freeze frame, then Idle
    KeepAlive = 249,            // keeps the link awake
    LiveData = 250,             // real-time gauges
    Erase = 253,                // clears the codes, then TroubleCodes
    TroubleCodes = 254,         // one read of the stored and pending codes, then Idle
    Idle = 255,                 // after a one-shot read: keeps the link awake
};

// PIDs shown on their own on the single-parameter panel: those of PIDs 21 to 3F that a
// car lists among its functions are read there too rather than doing nothing.
inline bool isParameterFunction(int code) {
    return (code >= 4 && code <= 11) || (code >= 14 && code <= 18) || (code >= 0x21 && code <= 0x3F);
}

} // namespace zelcor
