#include "sim/controller.h"

#include <algorithm>
#include <cmath>

namespace zelcor::sim {

namespace {

quint8 byteOf(double value) {
    return quint8(std::clamp(std::lround(value), 0L, 255L));
}

QByteArray bytes(std::initializer_list<double> values) {
    QByteArray out;
    for (const double v : values)
        out.append(char(byteOf(v)));
    return out;
}

QByteArray word(double value) {
    const long w = std::clamp(std::lround(value), 0L, 65535L);
    return bytes({double(w >> 8), double(w & 0xFF)});
}

QByteArray percent(double value) {
    return bytes({value * 255 / 100});
}
QByteArray temperature(double celsius) {
    return bytes({celsius + 40});
}
QByteArray trim(double value) {
    return bytes({(value + 100) * 128 / 100});
}

bool isBitmapPid(int pid) {
    return pid % 0x20 == 0 && pid <= 0xE0;
}

// Drive time after which a monitor has run to completion (after a clear or a key-on).
double completionTime(quint8 monitor) {
    switch (monitor) {
    case MonitorOxygenHeater:
        return 40;
    case MonitorOxygenSensor:
        return 90;
    case MonitorEgr:
        return 150;
    case MonitorSecondaryAir:
        return 200;
    case MonitorCatalyst:
        return 240;
    case MonitorHeatedCatalyst:
        return 300;
    default: // evaporative system, air conditioning: not within one drive
        return INFINITY;
    }
}

quint8 completedAfter(double seconds) {
    quint8 done = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const quint8 monitor = quint8(1 << bit);
        if (seconds >= completionTime(monitor)) done |= monitor;
    }
    return done;
}

// Support of `pid` in a list that holds only ordinary PIDs: bitmap PIDs are supported
// when some PID beyond them is (PID 00 always).
bool supportedIn(int pid, const QList<int>& pids) {
    if (pid == 0) return true;
    if (pids.contains(pid)) return true;
    if (!isBitmapPid(pid)) return false;
    return std::any_of(pids.begin(), pids.end(), [pid](int p) { return p > pid; });
}

} // namespace

Controller::Controller(ControllerDefinition definition)
    : definition_(std::move(definition)), module_(definition_.module) {
    stored_ = definition_.stored;
    pending_ = definition_.pending;
    freezeCode_ = definition_.freezeFrames ? definition_.freezeCode : 0;
    // A frame keeps its causing code and only PIDs the controller can report.
    QList<int> kept{2};
    for (const int pid : definition_.freezePids)
        if (pid != 2 && !isBitmapPid(pid) && definition_.pids.contains(pid)) kept.append(pid);
    definition_.freezePids = kept;
    frozen_ = driveAt(definition_.freezeTime);
}

bool Controller::supports(int pid) const {
    return supportedIn(pid, definition_.pids);
}

QByteArray Controller::bitmap(int base, const QList<int>& pids) const {
    QByteArray map(4, '\0');
    for (int i = 1; i <= 32; ++i)
        if (supportedIn(base + i, pids)) map[(i - 1) / 8] = char(quint8(map[(i - 1) / 8]) | (0x80 >> ((i - 1) % 8)));
    return map;
}

quint8 Controller::incomplete(double time) const {
    if (!clearedAt_) return definition_.incompleteAtStart & definition_.monitors;
    return definition_.monitors & ~completedAfter(time - *clearedAt_);
}

QByteArray Controller::status(double time, bool thisCycle) const {
    QByteArray out;
    if (thisCycle)
        out.append(char(0));
    else
        out.append(char((lampOn() ? 0x80 : 0) | std::min<qsizetype>(stored_.size(), 0x7F)));
    out.append(char(definition_.continuousMonitors & 0x07)); // spark ignition; continuous monitors complete
    out.append(char(definition_.monitors));
    const quint8 notDone = thisCycle ? quint8(definition_.monitors & ~completedAfter(time)) : incomplete(time);
    out.append(char(notDone));
    return out;
}

std::optional<QByteArray> Controller::pidData(int pid, const DriveState& d) const {
    if (!supports(pid)) return std::nullopt;
    if (isBitmapPid(pid)) return bitmap(pid, definition_.pids);
    const bool lambdaSensor = !definition_.pids.contains(0x14); // wide-band sensor ahead of the catalyst
    switch (pid) {
    case 0x01:
        return status(d.time, false);
    case 0x03:
        return bytes({double(d.fuelSystem), 0});
    case 0x04:
        return percent(d.load);
    case 0x05:
        return temperature(d.coolant);
    case 0x06:
        return trim(d.shortTrim);
    case 0x07:
        return trim(definition_.longTrim);
    case 0x0B:
        return bytes({d.map});
    case 0x0C:
        return word(d.rpm * 4);
    case 0x0D:
        return bytes({d.speed});
    case 0x0E:
        return bytes({(d.timing + 64) * 2});
    case 0x0F:
        return temperature(d.intake);
    case 0x10:
        return word(d.maf * 100);
    case 0x11:
        return percent(d.throttle);
    case 0x13:
        return bytes({double(definition_.oxygenSensors)});
    case 0x14:
        return bytes({d.o2Upstream / 0.005, (d.shortTrim + 100) * 128 / 100});
    case 0x15:
        return bytes({d.o2Downstream / 0.005, 255});
    case 0x1C:
        return bytes({1}); // OBD II as defined by CARB
    case 0x1F:
        return word(d.time);
    case 0x21:
        return word(lampOn() ? definition_.distanceWithLamp + d.distance : 0);
    case 0x24:
        if (!lambdaSensor) return std::nullopt;
        return word(d.lambda * 32768) + word(std::clamp(3.3 + (d.lambda - 1) * 3, 0.0, 7.99) * 8192);
    case 0x2E:
        return percent(d.purge);
    case 0x2F:
        return percent(d.fuelLevel);
    case 0x30:
        return bytes({clearedAt_ ? 0.0 : double(definition_.warmupsSinceClear)});
    case 0x31:
        return word(clearedAt_ ? d.distance - distanceAtClear_ : definition_.distanceSinceClear + d.distance);
    case 0x33:
        return bytes({d.barometric});
    case 0x3C:
        return word((d.catalyst + 40) * 10);
    case 0x41:
        return status(d.time, true);
    case 0x42:
        return word(d.voltage * 1000);
    case 0x43:
        return word(d.load * 255 / 100);
    case 0x44:
        return word(d.commandedLambda * 32768);
    case 0x45:
        return percent((d.throttle - 14.5) / 85.5 * 100);
    case 0x46:
        return temperature(d.ambient);
    case 0x47:
        return percent(d.throttle + 1.6);
    case 0x49:
        return percent(15 + d.pedal * 0.65);
    case 0x4A:
        return percent(7.5 + d.pedal * 0.33);
    case 0x4C:
        return percent((d.throttle - 14.5) / 85.5 * 100);
    default:
        return std::nullopt;
    }
}

QList<QByteArray> Controller::codes(quint8 service, const QList<quint16>& list, bool can) const {
    auto append = [](QByteArray& message, quint16 code) {
        message.append(char(code >> 8));
        message.append(char(code & 0xFF));
    };
    if (can) {
        QByteArray message;
        message.append(char(service | 0x40));
        message.append(char(std::min<qsizetype>(list.size(), 0xFF)));
        for (const quint16 code : list)
            append(message, code);
        return {message};
    }
    // Legacy buses: three codes per message, filled with 00 00.
    QList<QByteArray> messages;
    for (qsizetype i = 0; i == 0 || i < list.size(); i += 3) {
        QByteArray message(1, char(service | 0x40));
        for (qsizetype k = i; k < i + 3; ++k)
            append(message, k < list.size() ? list[k] : 0);
        messages.append(message);
    }
    return messages;
}

QList<QByteArray> Controller::freezeFrame(const QByteArray& request, bool can) const {
    const QByteArray pairs = request.mid(1);
    if (!definition_.freezeFrames || pairs.isEmpty() || pairs.size() % 2 != 0 || pairs.size() > (can ? 6 : 2))
        return {};
    QByteArray out(1, char(0x42));
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        const int pid = quint8(pairs[i]);
        const int frame = quint8(pairs[i + 1]);
        if (frame != 0) continue;
        std::optional<QByteArray> data;
        if (isBitmapPid(pid)) {
            if (supportedIn(pid, definition_.freezePids)) data = bitmap(pid, definition_.freezePids);
        } else if (pid == 2) {
            data = QByteArray(1, char(freezeCode_ >> 8)) + char(freezeCode_ & 0xFF);
        } else if (freezeCode_ != 0 && definition_.freezePids.contains(pid)) {
            data = pidData(pid, frozen_);
        }
        if (data) out.append(char(pid)).append(char(frame)).append(*data);
    }
    if (out.size() == 1) return {};
    return {out};
}

void Controller::clear(double time) {
    stored_.clear();
    pending_.clear();
    freezeCode_ = 0;
    clearedAt_ = time;
    distanceAtClear_ = driveAt(time).distance;
}

QList<QByteArray> Controller::answer(const QByteArray& request, bool can, double time) {
    if (request.isEmpty()) return {};
    if (definition_.ownServices)
        if (auto message = definition_.ownServices(request, time)) return {*message};
    if (auto messages = module_.answer(request)) {
        if (module_.takeCleared()) clear(time);
        return *messages;
    }
    if (!definition_.obd) return {};
    switch (quint8(request[0])) {
    case 0x01: {
        const QByteArray pids = request.mid(1);
        if (pids.isEmpty() || pids.size() > (can ? 6 : 1)) return {};
        const DriveState drive = driveAt(time);
        QByteArray out(1, char(0x41));
        for (const char pid : pids)
            if (const auto data = pidData(quint8(pid), drive)) out.append(pid).append(*data);
        if (out.size() == 1) return {};
        return {out};
    }
    case 0x02:
        return freezeFrame(request, can);
    case 0x03:
        return request.size() == 1 ? codes(0x03, stored_, can) : QList<QByteArray>();
    case 0x04:
        if (request.size() != 1) return {};
        clear(time);
        return {QByteArray(1, char(0x44))};
    case 0x07:
        return request.size() == 1 ? codes(0x07, pending_, can) : QList<QByteArray>();
    case 0x06:
        return request.size() == 2 ? monitorTestAnswer(definition_.info, quint8(request[1]), can) : QList<QByteArray>();
    case 0x09:
        return request.size() == 2 ? vehicleInfoAnswer(definition_.info, quint8(request[1]), can) : QList<QByteArray>();
    case 0x0A:
        if (request.size() != 1 || !definition_.permanentSupported) return {};
        return codes(0x0A, definition_.permanent, can);
    default:
        return {};
    }
}

} // namespace zelcor::sim
