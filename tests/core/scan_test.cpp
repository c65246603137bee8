// The headless scan's exit statuses, its limits and its live stage. The reports of every
// simulated car (text, JSON, live JSON, codes and freeze frame) are in
// tests/golden/data/*/scan.txt, scan.json and scan-live.json.

#include "core/codescan.h"
#include "core/scanreport.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

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
        QCOMPARE(rig.session.connection().panel().status.left(caption.size()), caption);
        const auto removed = [](const RecordedMessage& m) { return m.text.startsWith("ERROR NUMBER 8021"); };
        QCOMPARE(std::count_if(rig.host.messages.begin(), rig.host.messages.end(), removed), unplugAfter ? 1 : 0);
    }

    // A car that keeps answering, but never with what a stage needs, ends the scan after
    // 40 passes: here General Info never gets its answer.
    void stagesEndAfterFortyPasses() {
        SessionRig rig;
        rig.answers["ATWS"] = "ELM327 v1.5\r\r>";
        for (const char* command : {"ATE0", "ATL0", "ATSPA3", "ATH1"})
            rig.answers[command] = "OK\r\r>";
        rig.answers["ATDP"] = "ISO 15765-4 (CAN 11/500)\r\r>";
        rig.answers["0100"] = "7E8 06 41 00 BE 3E B8 13\r\r>";
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 3);
        QCOMPARE(rig.port.lines.count("0101"), 39); // after the detection pass
        QCOMPARE(report.controllers, QStringList{"232"});
    }

    // The live stage polls the first ten channels for its time, free of the 40 passes.
    // Without codes.dat the codes are listed all the same, and why nothing is explained is
    // said once for the code list and once for the freeze frame.
    void liveStageWithoutCodesFile() {
        CarRig rig(QStringLiteral("can11"), {}, false);
        ScanReport report;
        QCOMPARE(runScan(rig.session, report, 5.0), 0);
        const QList<ListEntry>& entries = rig.session.live().row(0).channel.entries;
        QCOMPARE(report.live.size(), 10);
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(report.live[i].code, entries[i].code);
            QVERIFY2(!report.live[i].text.isEmpty(), qPrintable(report.live[i].name));
        }
        QVERIFY2(report.passRate && *report.passRate * 5 > 40,
                 qPrintable(QString::number(report.passRate.value_or(0))));

        QCOMPARE(report.stored.size(), 2);
        QVERIFY(report.text().contains("  P0133  232  (no explanation in codes.dat)\n"));
        QStringList boxes;
        for (const RecordedMessage& m : rig.host.messages)
            boxes << m.text.left(16);
        QCOMPARE(boxes, (QStringList{"ERROR NUMBER  53", "ERROR NUMBER  53"}));
    }

    void oneLine_data() {
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("line");
        const std::pair<const char*, const char*> rows[] = {
            {"P0171 Too Lean\r\nP0171 (Bank 1)\r\n", "Too Lean / (Bank 1)"},
            {"P0171 Too Lean\r\nP0171 \r\nP0171 more\r\n", "Too Lean / more"}, // an empty line in the block
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
