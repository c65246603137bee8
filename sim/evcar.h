#pragma once
// The simulated electric car: a battery controller (7E4/7EC) and a vehicle controller
// (7E2/7EA) that answer service 21 with their record layouts, and a motor controller that
// answers service 22 identifiers beside the OBD engine at 7E0/7E8. Every figure follows the
// drive and is held in the steps its record encodes, so a value read back is exact.

#include "sim/profiles.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace zelcor::sim {

inline constexpr int kEvCells = 96;
inline constexpr int kEvModules = 6;

struct EvState {
    // Battery controller
    double stateOfCharge = 0;                    // %, 0.5 steps
    double packVoltage = 0;                      // V, 0.1
    double packCurrent = 0;                      // A, 0.1, positive while discharging
    std::array<double, kEvCells> cellVoltages{}; // V, 0.02
    int highestCell = 0;                         // 1..96
    int lowestCell = 0;
    std::array<int, kEvModules> moduleTemperatures{}; // deg C
    int coolantInlet = 0;                             // deg C
    bool mainRelay = false;
    bool charging = false;
    bool fastCharging = false;
    bool fan = false;
    double chargePower = 0;      // kW, 0.01
    double dischargePower = 0;   // kW, 0.01
    double energyCharged = 0;    // kWh, 0.1
    double energyDischarged = 0; // kWh, 0.1
    int heater = 0;              // deg C
    double stateOfHealth = 0;    // %, 0.1
    double displayedCharge = 0;  // %, 0.5
    int insulation = 0;          // kOhm
    // Vehicle controller
    double speed = 0; // km/h, 0.01
    int motorRpm = 0; // negative in reverse
    double pedal = 0; // %, 0.4
    bool brake = false;
    bool ready = false;
    int selector = 0;      // 0 P, 1 R, 2 N, 3 D
    double torque = 0;     // Nm, 0.1
    double auxVoltage = 0; // V, 0.1
    int outside = 0;       // deg C
    int odometer = 0;      // km
    double cabin = 0;      // deg C, 0.5
    // Motor controller
    int statorTemperature = 0; // deg C
    int inverterTemperature = 0;
    double converterCurrent = 0; // A, 0.01
    int oilTemperature = 0;
    int range = 0; // km

    double highestCellVoltage() const { return cellVoltages[highestCell - 1]; }
    double lowestCellVoltage() const { return cellVoltages[lowestCell - 1]; }
};

EvState evStateAt(double time);

// The positive answer of the battery (2101-2105), vehicle (2101-2102) or motor (22 0101-0105)
// controller to `request`, a negative one to another request of its service, nothing for
// other services.
std::optional<QByteArray> batteryAnswer(const QByteArray& request, double time);
std::optional<QByteArray> vehicleAnswer(const QByteArray& request, double time);
std::optional<QByteArray> motorAnswer(const QByteArray& request, double time);

// The car: `engine` (answering OBD at 7E8 and the motor identifiers) with the battery and
// vehicle controllers.
Profile evProfile(ControllerDefinition engine);

} // namespace zelcor::sim
