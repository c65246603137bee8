// Fuzz target: vehicle information and test results. The input picks the header layout,
// then holds the adapter's raw output for the requests of the vehicle information pass
// and, after them, of the test results pass, separated by NUL bytes. Each reply is also
// read directly as every item the passes ask for.

#include "fuzzrig.h"
#include "link/link.h"
#include "vehicleinfo/inforeply.h"
#include "vehicleinfo/monitortests.h"
#include "vehicleinfo/performance.h"
#include "vehicleinfo/vehicleinfo.h"
#include "vehicleinfo/vin.h"

#include <cmath>

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

constexpr int kRecordSize = 9;

struct Rig : LinkRig {
    VehicleInfo info{host, scratchFolder()};
    Rig() { link.setPollerEnabled(true); }
};

void checkVin(const VinCheck& vin) {
    require(!vin.valid() || vin.vin.size() == 17, "a VIN taken as valid has 17 characters");
    require(vin.problem.isEmpty() || (!vin.checkDigitOk && vin.year == 0), "a refused VIN is never decoded");
}

void checkTests(const QList<MonitorTestResult>& tests) {
    for (const MonitorTestResult& t : tests)
        require(std::isfinite(t.value) && std::isfinite(t.minimum) && std::isfinite(t.maximum),
                "test values are numbers");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Rig rig;
    FuzzInput input(data, size);
    const HeaderLayout layout = layoutFrom(input.takeByte());
    const QList<QByteArray> replies = repliesOf(input.rest());

    for (const QByteArray& raw : replies) {
        checkVin(zelcor::checkVin(raw));
        QString text = QString::fromLatin1(raw);
        text.remove(QLatin1Char(' '));
        text.remove(QLatin1Char('>'));
        text.remove(QLatin1Char('\n'));
        for (const int item : {0x00, 0x02, 0x04, 0x06, 0x08, 0x0A, 0x0B}) {
            for (const InfoItem& read : readInfoItem(text, layout, item).items) {
                checkVin(zelcor::checkVin(read.data));
                const PerformanceRead counters = readPerformance(item, read.data);
                require(counters.entries.size() <= read.data.size() / 2, "every in-use counter came whole");
            }
        }
        for (const int monitor : {0x00, 0x21}) {
            for (const InfoItem& read : readInfoItem(text, layout, monitor, 6).items) {
                const QByteArray message = QByteArray(1, char(monitor)) + read.data;
                const MonitorTestRead tests = readMonitorTests(read.controller, message);
                require(tests.tests.size() * kRecordSize <= message.size(), "every test record came whole");
                checkTests(tests.tests);
            }
        }
    }

    rig.link.setHeaderLayout(layout);
    rig.link.setLinkLost(false);
    rig.link.discardReceived();
    rig.port.setReplies(replies);
    rig.link.clearStopRequest();
    PassContext pass(rig.link, rig.settings, rig.clock, true, {});
    rig.info.readVehicleInfo(pass);
    checkVin(rig.info.infoPanel().vin);
    rig.info.readTestResults(pass);
    checkTests(rig.info.testsPanel().tests);
    require(!rig.info.infoText().isEmpty(), "the vehicle information panel always says something");
    return 0;
}
