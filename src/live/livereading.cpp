#include "live/livereading.h"

#include "base/format.h"
#include "base/numbers.h"

namespace zelcor {

std::optional<double> LiveReading::number() const {
    if (!matched) return std::nullopt;
    return decoded.value;
}

QString LiveReading::logValue() const {
    const std::optional<double> value = number();
    const int decimals = decoded.decimals.value_or(0);
    if (!value || decimals < 0) return text;
    return formatNumber(*value, decimals == 0 ? QStringLiteral("#0") : zerosPattern(decimals));
}

GaugeFeed LiveReading::gaugeFeed() const {
    return GaugeFeed{decoded.needle, decoded.value.value_or(0), decoded.decimals.value_or(0)};
}

LiveReading readLiveParameter(Exchange& exchange, const Settings& settings, int code) {
    return liveReading(exchange.request(QStringLiteral("01") + hexByte(code)), settings, code);
}

LiveReading liveReading(const Reply& reply, const Settings& settings, int code) {
    LiveReading reading;
    reading.reply = reply.text;
    reading.empty = reply.isEmpty();
    reading.matched = reply.answers(0x01, code);
    reading.fromCar =
        reading.matched || (!reply.isEmpty() && !reply.problem.startsWith(QLatin1String("the adapter said")));
    if (reading.matched) reading.decoded = decodeParameter(code, reply.data, settings);
    if (!reading.decoded.problem.isEmpty()) { // too few bytes: no value at all
        reading.matched = false;
        reading.decoded = Decoded{};
    }
    reading.text = reading.decoded.text;
    return reading;
}

} // namespace zelcor
