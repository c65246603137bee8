// Fuzz target: the trace log read back. The input picks the header layout and the
// selected controller, then holds a log.txt. Every line is read as the replay reads it,
// and a reply written as an "R" line must read back unchanged. Then the log is replayed
// pass by pass as "V" does: the lines before a pass (function and channel choices), the
// replies the pass takes, and the time that ends it.

#include "fuzzrig.h"
#include "link/connection.h"
#include "link/fastpolling.h"
#include "link/link.h"
#include "live/livedata.h"
#include "logging/tracereplay.h"

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

// A log of many passes is cut short; the replay of each pass is what matters.
constexpr int kMostPasses = 200;

struct Rig : LinkRig {
    FastPolling polling{link};
    Connection connection{link, QStringLiteral("ZELCOR")};
    LiveData* live = nullptr; // the run's own, so that no choice carries into the next run
    int function = -1;
    TraceReplay replay{link, connection,
                       TraceReplayHooks{[this](int code) { function = code; },
                                        [this](const QString& line) { live->applyChoices(line); },
                                        [this](const QString& line) { polling.applyTraceLine(line); }}};
};

void checkLines(TraceLog& trace) {
    if (!trace.openForReplay()) return;
    QString line;
    while (trace.readLine(line)) {
        if (isReplyLine(line)) Link::replyFromLine(line);
        require(Link::replyFromLine(Link::replyLine(line)) == line, "a reply written to the trace reads back");
    }
    trace.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    rig.link.setHeaderLayout(layoutFrom(input.takeByte()));
    rig.link.setSelectedController(controllerFrom(input.takeByte()));
    writeScratchFile(QStringLiteral("log.txt"), input.rest());

    TraceLog& trace = rig.link.trace();
    checkLines(trace);

    LiveData live(rig.host, rig.clock, rig.settings, scratchFolder());
    rig.live = &live;
    rig.link.setReplaying(true);
    rig.link.setLinkLost(false);
    rig.link.clearStopRequest();
    if (trace.openForReplay()) {
        for (int pass = 0; pass < kMostPasses && !trace.atEnd(); ++pass) {
            rig.replay.beforePass();
            rig.link.receive();
            rig.link.receiveAll(0);
            rig.replay.afterPass();
        }
    }
    trace.close();
    rig.link.setReplaying(false);
    rig.live = nullptr;
    return 0;
}
