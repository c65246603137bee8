// The headless scan through adapters as they are sold: each quirk of the simulated adapter
// (zelcor-sim's switches) in front of the car, with the adapter's real timing, against
// the same car behind a well-behaved adapter, and what the adapter report says of it.

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
    QJsonObject report; // without the values that move with time, and without the adapter
    QString adapter;    // the adapter report, compact JSON
};

sim::Options quirkOptions(const QString& profile, const QStringList& arguments) {
    QString error;
    const sim::Options options = withSwitches(sim::realTimeOptions(profile), arguments, &error);
    if (!error.isEmpty()) qFatal("bad simulator options: %s", qPrintable(error));
    return options;
}

Scan scanWith(CarRig& rig) {
    ScanReport report;
    Scan result;
    result.status = runScan(rig.session, report);
    result.report = report.json();
    result.report.remove(QStringLiteral("pids"));
    result.adapter = QString::fromUtf8(
        QJsonDocument(result.report.take(QStringLiteral("adapter")).toObject()).toJson(QJsonDocument::Compact));
    return result;
}

Scan scan(const QString& profile, const QStringList& arguments) {
    CarRig rig(profile, quirkOptions(profile, arguments));
    return scanWith(rig);
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
        QTest::addColumn<QStringList>("adapterSays"); // pieces of the adapter report's JSON
        auto row = [](const char* name, const QStringList& arguments, const QStringList& adapterSays,
                      const QString& profile = QStringLiteral("can11")) {
            QTest::newRow(name) << profile << arguments << (profile == "legacy" ? "legacy" : "can11") << adapterSays;
        };
        const QString faster = QStringLiteral("\"baud_rate\":115200");
        row("well-behaved adapter", {}, {faster, "\"chip\":\"ELM327\"", "\"refused\":[]", "\"quirks\":[]"});
        row("v1.5 banner, commands of 1.1", {"--banner", "ELM327 v1.5", "--command-set", "1.1"},
            {"\"baud_rate\":38400", "\"refused\":[\"ATAT\",\"ATCRA\",\"ATBRD\",\"ATS\"]",
             "the banner claims v1.5 but commands of 1.2 are refused"});
        row("v2.1 banner, commands of 1.4", {"--banner", "ELM327 v2.1", "--command-set", "1.4"}, {faster});
        row("v2.2 banner, commands of 1.0", {"--banner", "ELM327 v2.2", "--command-set", "1.0"},
            {"\"firmware\":\"v2.2\""});
        row("stray bytes before the banner", {"--stray-before", "\\xFC\\x00+CONNECTING<<00:1D:A5:68:98:8B>>\\r\\n"},
            {"stray bytes around the banner", "\"banner\":\"ELM327 v1.5\""});
        row("stray bytes after the banner", {"--stray-after", "\\x00\\xFC"}, {"\"banner\":\"ELM327 v1.5\""});
        row("ATZ silent for 1.5 s", {"--reset-silence", "1.5"}, {});
        row("settings without OK", {"--silent-settings"}, {"settings answered without OK"});
        row("echo that stays", {"--sticky-echo"}, {"echo stays on"});
        row("line feeds that stay", {"--sticky-linefeeds"}, {"line feeds stay on"});
        // A three-byte header is what a CAN 11-bit car never needs: refusing it changes nothing.
        for (const char* command : {"ATAT", "ATST", "ATCRA", "ATSH3", "ATDPN", "ATBRD", "ATCAF"}) {
            const QString name = QLatin1String(command);
            row(qPrintable(name + QStringLiteral(" refused")), {"--refuse", command},
                name == QLatin1String("ATSH3") ? QStringList() : QStringList{"\"" + name + "\":\"refused\""});
        }
        row("response count ignored", {"--response-count", "ignored"}, {});
        row("response count one more", {"--response-count", "one-more"}, {});
        row("searching for 5 s", {"--search-seconds", "5"}, {});
        row("first bus initialisation fails", {"--bus-init-failures", "1"}, {}, QStringLiteral("legacy"));
        row("a line feed stops the request", {"--stop-on-any"}, {});
        // Past BUFFER FULL by the faster line, or by an answer without blanks where the line stays.
        row("buffer full beyond 64 characters", {"--buffer-full", "64"}, {faster});
        row("buffer full beyond 200 characters at 38400 baud", {"--buffer-full", "200", "--refuse", "ATBRD"},
            {"BUFFER FULL on long answers"});
        row("line fails above 57600 baud", {"--line-fails-above", "57600"},
            {"\"baud_rate\":38400", "the line fails at 115200 baud"});
        // The scan takes some 15 s.
        row("asleep after 8 s for 5 s", {"--sleep-after", "8", "--asleep-seconds", "5", "--sleep-word", "LV RESET"},
            {});
        row("asleep after 8 s until woken", {"--sleep-after", "8"}, {});
        row("asleep after 3 s idle", {"--sleep-after", "3", "--sleep-when-idle"}, {});
        row("ignition on after 10 s", {"--ignition-after", "10"}, {});
        row("adapter at 115200 baud", {"--baud", "115200"}, {"answers at 115200 baud"});
        row("adapter at 9600 baud", {"--baud", "9600"}, {faster, "\"found_at_baud_rate\":9600"});
        row("STN chip", {}, {"\"chip\":\"STN\"", "\"firmware\":\"STN1110 v4.2.7\"", faster}, QStringLiteral("stn"));
        row("cheap copy", {}, {"\"ATAT\":\"refused\""}, QStringLiteral("clone"));
    }
    void sameValuesAsAWellBehavedAdapter() {
        QFETCH(QString, profile);
        QFETCH(QStringList, arguments);
        QFETCH(QString, comparedWith);
        QFETCH(QStringList, adapterSays);
        const Scan got = scan(profile, arguments);
        const Scan& clean = clean_[comparedWith];
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
        for (const QString& piece : adapterSays)
            QVERIFY2(got.adapter.contains(piece), qPrintable(piece + QStringLiteral(" not in ") + got.adapter));
    }

    // What a connection learned is where the next one starts: a refused command is not sent
    // again. A changed banner is another adapter: probed afresh, its old entry not trusted.
    void theNextConnectionStartsFromWhatWasLearned() {
        CarRig rig(QStringLiteral("can11"), quirkOptions(QStringLiteral("can11"), {"--refuse", "ATCAF"}));
        const Scan first = scanWith(rig);
        QVERIFY2(first.adapter.contains("\"remembered\":false"), qPrintable(first.adapter));
        rig.port.clearWritten();
        const Scan second = scanWith(rig);
        QCOMPARE(second.status, 0);
        QVERIFY2(second.adapter.contains("\"remembered\":true"), qPrintable(second.adapter));
        QVERIFY(second.adapter.contains("\"ATCAF\":\"refused\""));
        QVERIFY(!rig.port.written().contains("ATCAF"));

        rig.port.simulator().options().banner = "ELM327 v2.2";
        rig.port.simulator().options().refused.clear();
        const Scan third = scanWith(rig);
        QCOMPARE(third.status, 0);
        QVERIFY2(third.adapter.contains("the banner changed since the last connection"), qPrintable(third.adapter));
        QVERIFY(third.adapter.contains("\"remembered\":false"));
        QVERIFY(third.adapter.contains("\"ATCAF\":\"works\""));
        QCOMPARE(third.report, clean_[QStringLiteral("can11")].report);
    }

    // A car that answers 09 02 without listing its items in 09 00 still shows its VIN.
    void vinOfACarThatDoesNotListIt() {
        const Scan got = scan(QStringLiteral("can11"), {"--unlisted-vehicle-info"});
        QCOMPARE(got.status, 0);
        QCOMPARE(got.report.value(QStringLiteral("vin")), clean_[QStringLiteral("can11")].report.value("vin"));
    }

private:
    QMap<QString, Scan> clean_;
};

ZELCOR_TEST(AdapterQuirksTest)
#include "adapterquirks_test.moc"
