#pragma once
// A clock for tests: time moves only when the code under test yields, so every
// protocol wait is deterministic and costs no real time.

#include "base/clock.h"

#include <functional>
#include <vector>

namespace zelcor::test {

class FakeClock : public Clock {
public:
    explicit FakeClock(double start = 1000.0, double step = 0.001) : now_(start), step_(step) {}

    double now() const override { return now_; }
    // Advances time by one step, then runs every ticker (simulated devices, pollers).
    void yield() override;

    void advance(double seconds) { now_ += seconds; }
    void setStep(double seconds) { step_ = seconds; }
    int yields() const { return yields_; }
    // Called on every yield after time has moved; used to deliver simulated input.
    void addTicker(std::function<void()> ticker) { tickers_.push_back(std::move(ticker)); }
    // Called on every yield before the tickers; a test uses it to click during a wait.
    std::function<void(double)> onYield;

private:
    double now_;
    double step_;
    int yields_ = 0;
    std::vector<std::function<void()>> tickers_;
};

} // namespace zelcor::test
