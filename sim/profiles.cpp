#include "sim/profiles.h"

#include "sim/evcar.h"
#include "sim/fullcar.h"

namespace zelcor::sim {

namespace {

// Service 01 PIDs of an engine with a wide-band sensor ahead of the catalyst and a
// mass air flow meter (its PID 00 bitmap reads BE 3F A8 13).
const QList<int> canEnginePids{0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10,
                               0x11, 0x13, 0x15, 0x1C, 0x1F, 0x21, 0x24, 0x2E, 0x2F, 0x30, 0x31, 0x33,
                               0x3C, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x49, 0x4A, 0x4C};
// An older engine: narrow-band sensors, manifold pressure and no air flow meter
// (PID 00 bitmap BE 3E B8 13).
const QList<int> legacyEnginePids{0x01, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D,
                                  0x0E, 0x0F, 0x11, 0x13, 0x14, 0x15, 0x1C, 0x1F, 0x21};
const QList<int> freezePids{0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11};

// Service 06 results of the engine's monitors, all within their limits: oxygen sensors
// bank 1, catalyst bank 1, the small-leak evaporative test and the sensor heater.
const QList<MonitorTest> engineTests{
    {0x01, 0x81, 0x0B, 700, 550, 900},   // sensor voltage, 0.001 V
    {0x01, 0x82, 0x10, 70, 0, 150},      // switch time, 1 ms
    {0x02, 0x83, 0x0B, 800, 700, 1100},  // rich voltage, 0.001 V
    {0x21, 0x84, 0x03, 85, 0, 100},      // oxygen storage index, 0.01
    {0x3C, 0x85, 0x29, 16, 0, 200},      // pressure decay, 0.25 Pa/s
    {0x41, 0x86, 0x0E, 1000, 500, 2500}, // heater current, 0.001 A
};

ControllerDefinition engine(const QList<int>& pids) {
    ControllerDefinition definition;
    definition.name = QStringLiteral("engine");
    definition.address = 0x10;
    definition.canId = 0x7E8;
    definition.pids = pids;
    definition.monitors = MonitorCatalyst | MonitorEvaporative | MonitorOxygenSensor | MonitorOxygenHeater;
    definition.freezeFrames = true;
    definition.freezePids = freezePids;
    definition.info.vin = "1ZC4S1M0XN1000327"; // its check digit (X) is wrong: 4 is right
    definition.info.name = "ECM-EngineControl";
    definition.info.calibrations = {{"ZC22E10A0327", 0x5E2A91C4}, {"ZC22E10B0115", 0x0B7713F0}};
    definition.info.tests = engineTests;
    // Conditions met 132 times in 210 ignition cycles; each monitor's completions and
    // conditions: catalyst, oxygen sensor, EGR, secondary air, EVAP, secondary sensor.
    definition.info.performance = {132, 210, 45, 52, 0, 0, 48, 52, 0, 0, 30, 41, 0, 0, 12, 40, 47, 52, 0, 0};
    definition.canDelay = 0.010;
    definition.legacyDelay = 0.030;
    return definition;
}

ControllerDefinition transmission() {
    ControllerDefinition definition;
    definition.name = QStringLiteral("transmission");
    definition.address = 0x18;
    definition.canId = 0x7E9;
    definition.pids = {0x01, 0x05, 0x0C, 0x0D, 0x1C};
    definition.continuousMonitors = 0x04; // components only
    definition.pending = {0x0741};        // torque converter clutch
    definition.padding = 0x55;
    definition.info.name = "TCM-TransmissionCtrl";
    definition.info.calibrations = {{"ZC6T40R00211", 0x91D03A7B}};
    definition.canDelay = 0.016;
    definition.legacyDelay = 0.048;
    return definition;
}

// The common car: two stored codes (the first froze a frame), one pending code, and a
// transmission with a pending code of its own.
ControllerDefinition faultyEngine(const QList<int>& pids) {
    ControllerDefinition definition = engine(pids);
    definition.stored = {0x0133, 0x0171};
    definition.pending = {0x0442};
    definition.freezeCode = 0x0133;
    definition.incompleteAtStart = MonitorEvaporative;
    definition.longTrim = 14.1;
    // The catalyst's oxygen storage index above its limit: the one failing test.
    for (MonitorTest& test : definition.info.tests)
        if (test.monitor == 0x21) test.value = 120;
    return definition;
}

QList<Profile> allProfiles() {
    QList<Profile> profiles;
    profiles.append({QStringLiteral("can11"),
                     QStringLiteral("ISO 15765-4 CAN 11/500: engine 7E8 (2 stored, 1 pending code, freeze frame), "
                                    "transmission 7E9 (1 pending code)"),
                     6,
                     {faultyEngine(canEnginePids), transmission()}});
    ControllerDefinition engine29 = faultyEngine(canEnginePids);
    engine29.info.vin = "1ZC4S1M2XN2000411";
    profiles.append({QStringLiteral("can29"),
                     QStringLiteral("ISO 15765-4 CAN 29/500: engine 18DAF110, transmission 18DAF118 (as can11), "
                                    "ABS 18DAF128 and airbag 18DAF158 modules"),
                     7, QList<ControllerDefinition>{engine29, transmission()} + can29Modules()});

    Profile clone = profiles.first();
    clone.name = QStringLiteral("clone");
    clone.description = QStringLiteral("the can11 car behind a cheap adapter copy: one PID per request, no adaptive "
                                       "timing, the response count ignored");
    clone.cloneAdapter = true;
    profiles.append(clone);
    Profile stn = profiles.first();
    stn.name = QStringLiteral("stn");
    stn.description = QStringLiteral("the can11 car behind an adapter of the STN family: ST I, ST DI, ST BR and ST PX "
                                     "besides the ELM327 commands, a larger buffer");
    stn.stnAdapter = true;
    profiles.append(stn);

    ControllerDefinition oldEngine = faultyEngine(legacyEnginePids);
    oldEngine.stored = {0x0133, 0x0171, 0x0300, 0x0420};
    oldEngine.incompleteAtStart = MonitorEvaporative | MonitorCatalyst;
    // Before permanent codes, controller names and on-board test results.
    oldEngine.permanentSupported = false;
    oldEngine.info.vin = "2ZC9K41A141005093";
    oldEngine.info.name.clear();
    oldEngine.info.calibrations = {{"ZC04K9A1", 0x00C4E1A2}};
    oldEngine.info.tests.clear();
    oldEngine.info.performance.resize(16); // without the secondary sensors' counters
    ControllerDefinition oldGearbox = transmission();
    oldGearbox.permanentSupported = false;
    oldGearbox.info = {};
    profiles.append({QStringLiteral("legacy"),
                     QStringLiteral("ISO 9141-2 (any of protocols 1-5 with --protocol): engine 10 (4 stored, "
                                    "1 pending code, freeze frame), transmission 18 (1 pending code)"),
                     3,
                     {oldEngine, oldGearbox}});

    ControllerDefinition busyEngine = engine(canEnginePids);
    busyEngine.stored = {0x0101, 0x0113, 0x0128, 0x0133, 0x0171, 0x0300, 0x0301, 0x0302,
                         0x0303, 0x0304, 0x0420, 0x0442, 0x0455, 0x1456, 0xC100};
    busyEngine.pending = {0x0305, 0x0306};
    busyEngine.freezeCode = 0x0300;
    busyEngine.incompleteAtStart = MonitorCatalyst | MonitorEvaporative | MonitorOxygenSensor;
    busyEngine.longTrim = 18.8;
    busyEngine.permanent = {0x0301, 0x0420};
    busyEngine.info.vin = "1ZC4S1M00P1004412";
    profiles.append({QStringLiteral("manycodes"),
                     QStringLiteral("CAN 11/500: engine 7E8 with 15 stored codes (one segmented reply), "
                                    "2 pending and 2 permanent, transmission 7E9"),
                     6,
                     {busyEngine, transmission()}});

    ControllerDefinition noFrame = engine(canEnginePids);
    noFrame.pending = {0x0456};
    noFrame.incompleteAtStart = MonitorEvaporative;
    noFrame.info.vin = "3ZC4S1M2XN1000788";
    profiles.append({QStringLiteral("nofreeze"),
                     QStringLiteral("CAN 11/500: engine 7E8 with a pending code and no freeze frame stored, MIL off"),
                     6,
                     {noFrame, transmission()}});

    ControllerDefinition cleanEngine = engine(canEnginePids);
    cleanEngine.longTrim = 1.6;
    cleanEngine.info.vin = "WZC4S1M01N1000515"; // European: no check digit
    ControllerDefinition cleanGearbox = transmission();
    cleanGearbox.pending.clear();
    profiles.append({QStringLiteral("clean"),
                     QStringLiteral("CAN 11/500: engine 7E8 and transmission 7E9, no codes, MIL off, monitors "
                                    "complete"),
                     6,
                     {cleanEngine, cleanGearbox}});

    profiles.append(fullCarProfile(faultyEngine(canEnginePids), transmission()));
    profiles.append(evProfile(cleanEngine));

    profiles.append(
        {QStringLiteral("nocar"), QStringLiteral("the adapter answers, no vehicle does (ignition off)"), 0, {}});
    return profiles;
}

} // namespace

QStringList profileNames() {
    QStringList names;
    for (const Profile& profile : allProfiles())
        names.append(profile.name);
    return names;
}

std::optional<Profile> findProfile(const QString& name) {
    for (const Profile& profile : allProfiles())
        if (profile.name.compare(name, Qt::CaseInsensitive) == 0) return profile;
    return std::nullopt;
}

} // namespace zelcor::sim
