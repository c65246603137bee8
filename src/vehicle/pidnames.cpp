#include "vehicle/pidnames.h"

#include <array>

namespace zelcor {

namespace {

// Index = PID. The 2B entry keeps its historic spelling: saved reports and logs carry it.
constexpr std::array<const char*, kLastNamedPid + 1> kNames = {
    "",                         // 00
    "General Info",             // 01
    "Freeze Frame DTC",         // 02
    "Fuel System Status",       // 03
    "Calculated Load",          // 04
    "Engine Coolant Temp",      // 05
    "Fuel Trim B1 ST",          // 06
    "Fuel Trim B1 LT",          // 07
    "Fuel Trim B2 ST",          // 08
    "Fuel Trim B2 LT",          // 09
    "Fuel Pressure (gage)",     // 0A
    "Intake Manifold Pres",     // 0B
    "Engine RPM",               // 0C
    "Vehicle Speed",            // 0D
    "Ignition Timing",          // 0E
    "Intake Air Temp",          // 0F
    "MAF Air Flow Rate",        // 10
    "Throttle Pos Sensor",      // 11
    "Secondary Air Status",     // 12
    "Oxygen Sensors",           // 13
    "O2S Bank 1 Sensor 1",      // 14
    "O2S Bank 1 Sensor 2",      // 15
    "O2S Bank 1 Sensor 3",      // 16
    "O2S Bank 1 Sensor 4",      // 17
    "O2S Bank 2 Sensor 1",      // 18
    "O2S Bank 2 Sensor 2",      // 19
    "O2S Bank 2 Sensor 3",      // 1A
    "O2S Bank 2 Sensor 4",      // 1B
    "OBD Designation",          // 1C
    "",                         // 1D
    "Aux Input Status",         // 1E
    "Time since start",         // 1F
    "PIDs supported (21h-40h)", // 20
    "Distance with MIL",        // 21
    "Fuel Pres (rel)",          // 22
    "Fuel Pres (diesel)",       // 23
    "O2S1 Lambda",              // 24
    "O2S2 Lambda",              // 25
    "O2S3 Lambda",              // 26
    "O2S4 Lambda",              // 27
    "O2S5 Lambda",              // 28
    "O2S6 Lambda",              // 29
    "O2S7 Lambda",              // 2A
    "O2S8 Lamdba",              // 2B
    "Commanded EGR",            // 2C
    "EGR Error",                // 2D
    "Commanded Evap Purge",     // 2E
    "Fuel Level input",         // 2F
    "Warmups since code clear", // 30
    "Dist since code clear",    // 31
    "Evap Vapor Pres",          // 32
    "Baro Pres",                // 33
    "O2S1 Lambda",              // 34
    "O2S2 Lambda",              // 35
    "O2S3 Lambda",              // 36
    "O2S4 Lambda",              // 37
    "O2S5 Lambda",              // 38
    "O2S6 Lambda",              // 39
    "O2S7 Lambda",              // 3A
    "O2S8 Lambda",              // 3B
    "Catalyst Temp B1S1",       // 3C
    "Catalyst Temp B2S1",       // 3D
    "Catalyst Temp B1S2",       // 3E
    "Catalyst Temp B2S2",       // 3F
    "PIDs supported (41h-60h)", // 40
};

} // namespace

QString pidname(int pid) {
    if (pid < 0 || pid > kLastNamedPid) return QString();
    return QString::fromLatin1(kNames[size_t(pid)]);
}

} // namespace zelcor
