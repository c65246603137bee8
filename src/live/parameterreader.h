#pragma once
// The service 01 readings of one live or graph pass: one request per PID as asked, or,
// with fast polling, the pass's PIDs asked ahead several to a request.

#include "link/passcontext.h"
#include "live/livereading.h"
#include "live/parameterchannels.h"

#include <QHash>
#include <QList>
#include <functional>

namespace zelcor {

class ParameterReader {
public:
    ParameterReader(PassContext& pass, const Settings& settings) : pass_(pass), settings_(settings) {}

    // Asks ahead for those of `codes` that one request can carry together with others
    // (nothing when each PID goes on its own); stops when the pass may not go on.
    // `inFlight` hears each group's PIDs as its request goes out (true) and when its
    // answers came (false).
    void askAhead(const QList<int>& codes, const std::function<void(const QList<int>&, bool)>& inFlight = {});
    // The manufacturer parameters of `codes`, read on their own headers.
    void readManufacturer(ParameterChannels& parameters, const QList<int>& codes);
    // The reading of `code`: the one asked ahead, else asked now.
    LiveReading read(int code);

private:
    PassContext& pass_;
    const Settings& settings_;
    QHash<int, LiveReading> ahead_;
};

} // namespace zelcor
