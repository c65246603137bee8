// How long the whole-car scan (discovery, names, codes) and clearing one module take on each
// simulated car with the adapter's real timing (38400 baud, its default time-out, its adaptive
// timing) on a made-up clock: the figures do not depend on the machine.
//
// bench_modulescan

#include "modules/modulescan.h"
#include "sessionrig.h"

#include <QCoreApplication>
#include <cstdio>

using namespace zelcor;
using namespace zelcor::test;

namespace {

void measure(const QString& profile) {
    sim::Options options;
    options.realTiming = true;
    CarRig rig(profile, options);
    rig.afterPass = [&](Function served) {
        if (served != Function::Detection) return false;
        ModuleScan scan(rig.session.link());
        const int requestsBefore = rig.port.simulator().requestCount();
        const double start = rig.clock.now();
        QList<ModuleResult> modules = scan.scan();
        const double scanned = rig.clock.now();
        int codes = 0;
        for (const ModuleResult& module : modules)
            codes += int(module.codes.size());
        double cleared = scanned;
        if (!modules.isEmpty()) {
            scan.clear(modules.last());
            cleared = rig.clock.now();
        }
        std::printf("%-10s %8lld %6d %8d %10.2f %10.2f\n", qPrintable(profile), qlonglong(modules.size()), codes,
                    rig.port.simulator().requestCount() - requestsBefore, scanned - start, cleared - scanned);
        return true;
    };
    rig.session.connection().run();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%-10s %8s %6s %8s %10s %10s\n", "car", "modules", "codes", "requests", "scan s", "clear s");
    for (const char* profile : {"fullcar", "can29", "can11"})
        measure(QString::fromLatin1(profile));
    return 0;
}
