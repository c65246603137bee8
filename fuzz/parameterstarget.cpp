// Fuzz target: decoding service 01 parameters. The input picks the parameter (any PID, or
// with the top bit of the second byte a derived channel), the unit settings and the
// vehicle weight, then holds the data bytes. The bytes are decoded, the channel's scales
// looked up, and the derived channels computed from speeds, engine speeds and air flows
// decoded from the same bytes.

#include "fuzzrig.h"
#include "live/derived.h"
#include "obd/parameters.h"

#include <cmath>

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

Settings settingsFrom(uint8_t units, uint8_t weight) {
    Settings s;
    s.fahrenheit = units & 0x01;
    s.psi = units & 0x02;
    s.milesPerHour = units & 0x04;
    s.poundsPerMinute = units & 0x08;
    s.vehicleWeight = weight * 40.0;
    return s;
}

void checkDecoded(const Decoded& d) {
    require(!d.value || std::isfinite(*d.value), "a decoded value is a number");
    require(std::isfinite(d.needle), "a needle position is a number");
}

void checkScales(int code, const Settings& settings) {
    if (const auto info = channelInfo(code, settings))
        require(info->maximum >= info->minimum, "a channel's range is not upside down");
    if (const auto scale = gaugeScale(code, settings))
        require(scale->maximum > scale->minimum && scale->tick > 0 && scale->step > 0, "a gauge scale can be drawn");
}

double valueOf(int code, const QByteArray& data, const Settings& settings) {
    return decodeParameter(code, data, settings).value.value_or(0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t pid = input.takeByte();
    const uint8_t choice = input.takeByte();
    const Settings settings = settingsFrom(choice, input.takeByte());
    const QByteArray bytes = input.rest();
    const int code = choice & 0x80 ? kTorqueCode + pid % 3 : pid;

    checkDecoded(decodeParameter(code, bytes, settings));
    checkScales(code, settings);
    parameterName(code);
    panelTitle(code);
    fuelSystemStatusText(dataByte(bytes, 0), dataByte(bytes, 1));
    secondaryAirText(dataByte(bytes, 0));

    // Five readings of speed, engine speed and air flow, each from the next bytes.
    LiveHistory history;
    SeenFlags seen{true, true, true};
    double time = 0;
    for (qsizetype at = 0; at + 3 <= bytes.size() && at < 15; at += 3) {
        time += quint8(bytes[at]) / 16.0;
        history.pushSpeed(valueOf(pid::vehicleSpeed, bytes.mid(at + 1, 1), settings), time);
        history.pushEngineSpeed(valueOf(pid::engineSpeed, bytes.mid(at + 1, 2), settings));
        history.latestAirFlow = valueOf(pid::airFlow, bytes.mid(at + 2, 2), settings);
    }
    for (int derived = kTorqueCode; derived <= kFuelEconomyCode; ++derived) {
        const DerivedRow row = derivedRow(derived, history, seen, settings);
        if (row.gauge)
            require(std::isfinite(row.gauge->position) && std::isfinite(row.gauge->value),
                    "a derived gauge feed is a number");
    }
    return 0;
}
