#include "sim/fullcar.h"

namespace zelcor::sim {

namespace {

// Status bits of the codes (ISO 14229-1 status byte).
constexpr quint8 kTestFailed = 0x01;
constexpr quint8 kFailedThisCycle = 0x02;
constexpr quint8 kPending = 0x04;
constexpr quint8 kConfirmed = 0x08;
constexpr quint8 kNotCompletedSinceClear = 0x10;
constexpr quint8 kFailedSinceClear = 0x20;
constexpr quint8 kNotCompletedThisCycle = 0x40;
constexpr quint8 kLamp = 0x80;

ModuleDefinition module(const char* name, QList<ModuleTroubleCode> codes) {
    ModuleDefinition definition;
    definition.present = true;
    definition.systemName = name;
    definition.codes = std::move(codes);
    return definition;
}

// A module that answers no OBD request, at 11-bit `replyId` (asked at replyId - 8) and at
// `address` on 29-bit CAN.
ControllerDefinition bodyModule(const char* role, quint16 replyId, quint8 address, ModuleDefinition services) {
    ControllerDefinition definition;
    definition.name = QString::fromLatin1(role);
    definition.canId = replyId;
    definition.address = address;
    definition.obd = false;
    definition.pids.clear();
    definition.permanentSupported = false;
    definition.module = std::move(services);
    definition.canDelay = 0.012;
    return definition;
}

} // namespace

Profile fullCarProfile(ControllerDefinition engine, ControllerDefinition transmission) {
    engine.module =
        module("ECM-EngineControl",
               {{0x013300, kTestFailed | kFailedThisCycle | kPending | kConfirmed | kFailedSinceClear | kLamp},
                {0x017100, kConfirmed},
                {0x044200, kPending | kFailedSinceClear}});
    transmission.module = module("TCM-TransmissionCtrl", {{0x074177, kPending | kNotCompletedThisCycle}});

    // Answers "response pending" twice before its list.
    ModuleDefinition abs = module(
        "ABS-BrakeControl", {{0x403513, kTestFailed | kConfirmed | kLamp}, {0x40402F, kConfirmed | kFailedSinceClear}});
    abs.pendingAnswers = 2;
    // One generic code, one the maker defines.
    const ModuleDefinition airbag = module(
        "SRS-Restraints", {{0x800113, kTestFailed | kFailedThisCycle | kConfirmed | kLamp}, {0x9A2300, kConfirmed}});
    // Reads no codes at all: refuses both forms.
    ModuleDefinition cluster = module("IPC-Cluster", {{0xC10000, kConfirmed}});
    cluster.refusesCodes = true;
    // The older form only: no system name, no 19 service.
    ModuleDefinition climate = module("", {{0xC15500, kTestFailed | kConfirmed}, {0xC14000, kPending}});
    climate.kwpOnly = true;
    const ModuleDefinition gateway =
        module("GW-Gateway", {{0xC12100, kConfirmed | kFailedSinceClear},
                              {0xC14087, kPending | kNotCompletedSinceClear | kFailedSinceClear}});

    Profile profile;
    profile.name = QStringLiteral("fullcar");
    profile.description =
        QStringLiteral("CAN 11/500 with eight modules on their own addresses: engine 7E8, transmission 7E9, ABS 768 "
                       "(\"response pending\" twice), airbag 73F, body 72E (no codes), cluster 728 (refuses code "
                       "reads), climate 73B (KWP2000 only), gateway 748");
    profile.protocol = 6;
    profile.controllers = {engine,
                           transmission,
                           bodyModule("ABS", 0x768, 0x28, abs),
                           bodyModule("airbag", 0x73F, 0x58, airbag),
                           bodyModule("body", 0x72E, 0x40, module("BCM-BodyControl", {})),
                           bodyModule("cluster", 0x728, 0x60, cluster),
                           bodyModule("climate", 0x73B, 0x98, climate),
                           bodyModule("gateway", 0x748, 0x20, gateway)};
    return profile;
}

QList<ControllerDefinition> can29Modules() {
    return {bodyModule("ABS", 0, 0x28, module("ABS-BrakeControl", {{0x404513, kTestFailed | kConfirmed | kLamp}})),
            bodyModule("airbag", 0, 0x58, module("SRS-Restraints", {{0x801013, kConfirmed}}))};
}

} // namespace zelcor::sim
