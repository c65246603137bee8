// The whole-car scan end to end on the simulated cars behind CONNECT: every module the car
// has, with the codes and status bytes it holds; clearing one module leaves the others.

#include "modules/modulescan.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// "7E0/7E8 ECM-EngineControl uds: P0133-00 AF, P0171-00 08" or "...: <error>".
QStringList described(const QList<ModuleResult>& modules) {
    QStringList out;
    for (const ModuleResult& module : modules) {
        QStringList codes;
        for (const ModuleCode& code : module.codes)
            codes << code.shown() + QLatin1Char(' ') +
                         QString::number(code.status, 16).toUpper().rightJustified(2, '0');
        out << QStringLiteral("%1 %2 %3: %4")
                   .arg(module.address.label(), module.name.isEmpty() ? QStringLiteral("-") : module.name,
                        protocolName(module.protocol), module.codesRead() ? codes.join(", ") : module.error);
    }
    return out;
}

// Connects to `profile`, then runs `work` with the scan over the connected link.
void withScan(const QString& profile, const std::function<void(ModuleScan&, Link&)>& work,
              const sim::Options& options = {}) {
    CarRig rig(profile, options);
    bool ran = false;
    rig.afterPass = [&](Function served) {
        if (served != Function::Detection) return false;
        ModuleScan scan(rig.session.link());
        work(scan, rig.session.link());
        ran = true;
        return true;
    };
    rig.session.connection().run();
    QVERIFY(ran);
}

const QStringList fullCar{
    "7E0/7E8 ECM-EngineControl uds: P0133-00 AF, P0171-00 08, P0442-00 24",
    "7E1/7E9 TCM-TransmissionCtrl uds: P0741-77 44",
    "720/728 IPC-Cluster uds: codes could not be read: service not supported (7F 19 11)",
    "726/72E BCM-BodyControl uds: ",
    "733/73B - kwp: U0155 09, U0140 04",
    "737/73F SRS-Restraints uds: B0001-13 8B, B1A23-00 08",
    "740/748 GW-Gateway uds: U0121-00 28, U0140-87 34",
    "760/768 ABS-BrakeControl uds: C0035-13 89, C0040-2F 28",
};

} // namespace

class WholeCarTest : public QObject {
    Q_OBJECT
private slots:
    // The module lists of every car are in tests/golden/data/*/scan-modules.json.
    void scan() {
        withScan(QStringLiteral("fullcar"), [&](ModuleScan& scan, Link& link) {
            int steps = 0;
            scan.setProgressHandler([&](const ModuleScanProgress& p) {
                QVERIFY(p.done <= p.total);
                ++steps;
            });
            QCOMPARE(described(scan.scan()), fullCar);
            QVERIFY2(scan.problem().isEmpty(), qPrintable(scan.problem()));
            QVERIFY(steps > fullCar.size());
            // The OBD controllers are reached on the functional address again.
            QVERIFY(link.request(QStringLiteral("0100")).answers(0x01, 0x00));
        });
    }

    // An adapter that floods from the scan's first module request on: bounded, and nothing
    // listed that was not read whole.
    void floodingAdapter() {
        sim::Options options;
        options.floodKilobytes = 20;
        options.floodAfter = 60;
        withScan(
            QStringLiteral("fullcar"),
            [](ModuleScan& scan, Link&) {
                const QStringList modules = described(scan.scan());
                for (const QString& module : modules)
                    QVERIFY2(fullCar.contains(module) || module.contains("could not be read"), qPrintable(module));
            },
            options);
    }

    void clearingOneLeavesTheOthers() {
        withScan(QStringLiteral("fullcar"), [](ModuleScan& scan, Link&) {
            QList<ModuleResult> modules = scan.scan();
            QCOMPARE(modules.size(), 8);
            QVERIFY(scan.clear(modules[7])); // ABS, after two "response pending"
            QCOMPARE(modules[7].codes.size(), 0);
            QVERIFY(scan.clear(modules[4])); // the KWP2000 module
            QStringList expected = fullCar;
            expected[7] = "760/768 ABS-BrakeControl uds: ";
            expected[4] = "733/73B - kwp: ";
            QCOMPARE(described(scan.scan()), expected);
            // The cluster refuses code reads but not clearing; all of them: everything cleared.
            QVERIFY(scan.clearAll(modules));
            for (const ModuleResult& module : scan.scan())
                QVERIFY(module.codes.isEmpty());
        });
    }
};

ZELCOR_TEST(WholeCarTest)
#include "wholecar_test.moc"
