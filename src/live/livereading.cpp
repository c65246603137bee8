#include "live/livereading.h"

#include "base/format.h"
#include "base/numbers.h"
#include "core/session.h"

namespace zelcor {

std::optional<double> LiveReading::number() const {
    if (!matched) return std::nullopt;
    return outputs.value;
}

QString LiveReading::logValue() const {
    const std::optional<double> value = number();
    const int decimals = outputs.decimals.value_or(0);
    if (!value || decimals < 0) return text;
    return formatNumber(*value, decimals == 0 ? QStringLiteral("#0") : zerosPattern(decimals));
}

GaugeFeed LiveReading::gaugeFeed() const {
    return GaugeFeed{outputs.needle, outputs.value.value_or(0), outputs.decimals.value_or(0)};
}

LiveReading readLivePid(Session& session, int code) {
    const QString pid = hex2(code);
    session.send(QStringLiteral("01") + pid);
    const QString reply = session.receive();
    LiveReading reading;
    reading.reply = reply;
    reading.empty = reply.isEmpty();
    reading.matched = session.replyMatches(reply, QStringLiteral("41") + pid);
    reading.text = decodepid(code, reply, session.ecuaddr, session.settings, reading.outputs);
    return reading;
}

} // namespace zelcor
