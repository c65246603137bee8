// Live passes per second with ten channels, plain against fast polling, on each simulated
// car with the adapter's real timing (38400 baud, its default time-out, its adaptive
// timing) on a made-up clock: the figures do not depend on the machine.
//
// bench_polling [live passes per run, default 20]
// Each value shown after a pass is also checked against the car's own value for that PID
// at that moment ("wrong" counts the values that were not).

#include "core/session.h"
#include "fakeclock.h"
#include "obd/parameters.h"
#include "recordinghost.h"
#include "sim/drive.h"
#include "simport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace zelcor;
using namespace zelcor::test;

namespace {

struct Run {
    double passesPerSecond = 0;
    int requestsPerPass = 0;
    int wrong = 0;
    int values = 0;
};

bool isDerivedCode(int code) {
    return code >= kTorqueCode && code <= kFuelEconomyCode;
}

// Values shown that are not the selected engine's own for their PID (a little drift allowed).
void checkValues(const Session& session, SimPort& port, double now, Run& run) {
    sim::Simulator& car = port.simulator();
    const sim::DriveState drive = sim::driveAt(now - car.keyOnTime());
    for (const LiveRow& row : session.live().rows()) {
        const int code = row.channel.code();
        if (!row.enabled || code == 0 || isDerivedCode(code)) continue;
        const auto data = car.vehicle().controllers().first().pidData(code, drive);
        const std::optional<double> want = decodeParameter(code, data.value_or(QByteArray()), session.settings()).value;
        ++run.values;
        if (!row.number || !want || std::abs(*row.number - *want) > 0.03 * std::abs(*want) + 2) ++run.wrong;
    }
}

Run livePasses(const QString& profile, bool fast, int passes) {
    QTemporaryDir dir;
    FakeClock clock(1000, 0.0002);
    SimPort port(clock, sim::realTimeOptions(profile));
    RecordingHost host;
    Session session(clock, port, host, dir.path());
    loadSettings(session.settings(), dir.path());
    session.fastPolling().setEnabled(fast);
    Run run;
    int done = -1; // the first live pass (where fast polling tries the adapter) is not timed
    double start = 0;
    quint64 sentAtStart = 0;
    session.connection().setPassRunner([&] {
        const Function served = session.navigation().function();
        session.runPass();
        if (served == Function::Detection) {
            LiveData& live = session.live();
            for (int i = 0; i < kLiveRows; ++i) {
                live.chooseRowChannel(i, i < live.row(i).channel.entries.size() ? i : -1);
                live.setRowEnabled(i, live.row(i).channel.index >= 0);
            }
            session.navigation().setFunction(Function::LiveData);
            return;
        }
        if (served != Function::LiveData) return;
        if (done >= 0) checkValues(session, port, clock.now(), run);
        if (++done == 0) {
            start = clock.now();
            sentAtStart = session.link().commandsSent();
        }
        if (done >= passes) {
            run.passesPerSecond = passes / (clock.now() - start);
            run.requestsPerPass = int((session.link().commandsSent() - sentAtStart) / quint64(passes));
            session.connection().requestDisconnect();
        }
    });
    session.connection().run();
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int passes = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    std::printf("Live passes per second, ten channels, simulated adapter with real timing (%d passes each)\n", passes);
    std::printf("%-8s %10s %6s %10s %6s %7s %13s\n", "car", "plain/s", "req", "fast/s", "req", "fast x",
                "wrong values");
    for (const char* profile : {"can11", "can29", "legacy", "clone"}) {
        const Run plain = livePasses(QLatin1String(profile), false, passes);
        const Run fast = livePasses(QLatin1String(profile), true, passes);
        std::printf("%-8s %10.2f %6d %10.2f %6d %7.2f %6d/%-6d\n", profile, plain.passesPerSecond,
                    plain.requestsPerPass, fast.passesPerSecond, fast.requestsPerPass,
                    plain.passesPerSecond > 0 ? fast.passesPerSecond / plain.passesPerSecond : 0.0,
                    plain.wrong + fast.wrong, plain.values + fast.values);
        std::fflush(stdout);
    }
    return 0;
}
