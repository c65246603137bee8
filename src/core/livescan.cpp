#include "core/livescan.h"

#include "core/session.h"
#include "definitions/parameterpass.h"

namespace zelcor {

void LiveScan::start() {
    LiveData& live = session_.live();
    for (int i = 0; i < kLiveRows; ++i) {
        const bool listed = live.row(i).channel.entries.size() > i;
        live.chooseRowChannel(i, listed ? i : -1);
        live.setShowGauge(i, false);
        live.setRowEnabled(i, listed);
    }
    session_.navigation().setFunction(Function::LiveData);
    started_ = true;
    passes_ = 0;
    load_ = PassLoad{};
    samples_.clear();
    start_ = session_.clock().now();
}

bool LiveScan::pass() {
    session_.runPass();
    ++passes_;
    if (session_.fastPolling().active()) load_ += session_.fastPolling().passBound().currentPass();
    ScanSample sample;
    sample.t = session_.clock().now() - start_;
    for (const LiveRow& row : session_.live().rows())
        if (row.enabled && row.channel.index >= 0)
            sample.values.append({row.channel.entries.at(row.channel.index).code, row.number});
    if (parameters_ && !session_.link().stopRequested()) {
        // From the functional address, where fast polling may have left the selected controller's.
        session_.fastPolling().useFunctionalAddress();
        ParameterPass read(session_.link(), *parameters_);
        read.run();
        for (const ParameterValue& value : read.values())
            sample.extended.append(value.value);
    }
    samples_.append(sample);
    if (sample.t < seconds_) return false;
    end_ = session_.clock().now();
    return true;
}

void LiveScan::fill(ScanReport& report) const {
    report.live.clear();
    for (const LiveRow& row : session_.live().rows()) {
        if (!row.enabled || row.channel.index < 0) continue;
        const ListEntry& entry = row.channel.entries.at(row.channel.index);
        report.live.append(ScanLive{entry.code, entry.name, row.value, row.number, row.units});
    }
    report.samples = samples_;
    const double elapsed = (end_ >= 0 ? end_ : session_.clock().now()) - start_;
    report.passRate = elapsed > 0 ? passes_ / elapsed : 0.0;
    report.boundRate.reset();
    if (const auto shortest = session_.fastPolling().passBound().shortest(load_); shortest && *shortest > 0)
        report.boundRate = passes_ / *shortest;
    const FastPolling& polling = session_.fastPolling();
    report.polling.fast = polling.active();
    report.polling.ownHeader = polling.active() && polling.abilities().ownHeader;
    report.polling.responseCount = polling.active() && polling.abilities().responseCount;
    report.polling.pidsPerRequest = polling.pidsPerRequest();
}

} // namespace zelcor
