// Time from CONNECT to the first live value through each quirk of adapters as they are
// sold (zelcor-sim's switches), on the can11 car with the adapter's real timing and a
// made-up clock: the figures do not depend on the machine.
//
// bench_quirks [seconds to give up after, default 120]

#include "core/session.h"
#include "fakeclock.h"
#include "recordinghost.h"
#include "sim/faultoptions.h"
#include "simport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// Seconds from CONNECT to the end of the first live pass that shows a value; negative
// when none came within `limit`.
double firstLiveValue(const QString& profile, const QStringList& arguments, double limit) {
    QString error;
    const sim::Options options = withSwitches(sim::realTimeOptions(profile), arguments, &error);
    if (!error.isEmpty()) qFatal("bad simulator options: %s", qPrintable(error));
    QTemporaryDir dir;
    FakeClock clock(1000, 0.0005);
    SimPort port(clock, options);
    RecordingHost host;
    Session session(clock, port, host, dir.path());
    loadSettings(session.settings(), dir.path());
    const double start = clock.now();
    double shown = -1;
    session.connection().setPassRunner([&] {
        const Function served = session.navigation().function();
        session.runPass();
        LiveData& live = session.live();
        if (served == Function::Detection) {
            for (int i = 0; i < kLiveRows; ++i) {
                live.chooseRowChannel(i, i < live.row(i).channel.entries.size() ? i : -1);
                live.setRowEnabled(i, live.row(i).channel.index >= 0);
            }
            session.navigation().setFunction(Function::LiveData);
        } else if (served == Function::LiveData && !live.row(0).value.isEmpty()) {
            shown = clock.now() - start;
        }
        if (shown >= 0 || clock.now() - start > limit) session.connection().requestDisconnect();
    });
    clock.onYield = [&](double now) {
        if (now - start > limit) session.connection().requestDisconnect();
    };
    session.connection().run();
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double limit = argc > 1 ? std::max(1.0, QString::fromLocal8Bit(argv[1]).toDouble()) : 120;
    const std::pair<const char*, QStringList> quirks[] = {
        {"(none)", {}},
        {"--banner ELM327 v2.2 --command-set 1.0", {"--banner", "ELM327 v2.2", "--command-set", "1.0"}},
        {"--stray-before", {"--stray-before", "\\xFC\\x00+CONNECTING<<00:1D:A5:68:98:8B>>\\r\\n"}},
        {"--stray-after", {"--stray-after", "\\x00\\xFC"}},
        {"--reset-silence 1.5", {"--reset-silence", "1.5"}},
        {"--silent-settings", {"--silent-settings"}},
        {"--sticky-echo", {"--sticky-echo"}},
        {"--sticky-linefeeds", {"--sticky-linefeeds"}},
        {"--refuse ATAT,ATST,ATCRA,ATSH3,ATDPN,ATBRD,ATCAF", {"--refuse", "ATAT,ATST,ATCRA,ATSH3,ATDPN,ATBRD,ATCAF"}},
        {"--response-count ignored", {"--response-count", "ignored"}},
        {"--response-count one-more", {"--response-count", "one-more"}},
        {"--search-seconds 5", {"--search-seconds", "5"}},
        {"--stop-on-any", {"--stop-on-any"}},
        {"--buffer-full 64", {"--buffer-full", "64"}},
        {"--sleep-after 3 --sleep-when-idle", {"--sleep-after", "3", "--sleep-when-idle"}},
        {"--ignition-after 10", {"--ignition-after", "10"}},
        {"--baud 115200", {"--baud", "115200"}},
        {"--baud 9600", {"--baud", "9600"}},
    };
    std::printf("Seconds from CONNECT to the first live value, can11 car, adapter with real timing\n");
    for (const auto& [name, arguments] : quirks) {
        const double seconds = firstLiveValue(QStringLiteral("can11"), arguments, limit);
        if (seconds < 0)
            std::printf("%-52s %8s\n", name, "none");
        else
            std::printf("%-52s %8.2f\n", name, seconds);
        std::fflush(stdout);
    }
    for (const char* profile : {"clone", "stn"}) {
        const double seconds = firstLiveValue(QLatin1String(profile), {}, limit);
        std::printf("%-52s %8.2f\n", qPrintable(QStringLiteral("profile %1").arg(QLatin1String(profile))), seconds);
    }
    return 0;
}
