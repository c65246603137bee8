#include "link/passbound.h"

#include "base/format.h"

#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

// Timer steps and the adapter's clock: a request may seem this much shorter than its
// characters before the line is taken for a faster one.
constexpr double kSlack = 0.0005;

} // namespace

void PassBound::setLineRate(int baud) {
    baud_ = baud;
    reset();
}

void PassBound::reset() {
    current_ = PassLoad{};
    answerTimes_.clear();
    fasterThanLine_ = false;
}

double PassBound::lineSeconds(qsizetype characters) const {
    return baud_ > 0 ? double(characters) * 10.0 / double(baud_) : 0.0;
}

void PassBound::noteRequest(const QString& command, qsizetype replyCharacters, double took) {
    const double line = lineSeconds(command.size() + 1 + replyCharacters);
    current_.lineSeconds += line;
    ++current_.requests[command];
    if (took + kSlack < line) fasterThanLine_ = true;
    // Measured, not assumed: a bound is never above what a request was seen to take.
    const double answer = std::max(0.0, took - line);
    const auto known = answerTimes_.constFind(command);
    answerTimes_.insert(command, known == answerTimes_.constEnd() ? answer : std::min(*known, answer));
}

std::optional<double> PassBound::answerTime(const QString& command) const {
    const auto known = answerTimes_.constFind(command);
    if (known == answerTimes_.constEnd()) return std::nullopt;
    return *known;
}

std::optional<double> PassBound::shortest(const PassLoad& load) const {
    if (baud_ <= 0 || fasterThanLine_ || load.requests.isEmpty()) return std::nullopt;
    double seconds = load.lineSeconds;
    for (auto it = load.requests.constBegin(); it != load.requests.constEnd(); ++it) {
        const std::optional<double> answer = answerTime(it.key());
        if (!answer) return std::nullopt;
        seconds += it.value() * *answer;
    }
    return seconds;
}

QString passRateText(double passesPerSecond, std::optional<double> boundPassesPerSecond) {
    QString text = formatNumber(passesPerSecond, QStringLiteral("0.0")) + QStringLiteral(" /sec");
    if (boundPassesPerSecond && *boundPassesPerSecond > 0)
        text += QStringLiteral(", %1 %").arg(std::lround(100.0 * passesPerSecond / *boundPassesPerSecond));
    return text;
}

} // namespace zelcor
