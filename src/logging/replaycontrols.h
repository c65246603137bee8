#pragma once
// The play controls of the replay window: play, step, stop, fast forward, the speed
// list and the close request. A recording's play loop and the trace replay both pace
// themselves by them.

#include <QString>

namespace zelcor {

// Items of the speed list, "0.1x" .. "20x" and "Max".
inline constexpr int kReplaySpeeds = 11;
inline constexpr int kDefaultReplaySpeed = 7; // "5x"
QString replaySpeedText(int index);
// The numeric value of a speed item; "Max" (and anything out of range) reads as 0,
// which means no wait at all.
double replaySpeedFactor(int index);

struct ReplayControls {
    bool play = false;
    bool step = false;
    bool stop = false;
    bool fast = false;                    // held down
    int speedIndex = kDefaultReplaySpeed; // the speed list's selection
    bool closeRequested = false;          // "Close"

    // The three push-style boxes keep each other consistent: play unchecks stop, stop
    // unchecks play, and step lets one record (or pass) through by checking play.
    void setPlay(bool checked);
    void setStop(bool checked);
    void setStep(bool checked);
    // Holding fast forward also starts playing.
    void setFast(bool held);
    // After a stepped record or pass: play and step are both released.
    void endStep();

    double speedFactor() const { return replaySpeedFactor(speedIndex); }
};

} // namespace zelcor
