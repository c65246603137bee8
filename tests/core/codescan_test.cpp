// The trouble code sections of the headless scan, on the simulated car.

#include "core/codescan.h"
#include "core/scanreport.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QJsonArray>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

struct ScanRig : CarRig {
    ScanReport report;

    explicit ScanRig(const QString& profile, bool withCodesFile = true) : CarRig(profile, {}, withCodesFile) {}
    int run() { return runScan(session, report); }
};

QStringList codesOf(const QList<ScanCode>& codes) {
    QStringList out;
    for (const ScanCode& c : codes)
        out << c.code + "@" + c.controller;
    return out;
}

} // namespace

class CodeScanTest : public QObject {
    Q_OBJECT
private slots:
    void codesAndFreezeFrame_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<QString>("freezeCode");
        QTest::newRow("can11") << "can11" << QStringList{"P0133@232", "P0171@232"}
                               << QStringList{"P0442@232", "P0741@233"} << "P0133";
        QTest::newRow("manycodes") << "manycodes"
                                   << QStringList{"P0101@232", "P0113@232", "P0128@232", "P0133@232", "P0171@232",
                                                  "P0300@232", "P0301@232", "P0302@232", "P0303@232", "P0304@232",
                                                  "P0420@232", "P0442@232", "P0455@232", "P1456@232", "U0100@232"}
                                   << QStringList{"P0305@232", "P0306@232", "P0741@233"} << "P0300";
        QTest::newRow("nofreeze") << "nofreeze" << QStringList{} << QStringList{"P0456@232", "P0741@233"} << "";
    }
    void codesAndFreezeFrame() {
        QFETCH(QString, profile);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, pending);
        QFETCH(QString, freezeCode);
        ScanRig rig(profile);
        QCOMPARE(rig.run(), 0);
        QCOMPARE(codesOf(rig.report.stored), stored);
        QCOMPARE(codesOf(rig.report.pending), pending);
        QVERIFY(!rig.report.freezeFrame.isEmpty());
        QCOMPARE(rig.report.freezeFrame.first().name, QStringLiteral("Freeze Frame DTC"));
        QCOMPARE(rig.report.freezeFrame.first().value, freezeCode);
        if (freezeCode.isEmpty())
            QCOMPARE(rig.report.freezeExplanation, QStringLiteral("THERE IS NO FREEZE FRAME DATA STORED"));
        QVERIFY(rig.host.messages.isEmpty());

        const QJsonObject json = rig.report.json();
        QCOMPARE(json["stored"].toArray().size(), stored.size());
        QCOMPARE(json["pending"].toArray().size(), pending.size());
        QCOMPARE(json["freeze_frame"].toArray().size(), rig.report.freezeFrame.size());
        QVERIFY(rig.report.text().contains("Pending Trouble Codes:\n"));
    }

    // Explanations come from codes.dat on one line; the text and JSON forms carry them.
    void explanationsInTheReport() {
        ScanRig rig(QStringLiteral("can11"));
        QCOMPARE(rig.run(), 0);
        const ScanCode& code = rig.report.pending.last();
        QCOMPARE(code.explanation, QStringLiteral("Torque Converter Clutch Circuit Performance or Stuck Off"));
        QVERIFY(rig.report.text().contains("  P0741  233  Torque Converter Clutch Circuit Performance or Stuck Off\n"));
        QCOMPARE(rig.report.json()["pending"].toArray().last().toObject(),
                 (QJsonObject{{"code", "P0741"},
                              {"controller", "233"},
                              {"explanation", "Torque Converter Clutch Circuit Performance or Stuck Off"}}));
        QCOMPARE(rig.report.freezeExplanation, QStringLiteral("O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)"));
    }

    // Without codes.dat the scan still lists the codes and says once why nothing is explained.
    void missingCodesFileSaidOnce() {
        ScanRig rig(QStringLiteral("can11"), false);
        QCOMPARE(rig.run(), 0);
        QCOMPARE(rig.report.stored.size(), 2);
        QCOMPARE(rig.report.stored.first().explanation, QString());
        QVERIFY(rig.report.text().contains("  P0133  232  (no explanation in codes.dat)\n"));
        QStringList boxes;
        for (const RecordedMessage& m : rig.host.messages)
            boxes << m.text.left(16);
        // One for the code list, one from the freeze frame panel's own lookup.
        QCOMPARE(boxes, (QStringList{"ERROR NUMBER  53", "ERROR NUMBER  53"}));
    }

    void oneLine_data() {
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QString>("line");
        QTest::newRow("several") << "P0171 Too Lean\r\nP0171 (Bank 1)\r\n"
                                 << "Too Lean / (Bank 1)";
        QTest::newRow("empty line in the block") << "P0171 Too Lean\r\nP0171 \r\nP0171 more\r\n"
                                                 << "Too Lean / more";
        QTest::newRow("none") << ""
                              << "";
    }
    void oneLine() {
        QFETCH(QString, explanation);
        QTEST(oneLineExplanation(explanation), "line");
    }
};

ZELCOR_TEST(CodeScanTest)
#include "codescan_test.moc"
