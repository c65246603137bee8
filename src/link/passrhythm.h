#pragma once
// What happens around every diagnostic pass. A live connection ends each pass that
// exchanged anything with a time line in the trace log; a trace replay instead applies the
// recorded choices before the pass and, after it, waits as long as the recorded pass took.

#include "link/link.h"

namespace zelcor {

class PassRhythm {
public:
    virtual ~PassRhythm() = default;
    // Before a pass, the function chosen.
    virtual void beforePass() = 0;
    // After it; `exchanged`: the pass sent commands.
    virtual void afterPass(bool exchanged) = 0;
    // The passes' own times mean something (a replay answers at once, paced by the recording).
    virtual bool ownTimes() const = 0;
    // The user chooses the functions (during a replay the recording chooses them).
    virtual bool userChoosesFunctions() const = 0;
};

// The rhythm of a live connection.
class LivePasses : public PassRhythm {
public:
    explicit LivePasses(Link& link) : link_(link) {}
    void beforePass() override {}
    void afterPass(bool exchanged) override {
        // A pass that exchanged nothing leaves no line.
        if (exchanged && link_.tracing()) link_.traceLine(TraceLog::passEndLine(QDateTime::currentDateTime()));
    }
    bool ownTimes() const override { return true; }
    bool userChoosesFunctions() const override { return true; }

private:
    Link& link_;
};

} // namespace zelcor
