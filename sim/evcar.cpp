#include "sim/evcar.h"

#include <algorithm>
#include <cmath>

namespace zelcor::sim {

namespace {

constexpr quint8 kLocalRecord = 0x21;
constexpr quint8 kReadIdentifier = 0x22;
constexpr quint8 kOutOfRange = 0x31;
constexpr quint8 kIncorrectLength = 0x13;

// `value` held in whole `step`s.
double stepped(double value, double step) {
    return std::round(value / step) * step;
}

// Writes `value` in `step`s as `bytes` bytes, high byte first (two's complement when negative).
void put(QByteArray& record, int at, double value, double step, int bytes = 1) {
    const qint64 count = std::llround(value / step);
    for (int k = 0; k < bytes; ++k)
        record[at + k] = char(quint8(count >> (8 * (bytes - 1 - k))));
}

QByteArray negative(quint8 service, quint8 code) {
    QByteArray message(1, char(0x7F));
    return message.append(char(service)).append(char(code));
}

// A record answer: the positive service byte, the echoed identifier, the record.
QByteArray positive(const QByteArray& request, const QByteArray& record) {
    QByteArray message = request;
    message[0] = char(quint8(request[0]) + 0x40);
    return message + record;
}

QByteArray batteryRecord(int pid, const EvState& s) {
    if (pid == 0x01) {
        QByteArray r(40, '\0');
        put(r, 0, s.stateOfCharge, 0.5);
        put(r, 1, s.packVoltage, 0.1, 2);
        put(r, 3, s.packCurrent, 0.1, 2);
        put(r, 5, s.highestCellVoltage(), 0.02);
        put(r, 6, s.highestCell, 1);
        put(r, 7, s.lowestCellVoltage(), 0.02);
        put(r, 8, s.lowestCell, 1);
        const auto [coolest, warmest] = std::minmax_element(s.moduleTemperatures.begin(), s.moduleTemperatures.end());
        put(r, 9, *warmest, 1);
        put(r, 10, *coolest, 1);
        put(r, 11, s.coolantInlet, 1);
        r[12] = char((s.mainRelay ? 1 : 0) | (s.charging ? 2 : 0) | (s.fastCharging ? 4 : 0) | (s.fan ? 8 : 0));
        put(r, 13, s.chargePower, 0.01, 2);
        put(r, 15, s.dischargePower, 0.01, 2);
        put(r, 17, s.energyCharged, 0.1, 4);
        put(r, 21, s.energyDischarged, 0.1, 4);
        return r;
    }
    if (pid >= 0x02 && pid <= 0x04) {
        QByteArray r(32, '\0');
        for (int k = 0; k < 32; ++k)
            put(r, k, s.cellVoltages[(pid - 0x02) * 32 + k], 0.02);
        return r;
    }
    if (pid == 0x05) {
        QByteArray r(24, '\0');
        for (int k = 0; k < kEvModules; ++k)
            put(r, k, s.moduleTemperatures[k], 1);
        put(r, 6, s.heater, 1);
        put(r, 7, s.stateOfHealth, 0.1, 2);
        put(r, 9, s.displayedCharge, 0.5);
        put(r, 10, s.insulation, 1, 2);
        return r;
    }
    return {};
}

QByteArray vehicleRecord(int pid, const EvState& s) {
    if (pid == 0x01) {
        QByteArray r(16, '\0');
        put(r, 0, s.speed, 0.01, 2);
        put(r, 2, s.motorRpm, 1, 2);
        put(r, 4, s.pedal, 0.4);
        r[5] = char((s.brake ? 1 : 0) | (s.ready ? 2 : 0));
        put(r, 6, s.selector, 1);
        put(r, 7, s.torque, 0.1, 2);
        return r;
    }
    if (pid == 0x02) {
        QByteArray r(8, '\0');
        put(r, 0, s.auxVoltage, 0.1);
        put(r, 1, s.outside + 40, 1);
        put(r, 2, s.odometer, 1, 3);
        put(r, 5, s.cabin + 40, 0.5);
        return r;
    }
    return {};
}

QByteArray motorRecord(int identifier, const EvState& s) {
    QByteArray r;
    switch (identifier) {
    case 0x0101:
        r = QByteArray(1, char(s.statorTemperature + 40));
        break;
    case 0x0102:
        r = QByteArray(1, char(s.inverterTemperature + 40));
        break;
    case 0x0103:
        r = QByteArray(2, '\0');
        put(r, 0, s.converterCurrent, 0.01, 2);
        break;
    case 0x0104:
        r = QByteArray(1, char(s.oilTemperature + 40));
        break;
    case 0x0105:
        r = QByteArray(2, '\0');
        put(r, 0, s.range, 1, 2);
        break;
    default:
        break;
    }
    return r;
}

// A service 21 record controller: the record of the one-byte local identifier.
std::optional<QByteArray> recordAnswer(const QByteArray& request, double time,
                                       QByteArray (*record)(int, const EvState&)) {
    if (request.isEmpty() || quint8(request[0]) != kLocalRecord) return std::nullopt;
    if (request.size() != 2) return negative(kLocalRecord, kIncorrectLength);
    const QByteArray data = record(quint8(request[1]), evStateAt(time));
    return data.isEmpty() ? negative(kLocalRecord, kOutOfRange) : positive(request, data);
}

ControllerDefinition recordController(const char* role, quint16 replyId, quint8 address,
                                      std::optional<QByteArray> (*answer)(const QByteArray&, double)) {
    ControllerDefinition definition;
    definition.name = QString::fromLatin1(role);
    definition.canId = replyId;
    definition.address = address;
    definition.obd = false;
    definition.pids.clear();
    definition.permanentSupported = false;
    definition.ownServices = answer;
    definition.canDelay = 0.014;
    return definition;
}

} // namespace

EvState evStateAt(double time) {
    const DriveState d = driveAt(time);
    EvState s;
    s.speed = stepped(d.speed, 0.01);
    s.pedal = stepped(d.pedal, 0.4);
    s.brake = d.phase == DrivePhase::Braking;
    s.ready = true;
    s.selector = d.phase == DrivePhase::Idle && d.speed < 0.5 ? 0 : 3;
    s.motorRpm = int(std::lround(d.speed * 85));
    s.torque = stepped(d.pedal * 4.2 - (s.brake ? 85 : 0), 0.1);

    s.stateOfCharge = stepped(std::clamp(82 - d.distance * 0.18, 5.0, 100.0), 0.5);
    s.displayedCharge = stepped(std::clamp((s.stateOfCharge - 3) * 1.04, 0.0, 100.0), 0.5);
    s.packCurrent = stepped(4.5 + d.pedal * 2.6 - (s.brake ? 48 : 0), 0.1);
    s.packVoltage = stepped(335 + s.stateOfCharge * 0.55 - s.packCurrent * 0.06, 0.1);
    const double cell = s.packVoltage / kEvCells;
    for (int k = 0; k < kEvCells; ++k)
        s.cellVoltages[k] = stepped(cell + 0.02 * ((k * 37) % 5 - 2), 0.02);
    s.highestCell = int(std::max_element(s.cellVoltages.begin(), s.cellVoltages.end()) - s.cellVoltages.begin()) + 1;
    s.lowestCell = int(std::min_element(s.cellVoltages.begin(), s.cellVoltages.end()) - s.cellVoltages.begin()) + 1;

    const double warm = std::min(time / 90, 14.0);
    for (int k = 0; k < kEvModules; ++k)
        s.moduleTemperatures[k] = int(std::lround(d.ambient + warm + (k % 3) - (k == 5 ? 4 : 0)));
    s.coolantInlet = int(std::lround(d.ambient + warm - 3));
    s.heater = s.coolantInlet - 2; // off: it follows the coolant
    s.mainRelay = true;
    s.fan = *std::max_element(s.moduleTemperatures.begin(), s.moduleTemperatures.end()) >= 30;
    s.chargePower = stepped(72 - s.stateOfCharge * 0.45, 0.01);
    s.dischargePower = stepped(148.5 - std::max(0.0, 30 - s.stateOfCharge), 0.01);
    s.energyCharged = 21873.4;
    s.energyDischarged = stepped(20412.7 + d.distance * 0.16, 0.1);
    s.stateOfHealth = 96.4;
    s.insulation = 3120;

    s.auxVoltage = 14.1;
    s.outside = int(std::lround(d.ambient - 6));
    s.odometer = 23456 + int(std::floor(d.distance));
    s.cabin = stepped(d.ambient + std::min(time / 120, 1.5), 0.5);

    s.statorTemperature = int(std::lround(d.ambient + std::min(time / 20, 55.0) + d.pedal * 0.2));
    s.inverterTemperature = s.statorTemperature - 8;
    s.oilTemperature = s.statorTemperature - 14;
    s.converterCurrent = stepped(31.5 + d.pedal * 0.12, 0.01);
    s.range = int(std::lround(s.stateOfCharge * 3.1));
    return s;
}

std::optional<QByteArray> batteryAnswer(const QByteArray& request, double time) {
    return recordAnswer(request, time, batteryRecord);
}

std::optional<QByteArray> vehicleAnswer(const QByteArray& request, double time) {
    return recordAnswer(request, time, vehicleRecord);
}

std::optional<QByteArray> motorAnswer(const QByteArray& request, double time) {
    if (request.isEmpty() || quint8(request[0]) != kReadIdentifier) return std::nullopt;
    if (request.size() != 3) return negative(kReadIdentifier, kIncorrectLength);
    const QByteArray data = motorRecord(quint8(request[1]) << 8 | quint8(request[2]), evStateAt(time));
    return data.isEmpty() ? negative(kReadIdentifier, kOutOfRange) : positive(request, data);
}

Profile evProfile(ControllerDefinition engine) {
    engine.ownServices = motorAnswer;
    Profile profile;
    profile.name = QStringLiteral("ev");
    profile.description =
        QStringLiteral("CAN 11/500, an electric car: engine 7E8 (OBD as can11, identifiers 220101-220105), battery "
                       "controller 7EC (2101-2105, segmented), vehicle controller 7EA (2101-2102)");
    profile.protocol = 6;
    profile.controllers = {engine, recordController("battery", 0x7EC, 0x14, batteryAnswer),
                           recordController("vehicle", 0x7EA, 0x12, vehicleAnswer)};
    return profile;
}

} // namespace zelcor::sim
