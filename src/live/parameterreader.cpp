#include "live/parameterreader.h"

namespace zelcor {

void ParameterReader::askAhead(const QList<int>& codes, const std::function<void(const QList<int>&, bool)>& inFlight) {
    FastPolling* polling = pass_.fastPolling();
    if (!polling || polling->pidsPerRequest() < 2) return;
    QList<int> wanted;
    for (const int code : codes)
        if (code > 0 && code < 0x100 && !wanted.contains(code) && !ahead_.contains(code)) wanted.append(code);
    for (const QList<int>& group : polling->groups(wanted)) {
        if (!pass_.mayGoOn()) break;
        if (inFlight) inFlight(group, true);
        const QList<Reply> replies = polling->request(group);
        if (inFlight) inFlight(group, false);
        for (qsizetype k = 0; k < group.size(); ++k)
            ahead_.insert(group[k], liveReading(replies.value(k), settings_, group[k]));
        // Nothing at all came back: the link is lost, the rest is not asked.
        if (pass_.exchange().linkLost()) break;
    }
}

void ParameterReader::readManufacturer(ParameterChannels& parameters, const QList<int>& codes) {
    FastPolling* polling = pass_.fastPolling();
    if (polling) polling->lendAdapter();
    parameters.read(pass_.exchange(), codes);
    // The service 01 requests after them go to the selected controller alone again.
    if (polling && pass_.mayGoOn()) polling->useSelectedController();
}

LiveReading ParameterReader::read(int code) {
    if (const auto found = ahead_.constFind(code); found != ahead_.constEnd()) return *found;
    if (FastPolling* polling = pass_.fastPolling())
        return liveReading(polling->request({code}).value(0), settings_, code);
    return readLiveParameter(pass_.exchange(), settings_, code);
}

} // namespace zelcor
