// Time from CONNECT to the first live value through each quirk of adapters as they are
// sold (zelcor-sim's switches), on the can11 car with the adapter's real timing and a
// made-up clock: the figures do not depend on the machine. Each quirk with the faster line
// rate the session asks for (the default) and without it, and the adapter probe's share.
//
// bench_quirks [seconds to give up after, default 120]

#include "config/adaptermemory.h"
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

struct Timing {
    double firstValue = -1; // seconds from CONNECT to the first live value; negative: none came
    double probe = -1;      // seconds the adapter probe took
};

// Seconds from CONNECT to the end of the first live pass that shows a value; negative
// when none came within `limit`.
Timing firstLiveValue(const QString& profile, const QStringList& arguments, double limit, bool fasterLine) {
    QString error;
    const sim::Options options = withSwitches(sim::realTimeOptions(profile), arguments, &error);
    if (!error.isEmpty()) qFatal("bad simulator options: %s", qPrintable(error));
    QTemporaryDir dir;
    FakeClock clock(1000, 0.0005);
    SimPort port(clock, options);
    RecordingHost host;
    Session session(clock, port, host, dir.path());
    loadSettings(session.settings(), dir.path());
    saveFasterLine(dir.path(), fasterLine);
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
    return {shown, session.link().adapter().probeSeconds};
}

QString seconds(double value) {
    return value < 0 ? QStringLiteral("none") : QString::number(value, 'f', 2);
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
        {"--buffer-full 200 --refuse ATBRD", {"--buffer-full", "200", "--refuse", "ATBRD"}},
        {"--line-fails-above 57600", {"--line-fails-above", "57600"}},
        {"--sleep-after 3 --sleep-when-idle", {"--sleep-after", "3", "--sleep-when-idle"}},
        {"--ignition-after 10", {"--ignition-after", "10"}},
        {"--baud 115200", {"--baud", "115200"}},
        {"--baud 9600", {"--baud", "9600"}},
    };
    std::printf("Seconds from CONNECT to the first live value, can11 car, adapter with real timing\n");
    std::printf("%-52s %8s %8s %8s\n", "quirk", "faster", "probe", "kept");
    auto line = [limit](const QString& name, const QString& profile, const QStringList& arguments) {
        const Timing faster = firstLiveValue(profile, arguments, limit, true);
        const Timing kept = firstLiveValue(profile, arguments, limit, false);
        std::printf("%-52s %8s %8s %8s\n", qPrintable(name), qPrintable(seconds(faster.firstValue)),
                    qPrintable(seconds(faster.probe)), qPrintable(seconds(kept.firstValue)));
        std::fflush(stdout);
    };
    for (const auto& [name, arguments] : quirks)
        line(QLatin1String(name), QStringLiteral("can11"), arguments);
    for (const char* profile : {"clone", "stn"})
        line(QStringLiteral("profile %1").arg(QLatin1String(profile)), QLatin1String(profile), {});
    return 0;
}
