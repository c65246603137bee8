#pragma once
// What a simulated controller tells about itself and its monitors: the service 09
// vehicle information (VIN, calibrations, name) and the service 06 test results.

#include <QByteArray>
#include <QList>

namespace zelcor::sim {

struct Calibration {
    QByteArray id; // up to 16 characters, padded with 00 on the bus
    quint32 verification = 0;
};

// One on-board monitor test: its monitor and test IDs, the unit and scaling ID and the
// raw value with its limits.
struct MonitorTest {
    quint8 monitor = 0;
    quint8 test = 0;
    quint8 scaling = 0;
    quint16 value = 0;
    quint16 minimum = 0;
    quint16 maximum = 0;
};

struct VehicleInfoDefinition {
    QByteArray vin;                   // 17 characters; empty: not reported by this controller
    QByteArray name;                  // "ECM-EngineControl", up to 20 characters; empty: none
    QList<Calibration> calibrations;  // empty: service 09 not supported
    QList<MonitorTest> tests;         // service 06 results (CAN only); empty: not supported
    QList<quint16> performance;       // in-use performance counters; empty: not supported
    bool compressionIgnition = false; // the counters as item 0B (diesel) rather than 08
};

// The messages answering "09 <pid>": one ISO 15765-2 message on CAN, numbered messages of
// four data bytes each on the legacy buses. Empty when the item is not supported.
QList<QByteArray> vehicleInfoAnswer(const VehicleInfoDefinition& info, quint8 pid, bool can);

// The message answering "06 <monitor>" on CAN: the support bitmap for 00, 20, 40 ...,
// else every test record of the monitor. Empty when not supported or not on CAN.
QList<QByteArray> monitorTestAnswer(const VehicleInfoDefinition& info, quint8 monitor, bool can);

} // namespace zelcor::sim
