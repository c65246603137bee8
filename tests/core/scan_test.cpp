// The headless scan's exit statuses, its limits and what it says of parts it could not read.
// The reports of every simulated car (text, JSON, live JSON, vehicle information, codes and
// freeze frame) are in tests/golden/data/*/scan.txt, scan.json and scan-live.json.

#include "core/codescan.h"
#include "core/scanreport.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QJsonArray>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// An adapter that wakes up, sets up and searches like a real one; the car's answers are
// the test's.
void wakingAdapter(SessionRig& rig) {
    rig.answers["ATWS"] = "ELM327 v1.5\r\r>";
    for (const char* command : {"ATE0", "ATL0", "ATSPA3", "ATH1"})
        rig.answers[command] = "OK\r\r>";
    rig.answers["ATDP"] = "ISO 15765-4 (CAN 11/500)\r\r>";
}

// The answers of a car with one stored code and a freeze frame of engine speed alone.
void soundCar(SessionRig& rig) {
    wakingAdapter(rig);
    rig.answers["0100"] = "7E8 06 41 00 98 18 00 01\r\r>";
    rig.answers["0101"] = "7E8 06 41 01 81 07 65 00\r\r>";
    rig.answers["010C"] = "7E8 04 41 0C 1A F8\r\r>";
    rig.answers["03"] = "7E8 04 43 01 01 33\r\r>";
    rig.answers["07"] = "7E8 02 47 00\r\r>";
    rig.answers["020000"] = "7E8 07 42 00 00 60 00 00 00\r\r>";
    rig.answers["020200"] = "7E8 05 42 02 00 01 33\r\r>";
    rig.answers["020300"] = "7E8 05 42 03 00 02 00\r\r>";
}

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
private slots:
    // 0 success, 2 no adapter (or it went away), 3 no vehicle.
    void exitStatus_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("simulatorPort");
        QTest::addColumn<int>("unplugAfter");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("caption");
        QTest::newRow("car") << "can11" << 1 << 0 << 0 << "";
        QTest::newRow("no adapter") << "can11" << 12 << 0 << 2 << "To solve this ERROR 0 problem,";
        QTest::newRow("adapter gone") << "can11" << 1 << 3 << 2 << "";
        QTest::newRow("no vehicle") << "nocar" << 1 << 0 << 3 << "To solve this ERROR 1 problem,";
    }
    void exitStatus() {
        QFETCH(QString, profile);
        QFETCH(int, simulatorPort);
        QFETCH(int, unplugAfter);
        QFETCH(QString, caption);
        sim::Options options;
        options.unplugAfter = unplugAfter;
        CarRig rig(profile, options, false);
        rig.port.setSimulatorPort(simulatorPort);
        rig.session.settings().noPortSearch = true;
        ScanReport report;
        QTEST(runScan(rig.session, report), "status");
        // The status names the cause first, then how to get help.
        const QString status = rig.session.connection().panel().status;
        if (!caption.isEmpty()) {
            QVERIFY2(status.contains("\r\n" + caption), qPrintable(status));
            QVERIFY(!rig.session.connection().failureCause().isEmpty());
            QCOMPARE(status.section("\r\n", 0, 0), rig.session.connection().failureCause());
            QVERIFY(report.errors.last().message.endsWith(rig.session.connection().failureCause()));
        }
        // A scan that ends early says so, and keeps what it had read.
        const bool early = report.errors.size() == 1 && report.errors[0].stage == "connection";
        QCOMPARE(early, !caption.isEmpty() || unplugAfter > 0);
        if (unplugAfter) QVERIFY(report.hasContent());
        const auto removed = [](const RecordedMessage& m) { return m.text.startsWith("ERROR NUMBER 8021"); };
        QCOMPARE(std::count_if(rig.host.messages.begin(), rig.host.messages.end(), removed), unplugAfter ? 1 : 0);
    }

    // A car that keeps answering, but never with what a stage needs, ends the scan after
    // 40 passes: here General Info never gets its answer. Why is said: no answer, or answers
    // to other requests, with one of them.
    void stagesEndAfterFortyPasses_data() {
        QTest::addColumn<QByteArray>("generalInfo");
        QTest::addColumn<QString>("error");
        QTest::newRow("unanswered") << QByteArray("NO DATA")
                                    << "the vehicle stopped answering before the scan was complete";
        QTest::newRow("another PID's reply")
            << QByteArray("7E8 03 41 0D 00")
            << "the vehicle's answers did not match the requests: 0101 was answered with \"7E803410D00\" (the reply "
               "answers 41 0D, not 41 01)";
    }
    void stagesEndAfterFortyPasses() {
        QFETCH(QByteArray, generalInfo);
        SessionRig rig;
        wakingAdapter(rig);
        rig.answers["0100"] = "7E8 06 41 00 BE 3E B8 13\r\r>";
        rig.answers["0101"] = generalInfo + "\r\r>";
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 3);
        QCOMPARE(rig.port.lines.count("0101"), 39); // after the detection pass
        QCOMPARE(report.controllers, QStringList{"232"});
        QCOMPARE(report.errors.last().stage, "connection");
        QTEST(report.errors.last().message, "error");
    }

    // Without codes.dat the codes are listed all the same, and why nothing is explained is
    // said once for the code list and once for the freeze frame; the live stage runs as
    // ever (its samples are in the golden scan-live.json files).
    void withoutCodesFile() {
        CarRig rig(QStringLiteral("can11"), {}, false);
        ScanReport report;
        QCOMPARE(runScan(rig.session, report, 5.0), 0);
        QCOMPARE(report.live.size(), 10);
        QVERIFY(report.samples.size() > 40);
        QCOMPARE(report.stored.size(), 2);
        QVERIFY(report.text().contains("  P0133  232  No explanation for P0133 in codes.dat\n"));
        QStringList boxes;
        for (const RecordedMessage& m : rig.host.messages)
            boxes << m.text.left(16);
        QCOMPARE(boxes, (QStringList{"ERROR NUMBER  53", "ERROR NUMBER  53"}));
    }

    // Codes or a freeze frame that cannot be trusted are reported as such: in the text, as
    // null in JSON with the reason in "errors"; never as an empty list. (Each reason a code
    // list cannot be read is in the code reply and trouble code tests.)
    void unreadableParts_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const char* command, const char* answer, const char* stage,
                            const char* message) {
            QTest::newRow(name) << QByteArray(command) << QByteArray(answer) + "\r\r>" << stage << message;
        };
        row("stored: error word", "03", "CAN ERROR", "stored", "CAN ERROR");
        row("stored: no data, one code counted", "03", "NO DATA", "stored",
            "the car reports 1 code but gave none (NO DATA)");
        row("permanent: error word", "0A", "CAN ERROR", "permanent", "CAN ERROR");
        row("freeze frame code damaged", "020200", "7E8 05 42 02 00 01 3", "freeze_frame",
            "an odd number of hex digits");
        row("freeze frame refused", "020000", "7E8 03 7F 02 12", "freeze_frame", "the reply answers 7F 02, not 42 00");
    }
    void unreadableParts() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, answer);
        QFETCH(QString, stage);
        QFETCH(QString, message);
        SessionRig rig(SessionRig::Offline{});
        rig.online();
        soundCar(rig);
        rig.answers[command] = answer;
        rig.session.link().requestStop();
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 0);
        QCOMPARE(report.errors.size(), 1);
        QCOMPARE(report.errors[0].stage, stage);
        QCOMPARE(report.errors[0].message, message);
        const QString text = report.text();
        const QJsonObject json = report.json();
        QVERIFY(json[stage].isNull());
        QCOMPARE(json["errors"].toArray().size(), 1);
        QVERIFY2(
            text.contains((stage == "freeze_frame" ? "Freeze frame could not be read: " : "Codes could not be read: ") +
                          message + "\n"),
            qPrintable(text));
    }

    // A car that answers, but whose answers cannot be read, ends with ERROR NUMBER 3 in
    // seconds; an adapter that answers in lowercase is read like any other.
    void answersThatCannotBeRead_data() {
        QTest::addColumn<QByteArray>("broadcast");
        QTest::addColumn<int>("status");
        QTest::newRow("lowercase") << QByteArray("7e8 06 41 00 98 18 00 01\r\r>") << 0;
        QTest::newRow("no headers") << QByteArray("41 00 98 18 00 01\r\r>") << 3;
        QTest::newRow("garbage before the reply") << QByteArray("#@7E8 06 41 00 98 18 00 01\r\r>") << 3;
    }
    void answersThatCannotBeRead() {
        QFETCH(QByteArray, broadcast);
        QFETCH(int, status);
        SessionRig rig(SessionRig::Offline{});
        rig.online();
        soundCar(rig);
        rig.answers["0100"] = broadcast;
        if (status == 0) { // the whole car in lowercase
            for (auto& answer : rig.answers)
                if (answer.startsWith("7E8")) answer = answer.toLower();
        }
        rig.session.link().requestStop();
        const double start = rig.clock.now();
        ScanReport report;
        QTEST(runScan(rig.session, report), "status");
        if (status == 0) {
            QCOMPARE(report.controllers, QStringList{"232"});
            QCOMPARE(report.stored.size(), 1);
            return;
        }
        QVERIFY2(rig.clock.now() - start < 30, qPrintable(QString::number(rig.clock.now() - start)));
        QVERIFY(rig.session.connection().panel().status.startsWith("To solve this ERROR 3 problem,"));
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY2(rig.host.messages[0].text.contains("The adapter said: ISO 15765-4 (CAN 11/500) / " +
                                                    QString::fromLatin1(broadcast).remove(' ').left(10)),
                 qPrintable(rig.host.messages[0].text));
    }

    // A peer that floods random bytes with a banner, a 0100 answer and prompts mixed in:
    // the receive buffer stays bounded, each controller is listed once, and what the
    // report shows is printable and short.
    void garbageFlood() {
        sim::Options options;
        options.garbageFlood = true;
        options.garbageFloodKilobytes = 200;
        CarRig rig(QStringLiteral("can11"), options, false);
        const Link& link = rig.session.link();
        qsizetype most = 0;
        QObject::connect(&rig.port, &Port::readyRead, [&] { most = std::max(most, link.received().size()); });
        ScanReport report;
        runScan(rig.session, report);
        QVERIFY2(most > 1000 && most <= Link::kReceiveLimit, qPrintable(QString::number(most)));
        QCOMPARE(QSet<QString>(report.controllers.begin(), report.controllers.end()).size(), report.controllers.size());
        QVERIFY2(!report.protocol.isEmpty() && report.protocol.size() <= 63, qPrintable(report.protocol));
        const QString text = report.text();
        QVERIFY2(text.size() < 2000, qPrintable(text.left(2000)));
        for (const QChar c : text)
            QVERIFY2(c == QLatin1Char('\n') || (c >= QLatin1Char(' ') && c.unicode() < 0x7F), qPrintable(text));
    }

    void oneLine_data() {
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("line");
        const std::pair<const char*, const char*> rows[] = {
            {"P0171 Too Lean\r\nP0171 (Bank 1)\r\n", "Too Lean / (Bank 1)"},
            {"P0171 Too Lean\r\nP0171 \r\nP0171 more\r\n", "Too Lean / more"}, // an empty line in the block
            {"No explanation for P1456 in codes.dat\r\n", "No explanation for P1456 in codes.dat"},
            {"", ""},
        };
        for (const auto& [explanation, line] : rows)
            QTest::newRow(line) << explanation << line;
    }
    void oneLine() {
        QFETCH(QString, explanation);
        QTEST(oneLineExplanation(explanation), "line");
    }
};

ZELCOR_TEST(ScanTest)
#include "scan_test.moc"
