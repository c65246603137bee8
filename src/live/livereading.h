#pragma once
// One mode 01 request of the live-data and graph passes, sent, received and decoded.

#include "live/derived.h"
#include "vehicle/decodepid.h"

#include <QString>
#include <optional>

namespace zelcor {

class Session;

struct LiveReading {
    QString text;         // the display text; empty when the reply was rejected
    QString reply;        // the normalised reply
    PidOutputs outputs;   // from this decode only
    bool empty = true;    // no reply at all
    bool matched = false; // the reply carries the selected controller and "41" + PID

    // The decoded value, when the reply was accepted and the parameter has one.
    std::optional<double> number() const;
    // The value as the CSV log writes it: the text for a value that is text, else the
    // number with its decimals ("#0" without decimals).
    QString logValue() const;
    // Needle position, value and decimals for the row's gauge window.
    GaugeFeed gaugeFeed() const;
};

// Sends "01" + the PID `code` in two hex digits and decodes the reply.
LiveReading readLivePid(Session& session, int code);

} // namespace zelcor
