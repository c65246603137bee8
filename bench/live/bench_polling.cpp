// Live passes per second with ten channels, plain against fast polling, on each simulated
// car with the adapter's real timing (38400 baud, its default time-out, its adaptive
// timing) on a made-up clock: the figures do not depend on the machine.
//
// bench_polling [live passes per run, default 20]
// Each value shown after a pass is also checked against the car's own values for that PID
// during the pass ("wrong" counts the values the car never had).

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

// Values shown that the selected engine did not have for their PID at some moment of
// the pass (looked at every millisecond).
void checkValues(const Session& session, SimPort& port, double from, double to, Run& run) {
    sim::Simulator& car = port.simulator();
    const sim::Controller& engine = car.vehicle().controllers().first();
    for (const LiveRow& row : session.live().rows()) {
        const int code = row.channel.code();
        if (!row.enabled || code == 0 || isDerivedCode(code)) continue;
        ++run.values;
        bool seen = false;
        for (double t = from; t <= to + 0.001 && !seen; t += 0.001) {
            const auto data = engine.pidData(code, sim::driveAt(t - car.keyOnTime()));
            const Decoded want = decodeParameter(code, data.value_or(QByteArray()), session.settings());
            seen = want.value ? row.number && std::abs(*row.number - *want.value) <= 0.005 * std::abs(*want.value) + 0.5
                              : row.value == want.text;
        }
        if (!seen) ++run.wrong;
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
        const double passStart = clock.now();
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
        if (done >= 0) checkValues(session, port, passStart, clock.now(), run);
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
