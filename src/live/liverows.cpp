// Clicks on the live-data rows: the "Enable Monitoring" and "Show Gauge" boxes and the
// channel selectors. A row's gauge window exists while its "Show Gauge" box is checked.

#include "core/session.h"

namespace zelcor {

namespace {

bool isRow(int row) {
    return row >= 0 && row < kLiveRows;
}

} // namespace

void Session::Check1_Click(int row) {
    if (!isRow(row)) return;
    LiveRow& r = liveRows[size_t(row)];
    if (!r.enabled && r.showGauge) {
        r.showGauge = false;
        Check2_Click(row);
    }
    emit liveRowChanged(row);
}

void Session::Check2_Click(int row) {
    if (!isRow(row)) return;
    LiveRow& r = liveRows[size_t(row)];
    if (r.showGauge) {
        r.enabled = true;
        // Channels without a dial get no window, and the box clears itself again.
        if (const std::optional<GaugeScale> scale = gaugeScale(r.channel.code(), settings)) {
            r.dial = *scale;
            r.gauge = GaugeFeed{};
        } else {
            r.showGauge = false;
        }
    }
    emit liveRowChanged(row);
}

void Session::Combo1_Click(int row) {
    if (!isRow(row)) return;
    LiveRow& r = liveRows[size_t(row)];
    if (r.showGauge) {
        r.showGauge = false;
        Check2_Click(row);
    }
    emit liveRowChanged(row);
}

} // namespace zelcor
