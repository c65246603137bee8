#pragma once
// One diagnostic controller of the simulated car (engine, transmission): what it
// supports, the trouble codes and freeze frame it holds, and its answers to SAE J1979
// requests (services 01, 02, 03, 04, 06, 07, 09, 0A), and to module services on its own address.

#include "sim/drive.h"
#include "sim/moduleservices.h"
#include "sim/vehicleinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace zelcor::sim {

// Readiness monitor bits (SAE J1979 PID 01, bytes B and C).
enum Monitor : quint8 {
    MonitorCatalyst = 0x01,
    MonitorHeatedCatalyst = 0x02,
    MonitorEvaporative = 0x04,
    MonitorSecondaryAir = 0x08,
    MonitorAirConditioning = 0x10,
    MonitorOxygenSensor = 0x20,
    MonitorOxygenHeater = 0x40,
    MonitorEgr = 0x80,
};

struct ControllerDefinition {
    QString name;                     // "engine", "transmission"
    quint8 address = 0;               // source address on legacy buses and 29-bit CAN (18DAF1xx)
    quint16 canId = 0;                // 11-bit CAN response identifier (7E8...)
    QList<int> pids;                  // service 01 PIDs answered, besides the support bitmaps
    QList<quint16> stored;            // confirmed trouble codes, two bytes each (0x0133 = P0133)
    QList<quint16> pending;           // pending trouble codes
    bool lampWithStored = true;       // stored codes light the MIL
    quint8 continuousMonitors = 0x07; // misfire, fuel system, components
    quint8 monitors = 0;              // non-continuous monitors supported
    quint8 incompleteAtStart = 0;     // of those, not complete when the drive starts
    bool freezeFrames = false;        // service 02 supported
    quint16 freezeCode = 0;           // the code that stored frame 0 (0 = none stored)
    QList<int> freezePids;            // PIDs kept in frame 0 (02 and service 01 PIDs)
    double freezeTime = 7245;         // drive time whose values the frame holds
    double longTrim = 2.3;            // long-term fuel trim, %
    quint8 oxygenSensors = 0x03;      // PID 13: bank 1 sensors 1 and 2
    QList<quint16> permanent;         // permanent codes (service 0A); an erase keeps them
    bool permanentSupported = true;   // service 0A answered (legacy cars before it stay silent)
    VehicleInfoDefinition info;       // service 09 items and service 06 test results
    quint8 padding = 0x00;            // CAN frame filler
    double canDelay = 0.010;          // answer time on CAN, seconds
    double legacyDelay = 0.030;       // answer time on the legacy buses, seconds
    double distanceWithLamp = 148;    // km driven with the MIL on before this drive
    double distanceSinceClear = 2345; // km since codes were last cleared, before this drive
    int warmupsSinceClear = 12;
    bool obd = true;         // answers the SAE J1979 services (a body module does not)
    ModuleDefinition module; // its services on its own address
    // The maker's own services (records, identifiers) at drive time: an answer, or nothing
    // when the request is not one of them.
    std::function<std::optional<QByteArray>(const QByteArray& request, double time)> ownServices;
};

class Controller {
public:
    explicit Controller(ControllerDefinition definition);

    const ControllerDefinition& definition() const { return definition_; }
    // Service 01 support, the bitmap PIDs (00, 20, 40...) included.
    bool supports(int pid) const;
    QList<quint16> storedCodes() const { return stored_; }
    QList<quint16> pendingCodes() const { return pending_; }
    QList<quint16> permanentCodes() const { return definition_.permanent; }
    bool lampOn() const { return definition_.lampWithStored && !stored_.isEmpty(); }
    bool freezeFrameStored() const { return freezeCode_ != 0; }

    // The messages this controller sends in answer to `request` at drive time `time`
    // (empty: it stays silent). On CAN a message is one ISO 15765-2 message; on the
    // legacy buses one bus message each (seven data bytes at most).
    QList<QByteArray> answer(const QByteArray& request, bool can, double time);

    // Service 01 data bytes of one PID (without the PID byte), for a drive state.
    std::optional<QByteArray> pidData(int pid, const DriveState& drive) const;

private:
    QByteArray bitmap(int base, const QList<int>& pids) const;
    QByteArray status(double time, bool thisCycle) const;
    QList<QByteArray> codes(quint8 service, const QList<quint16>& list, bool can) const;
    QList<QByteArray> freezeFrame(const QByteArray& request, bool can) const;
    quint8 incomplete(double time) const;
    void clear(double time);

    ControllerDefinition definition_;
    QList<quint16> stored_;
    QList<quint16> pending_;
    quint16 freezeCode_ = 0;
    std::optional<double> clearedAt_; // drive time of the last clear
    double distanceAtClear_ = 0;
    DriveState frozen_;
    ModuleServices module_;
};

} // namespace zelcor::sim
