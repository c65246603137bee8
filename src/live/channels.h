#pragma once
// The channel selectors of the live-data rows and the graph traces, rebuilt by every
// detection, and the state of one live-data row and one graph trace.

#include "base/listentry.h"
#include "obd/parameters.h"

#include <QList>
#include <QString>
#include <optional>

namespace zelcor {

struct ChannelSelector {
    QList<ListEntry> entries;
    int index = -1; // the selected entry, -1 for none
    // The selected entry's code; 0 when none is selected.
    int code() const { return index >= 0 && index < entries.size() ? entries.at(index).code : 0; }
    // Selects the entry of `code`; a code the list does not hold leaves no selection.
    // True when the selection changed.
    bool selectCode(int code);
    void clear() {
        entries.clear();
        index = -1;
    }
};

// One row of the live-data panel.
struct LiveRow {
    ChannelSelector channel;
    bool enabled = false;   // "Enable Monitoring"
    bool showGauge = false; // "Show Gauge"
    bool lamp = false;      // the request is in progress
    QString value;          // the value box
    QString problem;        // why a manufacturer channel has no value, for the value box's tip

    GaugeScale dial; // the scale of the row's gauge window, chosen when "Show Gauge" opens it
    GaugeFeed gauge; // the gauge's latest needle position, value and decimals
    // The latest reading as a number with its units; none after a rejected reply or for
    // a value that is text.
    std::optional<double> number;
    QString units;
};

// One trace of the real-time graphs.
struct GraphTrace {
    ChannelSelector channel;
    bool enabled = false;
    QString value = QStringLiteral("0.0"); // the latest value's text
};

inline constexpr int kLiveRows = 10;
inline constexpr int kGraphTraces = 2;

} // namespace zelcor
