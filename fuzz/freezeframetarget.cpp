// Fuzz target: reading the freeze frame. The input picks the header layout, the selected
// controller and the unit settings, then holds the adapter's raw output: the reply to the
// bit map request, then, each after a NUL, the replies to the requests that follow. The
// freeze frame pass reads them through the link, with a codes.dat that explains a few codes.

#include "dtc/troublecodes.h"
#include "fuzzrig.h"
#include "link/link.h"

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

struct Rig : LinkRig {
    TroubleCodes codes{host, scratchFolder()};
    Rig() {
        link.setPollerEnabled(true);
        writeScratchFile(QStringLiteral("codes.dat"), "P0133  O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n"
                                                      "P0133  Possible causes: sensor, wiring\r\n"
                                                      "P0171  System Too Lean (Bank 1)\r\n");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    rig.link.setHeaderLayout(layoutFrom(input.takeByte()));
    rig.link.setSelectedController(controllerFrom(input.takeByte()));
    const uint8_t units = input.takeByte();
    rig.settings.fahrenheit = units & 0x01;
    rig.settings.psi = units & 0x02;
    rig.settings.milesPerHour = units & 0x04;
    rig.settings.poundsPerMinute = units & 0x08;

    rig.link.setLinkLost(false);
    rig.link.discardReceived();
    rig.port.setReplies(repliesOf(input.rest()));
    rig.link.clearStopRequest();
    PassContext pass(rig.link, rig.settings, rig.clock, true, {});
    rig.codes.readFreezeFrame(pass);
    const FreezeFrame& frame = rig.codes.freezeFrame();
    require(frame.rows.size() == FreezeFrame::rowCount, "the freeze frame keeps its rows");
    for (qsizetype r = FreezeFrame::maxRows; r < frame.rows.size(); ++r)
        require(!frame.rows[r].visible, "rows beyond the last one read stay hidden");
    return 0;
}
