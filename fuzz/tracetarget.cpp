// Fuzz target: the trace log read back. The input picks the header layout and the
// selected controller, then holds a log.txt. Every line is read as the replay reads it,
// and a reply written as an "R" line must read back unchanged. Then the log is replayed
// as "V" does, the whole connection on the trace's answers: the adapter's search and
// set-up, and pass by pass the lines before it (function and channel choices), the
// replies it takes, and the time that ends it.

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
    int passes = 0;
    HeaderLayout layout = HeaderLayout::Legacy; // the input's, from the wakeup on
    QString controller;
    TraceReplay replay{link, connection,
                       TraceReplayHooks{[this](int code) { function = code; },
                                        [this](const QString& line) { live->applyChoices(line); },
                                        [this](const QString& line) { polling.applyTraceLine(line); }, [](int) {},
                                        [this](bool running) { polling.setFollowsRecording(running); }}};

    Rig() {
        ConnectionHooks hooks;
        // A pass as the replay runs it: the lines before it, the replies it takes, its end.
        hooks.runPass = [this] {
            replay.beforePass();
            link.request(QStringLiteral("0100"));
            link.send(QStringLiteral("03"));
            link.receiveAll(0);
            replay.afterPass(true);
            if (++passes >= kMostPasses) link.requestStop();
        };
        hooks.onWakeup = [this] {
            link.setHeaderLayout(layout);
            link.setSelectedController(controller);
        };
        hooks.onEnd = [this] { replay.end(); }; // one play of the trace
        connection.setHooks(hooks);
        replay.controls().speedIndex = kReplaySpeeds - 1;
    }
};

void checkLines(const QString& path) {
    TraceLog trace;
    trace.setPath(path);
    if (!trace.openForReplay()) return;
    QString line;
    while (trace.readLine(line)) {
        if (isReplyLine(line)) Link::replyFromLine(line);
        require(Link::replyFromLine(Link::replyLine(line)) == line, "a reply written to the trace reads back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    rig.layout = layoutFrom(input.takeByte());
    rig.controller = controllerFrom(input.takeByte());
    writeScratchFile(QStringLiteral("log.txt"), input.rest());
    checkLines(rig.link.trace().path());

    LiveData live(rig.host, rig.clock, rig.settings, scratchFolder());
    rig.live = &live;
    rig.passes = 0;
    rig.replay.controls().setPlay(true);
    rig.replay.run();
    require(&rig.link.port() == &rig.port, "the link talks to the adapter's port again after the replay");
    rig.live = nullptr;
    return 0;
}
