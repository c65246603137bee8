#pragma once
// The service 01 parameters and the derived channels: one table row per parameter with
// its name, decoding, units in both unit systems, graph range, gauge scale, panel title
// and where detection lists it.

#include "config/settings.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace zelcor {

// Derived channels: computed from other parameters, never asked of the car.
inline constexpr int kFuelEconomyCode = 999;
inline constexpr int kHorsepowerCode = 998;
inline constexpr int kTorqueCode = 997;
// Channels of the loaded manufacturer parameters: the first code, then one per parameter.
inline constexpr int kFirstManufacturerCode = 10000;
inline constexpr int kManufacturerCodes = 10000;
constexpr bool isManufacturerCode(int code) {
    return code >= kFirstManufacturerCode && code < kFirstManufacturerCode + kManufacturerCodes;
}

// Parameters the program reads by number besides the table.
namespace pid {
inline constexpr int monitorStatus = 0x01;
inline constexpr int monitorStatusThisCycle = 0x41;
inline constexpr int freezeFrameCode = 0x02;
inline constexpr int fuelSystems = 0x03;
inline constexpr int coolantTemperature = 0x05;
inline constexpr int engineSpeed = 0x0C;
inline constexpr int vehicleSpeed = 0x0D;
inline constexpr int intakeAirTemperature = 0x0F;
inline constexpr int airFlow = 0x10;
inline constexpr int oxygenSensors = 0x13;
inline constexpr int firstOxygenSensor = 0x14;
inline constexpr int powerTakeOff = 0x1E;
inline constexpr int supported21To40 = 0x20;
inline constexpr int supported41To60 = 0x40;
} // namespace pid

// The setting that picks a parameter's unit system.
enum class UnitChoice { None, Temperature, Pressure, Speed, AirFlow };

// A scale in one unit system: units, range, tick spacing and decimals.
struct Scale {
    const char* units = "";
    double minimum = 0;
    double maximum = 0;
    double tick = 0;  // value distance between ticks
    double step = 0;  // value distance between labelled ticks
    int decimals = 0; // -1 for a value that is text
};

// A scale in the metric and in the imperial unit system.
struct Scales {
    Scale metric;
    Scale imperial;
};
constexpr Scales same(Scale s) {
    return {s, s};
}

// Where detection lists a supported parameter.
enum class Listing {
    None,
    ChannelFirst, // at the top of the live-data and graph channel lists
    ChannelLast,  // at the bottom of them
    Function,     // in the function list
    FunctionAndChannelFirst,
    FunctionAndChannelLast,
};

// What one decode gives: the display text, and where the parameter has them the number,
// the round-gauge position, decimals, units and range.
struct Decoded {
    QString text;
    double needle = -1; // gauge position 0..100; -1 when the parameter has no gauge
    std::optional<double> value;
    std::optional<int> decimals; // -1 for a value that is text
    QString units;
    QString range;   // "low~high"
    QString problem; // why the bytes give no value (too few); empty when they do
};

// Decodes a reply's data bytes (A first); `imperial` is the parameter's unit setting.
using Decoder = Decoded (*)(const QByteArray& data, bool imperial);

struct Parameter {
    int code;         // PID, or 997..999 for a derived channel
    const char* name; // function list, channel lists, freeze frame rows, reports
    Decoder decode;   // nullptr: shown without decoding
    int bytes;        // the data bytes the parameter has (what a sound reply holds)
    UnitChoice unitChoice;
    const char* channelName; // graph axis and log header; nullptr: no channel information
    Scales channel;
    const char* gaugeName; // gauge window; nullptr: no gauge
    Scales gauge;
    const char* panelTitle; // caption of the single-parameter panel; nullptr: none
    Listing listing;        // where detection lists the parameter when the car supports it
    int listedAfter;        // derived channels: listed when this PID is supported
};

// The row of `code`; nullptr for codes the table does not hold.
const Parameter* findParameter(int code);
// The rows in table order (derived channels last).
const Parameter* parametersBegin();
const Parameter* parametersEnd();

// True when `settings` show this parameter in its imperial units.
bool imperialUnits(UnitChoice choice, const Settings& settings);

// The display name; empty for codes without one.
QString parameterName(int code);

// Decodes the data bytes of a reply to "01" + PID; an empty text for parameters that are
// not decoded, and an empty text with a problem when the reply holds too few bytes
// (missing bytes are never read as 0).
Decoded decodeParameter(int code, const QByteArray& data, const Settings& settings);
// The data bytes of a parameter's reply; 0 for codes the table does not hold.
int parameterBytes(int code);

// Name, units, range, scale spacings and decimals of a channel (graph axes, log headers).
// The O2 voltage names hold two lines joined by CR LF.
struct ChannelInfo {
    QString name;
    QString units;
    double minimum = 0;
    double maximum = 0;
    double tick = 0;
    double step = 0;
    int decimals = 0;
};
std::optional<ChannelInfo> channelInfo(int code, const Settings& settings);

// The scale of a channel's round gauge; none when the channel has no gauge. Two-line names
// are joined by "\n".
struct GaugeScale {
    QString name;
    QString units;
    double minimum = 0;
    double maximum = 0;
    double tick = 0;
    double step = 0;
    int decimals = 0;
};
std::optional<GaugeScale> gaugeScale(int code, const Settings& settings);

// What a gauge window shows of a reading: needle position in percent, value, decimals.
struct GaugeFeed {
    double position = 0;
    double value = 0;
    int decimals = 0;
};

// The caption of the single-parameter panel for a function code; empty when none.
QString panelTitle(int code);

// Text of the fuel system status (PID 03) for data bytes A and B, and of the secondary
// air status (PID 12) for A.
QString fuelSystemStatusText(int a, int b);
QString secondaryAirText(int a);

// Data byte `index` (0 = A); missing bytes read as 0.
int dataByte(const QByteArray& data, int index);

} // namespace zelcor
