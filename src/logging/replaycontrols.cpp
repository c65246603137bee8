#include "logging/replaycontrols.h"

#include <array>

namespace zelcor {

namespace {
constexpr std::array<const char*, kReplaySpeeds> kSpeedTexts = {"0.1x", "0.2x", "0.5x", "1x",  "1.5x", "2x",
                                                                "3x",   "5x",   "10x",  "20x", "Max"};
constexpr std::array<double, kReplaySpeeds> kSpeedFactors = {0.1, 0.2, 0.5, 1, 1.5, 2, 3, 5, 10, 20, 0};
} // namespace

QString replaySpeedText(int index) {
    return index >= 0 && index < kReplaySpeeds ? QString::fromLatin1(kSpeedTexts[size_t(index)]) : QString();
}

double replaySpeedFactor(int index) {
    return index >= 0 && index < kReplaySpeeds ? kSpeedFactors[size_t(index)] : 0;
}

void ReplayControls::setPlay(bool checked) {
    play = checked;
    if (checked) stop = false;
}

void ReplayControls::setStop(bool checked) {
    stop = checked;
    if (checked) {
        play = false;
        step = false;
    }
}

void ReplayControls::setStep(bool checked) {
    step = checked;
    if (checked) setPlay(true);
}

void ReplayControls::setFast(bool held) {
    fast = held;
    if (held && !play) setPlay(true);
}

void ReplayControls::endStep() {
    step = false;
    play = false;
}

} // namespace zelcor
