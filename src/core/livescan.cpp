#include "core/livescan.h"

#include "core/listentry.h"
#include "core/session.h"

namespace zelcor {

void LiveScan::start() {
    for (int i = 0; i < kLiveRows; ++i) {
        LiveRow& row = session_.liveRows[size_t(i)];
        row.channel.index = row.channel.entries.size() > i ? i : -1;
        row.enabled = row.channel.index >= 0;
        row.showGauge = false;
    }
    session_.funccode = 250;
    started_ = true;
    passes_ = 0;
    start_ = session_.clock.now();
}

bool LiveScan::pass() {
    session_.COMMS();
    ++passes_;
    if (session_.clock.now() - start_ < seconds_) return false;
    end_ = session_.clock.now();
    return true;
}

void LiveScan::fill(ScanReport& report) const {
    report.live.clear();
    for (const LiveRow& row : session_.liveRows) {
        if (!row.enabled || row.channel.index < 0) continue;
        const QString entry = row.channel.entries.at(row.channel.index);
        report.live.append(ScanLive{entryCode(entry), entryName(entry), row.value, row.number, row.units});
    }
    const double elapsed = (end_ >= 0 ? end_ : session_.clock.now()) - start_;
    report.passRate = elapsed > 0 ? passes_ / elapsed : 0.0;
}

} // namespace zelcor
