#pragma once
// The channel selectors of the live-data rows and the graph traces, rebuilt by every
// detection; entries are "name + 60 blanks + code".

#include "live/derived.h"
#include "live/gaugescale.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace zelcor {

struct ChannelSelector {
    QStringList entries;
    int index = -1; // the selected entry, -1 for none
    int code() const;
    void clear() {
        entries.clear();
        index = -1;
    }
};

// One row of the live-data panel.
struct LiveRow {
    ChannelSelector channel; // Combo1(i)
    bool enabled = false;    // Check1(i), "Enable Monitoring"
    bool showGauge = false;  // Check2(i), "Show Gauge"
    bool lamp = false;       // Shape2(i), the request is in progress
    QString value;           // Text5(i)

    GaugeScale dial; // the scale of the row's gauge window, chosen when "Show Gauge" opens it
    GaugeFeed gauge; // the gauge's latest needle position, value and decimals
    // The latest reading as a number with its units; none after a rejected reply or for
    // a value that is text.
    std::optional<double> number;
    QString units;
};

// One trace of the real-time graphs.
struct GraphTraceSelector {
    ChannelSelector channel;               // Combo9(t)
    bool enabled = false;                  // Check6(t)
    QString value = QStringLiteral("0.0"); // Label42(t)
};

inline constexpr int kLiveRows = 10;

} // namespace zelcor
