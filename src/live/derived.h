#pragma once
// Live values shared between polling passes, and the fuel economy, horsepower and torque computed from them.

#include "obd/parameters.h"

#include <QString>
#include <array>
#include <optional>

namespace zelcor {

// Five values, newest first. Entries never pushed are empty and read as 0.
class History {
public:
    static constexpr int kSize = 5;

    // Moves every entry one place older, drops the oldest, stores `value` as the newest.
    void push(double value);
    // Entry i (0 newest .. 4 oldest); 0 when empty or outside the history.
    double at(int i) const;
    bool isEmpty(int i) const;

private:
    std::array<std::optional<double>, kSize> entries_;
};

// Values kept from pass to pass by the live-data and graph passes.
struct LiveHistory {
    double latestAirFlow = 0; // latest air flow, in the unit of the air-flow setting
    History speeds;           // vehicle speed as displayed (MPH or km/h)
    History engineSpeeds;     // engine RPM
    History speedTimes;       // clock (seconds) at which each speed value was taken

    // Speed and its time are always pushed together.
    void pushSpeed(double speed, double time);
    void pushEngineSpeed(double rpm) { engineSpeeds.push(rpm); }
};

// Which inputs were decoded earlier in the current pass; all cleared at its start.
struct SeenFlags {
    bool airFlowSeen = false;
    bool speedSeen = false;
    bool engineSpeedSeen = false;
};

// A derived row's text and, unless it shows a hint message, its gauge feed.
struct DerivedRow {
    QString text;
    std::optional<GaugeFeed> gauge;
};

// Fuel economy from the newest speed and `latestAirFlow` ("#.0#"), "0" when there is no air flow.
QString fuelEconomyText(const LiveHistory& history, bool poundsPerMinute);
// Horsepower from the speed change over the history ("##0"); 0 when slowing down or
// when the history spans no time. `weight` in pounds.
QString horsepowerText(const LiveHistory& history, double weight);
// Torque: the horsepower times 5252 over the mean of the newest and oldest RPM ("##0").
QString torqueText(const LiveHistory& history, double weight);

// The live-data rows: the value when this pass has seen the inputs, else the hint message.
DerivedRow fuelEconomyRow(const LiveHistory& history, const SeenFlags& seen, bool poundsPerMinute);
DerivedRow horsepowerRow(const LiveHistory& history, const SeenFlags& seen, double weight);
DerivedRow torqueRow(const LiveHistory& history, const SeenFlags& seen, double weight);

// The row of derived channel `code` (997..999) with the current settings; empty text
// and no feed for other codes.
DerivedRow derivedRow(int code, const LiveHistory& history, const SeenFlags& seen, const Settings& settings);

} // namespace zelcor
