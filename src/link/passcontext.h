#pragma once
// What a diagnostic pass works with besides its own area's state: the exchange with the
// adapter, the settings (units), the clock, and whether it may go on.

#include "base/clock.h"
#include "config/settings.h"
#include "link/exchange.h"
#include "link/fastpolling.h"

#include <functional>

namespace zelcor {

class PassContext {
public:
    PassContext(Exchange& exchange, const Settings& settings, Clock& clock, bool replaying,
                std::function<bool()> stillSelected, FastPolling* polling = nullptr)
        : exchange_(exchange), settings_(settings), clock_(clock), replaying_(replaying),
          stillSelected_(std::move(stillSelected)), polling_(polling) {}

    Exchange& exchange() const { return exchange_; }
    const Settings& settings() const { return settings_; }
    Clock& clock() const { return clock_; }
    // The replies come from a trace log: nothing is waited for, times say nothing.
    bool replaying() const { return replaying_; }
    // Fast requests for service 01 parameters, when they are in use; else none.
    FastPolling* fastPolling() const { return polling_ && polling_->active() ? polling_ : nullptr; }

    bool stopRequested() const { return exchange_.stopRequested(); }
    // Neither a stop was requested nor another function chosen since the pass began.
    bool mayGoOn() const { return !stopRequested() && (!stillSelected_ || stillSelected_()); }

private:
    Exchange& exchange_;
    const Settings& settings_;
    Clock& clock_;
    bool replaying_;
    std::function<bool()> stillSelected_;
    FastPolling* polling_;
};

} // namespace zelcor
