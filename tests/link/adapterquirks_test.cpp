// The headless scan through adapters as they are sold: each quirk of the simulated adapter
// (zelcor-sim's switches) in front of the car, with the adapter's real timing, against
// the same car behind a well-behaved adapter. A quirk the connection does not yet get
// past is an expected failure.

#include "core/scanreport.h"
#include "sessionrig.h"
#include "sim/faultoptions.h"
#include "testmain.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

struct Scan {
    int status = -1;
    QJsonObject report; // without the values that move with time
};

Scan scan(const QString& profile, const QStringList& arguments) {
    QString error;
    const sim::Options options = withSwitches(sim::realTimeOptions(profile), arguments, &error);
    if (!error.isEmpty()) qFatal("bad simulator options: %s", qPrintable(error));
    CarRig rig(profile, options);
    ScanReport report;
    Scan result;
    result.status = runScan(rig.session, report);
    result.report = report.json();
    result.report.remove(QStringLiteral("pids"));
    return result;
}

} // namespace

class AdapterQuirksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        for (const QString& car : {QStringLiteral("can11"), QStringLiteral("legacy")}) {
            clean_[car] = scan(car, {});
            QCOMPARE(clean_[car].status, 0);
        }
    }

    void sameValuesAsAWellBehavedAdapter_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("comparedWith");
        QTest::addColumn<bool>("failsToday");
        auto row = [](const char* name, const QStringList& arguments, bool failsToday,
                      const QString& profile = QStringLiteral("can11")) {
            QTest::newRow(name) << profile << arguments << (profile == "legacy" ? "legacy" : "can11") << failsToday;
        };
        row("v1.5 banner, commands of 1.1", {"--banner", "ELM327 v1.5", "--command-set", "1.1"}, false);
        row("v2.1 banner, commands of 1.4", {"--banner", "ELM327 v2.1", "--command-set", "1.4"}, false);
        row("v2.2 banner, commands of 1.0", {"--banner", "ELM327 v2.2", "--command-set", "1.0"}, false);
        row("stray bytes before the banner", {"--stray-before", "\\xFC\\x00+CONNECTING<<00:1D:A5:68:98:8B>>\\r\\n"},
            false);
        row("stray bytes after the banner", {"--stray-after", "\\x00\\xFC"}, false);
        row("ATZ silent for 1.5 s", {"--reset-silence", "1.5"}, false);
        row("settings without OK", {"--silent-settings"}, false);
        row("echo that stays", {"--sticky-echo"}, false);
        row("line feeds that stay", {"--sticky-linefeeds"}, false);
        for (const char* command : {"ATAT", "ATST", "ATCRA", "ATSH3", "ATDPN", "ATBRD", "ATCAF"})
            row(qPrintable(QStringLiteral("%1 refused").arg(QLatin1String(command))), {"--refuse", command}, false);
        row("response count ignored", {"--response-count", "ignored"}, false);
        row("response count one more", {"--response-count", "one-more"}, false);
        row("searching for 5 s", {"--search-seconds", "5"}, false);
        row("first bus initialisation fails", {"--bus-init-failures", "1"}, false, QStringLiteral("legacy"));
        row("a line feed stops the request", {"--stop-on-any"}, false);
        row("buffer full beyond 64 characters", {"--buffer-full", "64"}, true);
        // The scan takes some 15 s.
        row("asleep after 8 s for 5 s", {"--sleep-after", "8", "--asleep-seconds", "5", "--sleep-word", "LV RESET"},
            false);
        row("asleep after 8 s until woken", {"--sleep-after", "8"}, false);
        row("asleep after 3 s idle", {"--sleep-after", "3", "--sleep-when-idle"}, false);
        row("ignition on after 10 s", {"--ignition-after", "10"}, false);
        row("adapter at 115200 baud", {"--baud", "115200"}, false);
        row("adapter at 9600 baud", {"--baud", "9600"}, false);
        row("STN chip", {}, false, QStringLiteral("stn"));
        row("cheap copy", {}, false, QStringLiteral("clone"));
    }
    void sameValuesAsAWellBehavedAdapter() {
        QFETCH(QString, profile);
        QFETCH(QStringList, arguments);
        QFETCH(QString, comparedWith);
        QFETCH(bool, failsToday);
        const Scan got = scan(profile, arguments);
        const Scan& clean = clean_[comparedWith];
        if (failsToday) QEXPECT_FAIL("", "the connection does not get past this adapter yet", Abort);
        // Say which parts differ, and how the first of them reads.
        QStringList differing;
        for (const QString& key : got.report.keys() + clean.report.keys())
            if (got.report.value(key) != clean.report.value(key) && !differing.contains(key)) differing << key;
        const QJsonValue first = got.report.value(differing.value(0));
        const QByteArray shown =
            QJsonDocument(QJsonObject{{QStringLiteral("got"), first}}).toJson(QJsonDocument::Compact);
        QVERIFY2(got.status == 0 && differing.isEmpty(),
                 qPrintable(QStringLiteral("exit status %1, differs in %2: %3")
                                .arg(got.status)
                                .arg(differing.join(QStringLiteral(", ")), QString::fromUtf8(shown.left(300)))));
    }

private:
    QMap<QString, Scan> clean_;
};

ZELCOR_TEST(AdapterQuirksTest)
#include "adapterquirks_test.moc"
