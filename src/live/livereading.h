#pragma once
// One service 01 request of the live-data and graph passes, sent, received and decoded.

#include "link/exchange.h"
#include "obd/parameters.h"

#include <QString>
#include <optional>

namespace zelcor {

struct LiveReading {
    QString text;         // the display text; empty when the reply was rejected
    QString reply;        // the normalised reply
    Decoded decoded;      // of an accepted reply
    bool empty = true;    // no reply at all
    bool matched = false; // the selected controller answered for this PID
    bool fromCar = false; // a controller answered, even if not for this PID (NO DATA and
                          // the adapter's other words are no answer from the car)

    // The decoded value, when the reply was accepted and the parameter has one.
    std::optional<double> number() const;
    // The value as the CSV log writes it: the text for a value that is text, else the
    // number with its decimals ("#0" without decimals).
    QString logValue() const;
    // Needle position, value and decimals for the row's gauge window.
    GaugeFeed gaugeFeed() const;
};

// Sends "01" + the PID `code` in two hex digits and decodes the reply.
LiveReading readLiveParameter(Exchange& exchange, const Settings& settings, int code);
// The reading a reply gives for the PID `code`.
LiveReading liveReading(const Reply& reply, const Settings& settings, int code);

} // namespace zelcor
