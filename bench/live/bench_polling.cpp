// Live passes per second with ten channels on each simulated car with the adapter's real
// timing (its line rate, time-out and adaptive timing) on a made-up clock, so the figures
// do not depend on the machine: plain polling, fast polling with every row on every pass,
// and fast polling with each row at its own rate. Beside each: how often the fast channels
// (engine speed, speed, throttle, load) got a new value, the most passes per second the
// line allows for the same requests, and the share of it reached.
//
// bench_polling [live passes per run, default 40] [--baud N ...: faster line rates as well]
// At 38400 the adapter stays at the rate it was found at; at a faster rate the session
// switches it there (ATBRD), as the program does by default at 115200.
// Each value a pass asked for is checked against the car's own values for that PID during
// its request ("wrong" counts the values the car never had).

#include "core/session.h"
#include "fakeclock.h"
#include "obd/parameters.h"
#include "recordinghost.h"
#include "sim/drive.h"
#include "simport.h"

#include "config/programini.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace zelcor;
using namespace zelcor::test;

namespace {

constexpr int kFoundRate = 38400;

const QSet<int> kFastChannels{pid::engineSpeed, pid::vehicleSpeed, 0x11, 0x04};

struct Run {
    double passesPerSecond = 0;
    double requestsPerPass = 0;
    double fastRefresh = 0; // new values per second of each fast channel
    double boundRate = 0;
    int wrong = 0;
    int values = 0;
};

bool isDerivedCode(int code) {
    return code >= kTorqueCode && code <= kFuelEconomyCode;
}

// The PIDs written in service 01 requests since the port was last cleared.
QSet<int> askedPids(const SimPort& port) {
    QSet<int> pids;
    for (const QByteArray& raw : port.written().split('\r')) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith("01")) continue;
        for (qsizetype at = 2; at + 1 < line.size(); at += 2)
            pids.insert(line.mid(at, 2).toInt(nullptr, 16));
    }
    return pids;
}

// Values of the rows this pass asked that the selected engine did not have for their PID
// at some moment of the pass (looked at every millisecond).
void checkValues(const Session& session, SimPort& port, const QSet<int>& asked, double from, double to, Run& run) {
    sim::Simulator& car = port.simulator();
    const sim::Controller& engine = car.vehicle().controllers().first();
    for (const LiveRow& row : session.live().rows()) {
        const int code = row.channel.code();
        if (!row.enabled || code == 0 || isDerivedCode(code) || !asked.contains(code)) continue;
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

// `interval`: every row's (0: each by itself); `baud`: the line rate the session runs at.
Run livePasses(const QString& profile, bool fast, int interval, int baud, int passes) {
    QTemporaryDir dir;
    {
        QSettings ini(programIniPath(dir.path()), QSettings::IniFormat);
        ini.setValue(QStringLiteral("adapter/fasterBaudRate"), baud == kFoundRate ? 0 : baud);
    }
    FakeClock clock(1000, 0.0002);
    sim::Options options = sim::realTimeOptions(profile);
    options.baud = kFoundRate;
    SimPort port(clock, options);
    RecordingHost host;
    Session session(clock, port, host, dir.path());
    loadSettings(session.settings(), dir.path());
    session.fastPolling().setEnabled(fast);
    Run run;
    int done = -1; // the first live pass (where fast polling tries the adapter) is not timed
    double start = 0;
    quint64 sentAtStart = 0;
    int fastValues = 0;
    PassLoad load;
    session.connection().setPassRunner([&] {
        const Function served = session.navigation().function();
        const double passStart = clock.now();
        port.clearWritten();
        session.runPass();
        if (served == Function::Detection) {
            if (session.link().adapter().lineRate != baud)
                std::fprintf(stderr, "%s: the line runs at %d, not %d\n", qPrintable(profile),
                             session.link().adapter().lineRate, baud);
            LiveData& live = session.live();
            for (int i = 0; i < kLiveRows; ++i) {
                live.chooseRowChannel(i, i < live.row(i).channel.entries.size() ? i : -1);
                live.setRowEnabled(i, live.row(i).channel.index >= 0);
                live.setRowInterval(i, interval);
            }
            session.navigation().setFunction(Function::LiveData);
            return;
        }
        if (served != Function::LiveData) return;
        const QSet<int> asked = askedPids(port);
        if (done >= 0) {
            checkValues(session, port, asked, passStart, clock.now(), run);
            for (const int pid : asked)
                fastValues += kFastChannels.contains(pid) ? 1 : 0;
            load += session.fastPolling().passBound().currentPass();
        }
        if (++done == 0) {
            start = clock.now();
            sentAtStart = session.link().commandsSent();
        }
        if (done >= passes) {
            const double elapsed = clock.now() - start;
            run.passesPerSecond = passes / elapsed;
            run.requestsPerPass = double(session.link().commandsSent() - sentAtStart) / passes;
            run.fastRefresh = fastValues / double(kFastChannels.size()) / elapsed;
            if (const auto shortest = session.fastPolling().passBound().shortest(load))
                run.boundRate = passes / *shortest;
            session.connection().requestDisconnect();
        }
    });
    session.connection().run();
    return run;
}

void print(const char* profile, int baud, const char* mode, const Run& r) {
    std::printf("%-7s %7d %-14s %8.2f %6.2f %9.2f %8.2f %6.0f %6d/%-6d\n", profile, baud, mode, r.passesPerSecond,
                r.requestsPerPass, r.fastRefresh, r.boundRate,
                r.boundRate > 0 ? 100 * r.passesPerSecond / r.boundRate : 0.0, r.wrong, r.values);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int passes = 40;
    QList<int> rates{38400};
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--baud") && i + 1 < args.size())
            rates.append(args.at(++i).toInt());
        else if (args.at(i).toInt() > 0)
            passes = args.at(i).toInt();
    }
    std::printf("Live passes, ten channels, simulated adapter with real timing (%d passes each)\n", passes);
    std::printf("%-7s %7s %-14s %8s %6s %9s %8s %6s %13s\n", "car", "baud", "polling", "passes/s", "req", "fast ch/s",
                "bound/s", "eff %", "wrong values");
    for (const int baud : rates) {
        for (const char* profile : {"can11", "can29", "legacy", "clone"}) {
            const QString name = QLatin1String(profile);
            print(profile, baud, "plain", livePasses(name, false, 1, baud, passes));
            print(profile, baud, "fast, all", livePasses(name, true, 1, baud, passes));
            print(profile, baud, "fast, own rate", livePasses(name, true, 0, baud, passes));
        }
    }
    return 0;
}
