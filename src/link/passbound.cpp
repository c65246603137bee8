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
    answerTime_.reset();
    fasterThanLine_ = false;
}

double PassBound::lineSeconds(qsizetype characters) const {
    return baud_ > 0 ? double(characters) * 10.0 / double(baud_) : 0.0;
}

void PassBound::noteRequest(qsizetype commandCharacters, qsizetype replyCharacters, double took) {
    const double line = lineSeconds(commandCharacters + replyCharacters);
    current_ += PassLoad{line, 1};
    if (took + kSlack < line) fasterThanLine_ = true;
    const double answer = std::max(0.0, took - line - kAdapterSeconds);
    answerTime_ = answerTime_ ? std::min(*answerTime_, answer) : answer;
}

std::optional<double> PassBound::shortest(const PassLoad& load) const {
    if (baud_ <= 0 || fasterThanLine_ || !answerTime_ || load.requests == 0) return std::nullopt;
    return load.lineSeconds + load.requests * (kAdapterSeconds + *answerTime_);
}

QString passRateText(double passesPerSecond, std::optional<double> boundPassesPerSecond) {
    QString text = formatNumber(passesPerSecond, QStringLiteral("0.0")) + QStringLiteral(" /sec");
    if (boundPassesPerSecond && *boundPassesPerSecond > 0)
        text += QStringLiteral(", %1 %").arg(std::lround(100.0 * passesPerSecond / *boundPassesPerSecond));
    return text;
}

} // namespace zelcor
