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
    PassContext(Exchange& exchange, const Settings& settings, Clock& clock, bool ownTimes,
                std::function<bool()> stillSelected, FastPolling* polling = nullptr)
        : exchange_(exchange), settings_(settings), clock_(clock), ownTimes_(ownTimes),
          stillSelected_(std::move(stillSelected)), polling_(polling) {}

    Exchange& exchange() const { return exchange_; }
    const Settings& settings() const { return settings_; }
    Clock& clock() const { return clock_; }
    // The pass's times are its own: false while a trace is replayed, which answers at once
    // and is paced by the recording.
    bool ownTimes() const { return ownTimes_; }
    // Fast requests for service 01 parameters, when they are in use; else none.
    FastPolling* fastPolling() const { return polling_ && polling_->active() ? polling_ : nullptr; }

    bool stopRequested() const { return exchange_.stopRequested(); }
    // Neither a stop was requested nor another function chosen since the pass began.
    bool mayGoOn() const { return !stopRequested() && (!stillSelected_ || stillSelected_()); }

private:
    Exchange& exchange_;
    const Settings& settings_;
    Clock& clock_;
    bool ownTimes_;
    std::function<bool()> stillSelected_;
    FastPolling* polling_;
};

} // namespace zelcor
