#pragma once
// The live stage of the headless scan: the first ten channels polled by live-data
// passes for a given time, the readings after every pass, the last readings and the
// pass rate.

#include "core/scanreport.h"
#include "link/passbound.h"

namespace zelcor {

class Session;

class LiveScan {
public:
    LiveScan(Session& session, double seconds) : session_(session), seconds_(seconds) {}
    // Each pass reads the manufacturer parameters of `plan` too (none: not asked).
    void setParameters(const RequestPlan* plan) { parameters_ = plan; }

    // Rows 0..9 get the first ten channels of the list, enabled; the live-data
    // function is selected and the time starts.
    void start();
    bool started() const { return started_; }
    // One live-data pass, its readings kept; true once the time is up.
    bool pass();
    // The readings of every pass, the rows' last readings and the passes per second.
    void fill(ScanReport& report) const;

private:
    Session& session_;
    double seconds_;
    bool started_ = false;
    double start_ = 0;
    double end_ = -1;
    int passes_ = 0;
    QList<ScanSample> samples_;
    PassLoad load_; // what the passes put on the line, for the bound on their rate
    const RequestPlan* parameters_ = nullptr;
};

} // namespace zelcor
