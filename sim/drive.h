#pragma once
// The simulated drive: a repeating cycle of idle, acceleration from 0 to 100 km/h, cruise,
// braking and idle again, with the engine warming up from a cold start. Every value is a
// function of the time since the ignition was switched on, so the same times always give
// the same car.

namespace zelcor::sim {

// Fuel system status bytes (SAE J1979 PID 03).
enum FuelSystem {
    OpenLoopCold = 0x01,
    ClosedLoop = 0x02,
    OpenLoopDriving = 0x04, // power enrichment, deceleration fuel cut-off
};

enum class DrivePhase { Idle, Accelerating, Cruising, Braking };

struct DriveState {
    double time = 0; // seconds since the ignition was switched on
    DrivePhase phase = DrivePhase::Idle;
    int gear = 0;        // 0 = neutral
    double speed = 0;    // km/h
    double distance = 0; // km since the ignition was switched on
    double rpm = 0;
    double throttle = 0; // absolute throttle position, %
    double pedal = 0;    // accelerator pedal travel, %
    double map = 0;      // intake manifold absolute pressure, kPa
    double load = 0;     // calculated load, %
    double maf = 0;      // air flow, g/s
    double timing = 0;   // ignition advance, degrees before TDC
    double coolant = 0;  // deg C
    double intake = 0;   // deg C
    double ambient = 0;  // deg C
    double catalyst = 0; // deg C
    int fuelSystem = OpenLoopCold;
    double shortTrim = 0;    // %
    double o2Upstream = 0;   // V, narrow-band sensor ahead of the catalyst
    double o2Downstream = 0; // V, behind the catalyst
    double lambda = 1;       // measured air/fuel equivalence ratio
    double commandedLambda = 1;
    double purge = 0;     // commanded evaporative purge, %
    double fuelLevel = 0; // %
    double voltage = 0;   // control module supply, V
    double barometric = 101;
};

// Length of one drive cycle in seconds.
double driveCycleLength();
DriveState driveAt(double seconds);

} // namespace zelcor::sim
