#include "fakeclock.h"

namespace zelcor::test {

void FakeClock::yield() {
    now_ += step_;
    ++yields_;
    if (onYield) onYield(now_);
    for (auto& ticker : tickers_)
        ticker();
}

} // namespace zelcor::test
