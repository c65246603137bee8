// Trouble codes, erase and freeze frame against the simulated car, through CONNECT.

#include "dtc/explaincode.h"
#include "sessionrig.h"
#include "testmain.h"
#include "vehicle/pidnames.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QList<const FreezeFrameRow*> shownRows(const FreezeFrame& frame) {
    QList<const FreezeFrameRow*> rows;
    for (const FreezeFrameRow& row : frame.rows)
        if (row.visible) rows << &row;
    return rows;
}

} // namespace

class SimCodesTest : public QObject {
    Q_OBJECT
private slots:
    void codesOfEveryController_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("pending");
        QTest::newRow("can11: the transmission's pending code from 233")
            << "can11" << closed(codeItems({"P0133", "P0171"}, "232"))
            << closed(codeItems({"P0442"}, "232") + codeItems({"P0741"}, "233"));
        QTest::newRow("can29") << "can29" << closed(codeItems({"P0133", "P0171"}, "16"))
                               << closed(codeItems({"P0442"}, "16") + codeItems({"P0741"}, "24"));
        QTest::newRow("legacy: three codes per message")
            << "legacy" << closed(codeItems({"P0133", "P0171", "P0300", "P0420"}, "16"))
            << closed(codeItems({"P0442"}, "16") + codeItems({"P0741"}, "24"));
        QTest::newRow("manycodes: fifteen codes in one segmented reply")
            << "manycodes"
            << closed(codeItems({"P0101", "P0113", "P0128", "P0133", "P0171", "P0300", "P0301", "P0302", "P0303",
                                 "P0304", "P0420", "P0442", "P0455", "P1456", "U0100"},
                                "232"))
            << closed(codeItems({"P0305", "P0306"}, "232") + codeItems({"P0741"}, "233"));
        QTest::newRow("clean") << "clean" << closed({}) << closed({});
    }
    void codesOfEveryController() {
        QFETCH(QString, profile);
        CarRig rig(profile);
        rig.run(254);
        QTEST(rig.session.List5, "stored");
        QTEST(rig.session.List6, "pending");
        QCOMPARE(rig.session.funccode, qint16(255));
    }

    // The two-step erase through the panel's buttons: the codes read afterwards are gone,
    // and so is the freeze frame.
    void eraseThenReadAgain_data() {
        QTest::addColumn<bool>("eraseNow");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("eraseRequests");
        QTest::newRow("ERASE CODES NOW") << true << closed({}) << 1;
        QTest::newRow("CANCEL") << false << closed(codeItems({"P0133", "P0171"}, "232")) << 0;
    }
    void eraseThenReadAgain() {
        QFETCH(bool, eraseNow);
        CarRig rig(QStringLiteral("can11"));
        QList<int> served;
        int reads = 0;
        bool asked = false;
        rig.afterPass = [&](int code) {
            served << code;
            if (code == 0 && rig.session.funccode == 1) rig.session.funccode = 254;
            if (code == 254 && ++reads == 1) {
                rig.session.Command4_Click();
                asked = rig.session.dtc.confirmVisible;
                eraseNow ? rig.session.Command5_Click() : rig.session.Command6_Click();
            }
            if (code == 254 && reads == 2) rig.session.funccode = 248;
            return code == 248;
        };
        rig.session.connection.CONNECT();
        QVERIFY(asked);
        QCOMPARE(served, (eraseNow ? QList<int>{0, 254, 253, 254, 248} : QList<int>{0, 254, 254, 248}));
        QTEST(int(rig.port.writes().count("04\r\n")), "eraseRequests");
        QTEST(rig.session.List5, "stored");
        QCOMPARE(rig.session.List6,
                 eraseNow ? closed({}) : closed(codeItems({"P0442"}, "232") + codeItems({"P0741"}, "233")));
        QCOMPARE(rig.session.freeze.explanation == noFreezeFrameText, eraseNow);
    }

    void freezeFrame_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("explanation");
        QTest::addColumn<QList<int>>("pids");
        const QList<int> stored{0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11};
        QTest::newRow("can11: P0133 froze the frame") << "can11"
                                                      << "P0133"
                                                      << "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n"
                                                      << stored;
        QTest::newRow("legacy") << "legacy"
                                << "P0133"
                                << "P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)\r\n"
                                << QList<int>{0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x11};
        QTest::newRow("nofreeze") << "nofreeze"
                                  << ""
                                  << "THERE IS NO FREEZE FRAME DATA STORED" << QList<int>{0x02};
    }
    void freezeFrame() {
        QFETCH(QString, profile);
        QFETCH(QString, code);
        QFETCH(QString, explanation);
        QFETCH(QList<int>, pids);
        CarRig rig(profile);
        rig.run(248);
        const FreezeFrame& frame = rig.session.freeze;
        const auto rows = shownRows(frame);
        QStringList labels, expectedLabels;
        for (const FreezeFrameRow* row : rows)
            labels << row->label;
        for (int pid : pids)
            expectedLabels << pidname(pid);
        QCOMPARE(labels, expectedLabels);
        QCOMPARE(frame.rows[0].value.trimmed(), code);
        QCOMPARE(frame.explanation, explanation);
        if (!code.isEmpty())
            for (const FreezeFrameRow* row : rows)
                QVERIFY2(!row->value.isEmpty(), qPrintable(row->label));
        QCOMPARE(rig.session.funccode, qint16(255));
    }
};

ZELCOR_TEST(SimCodesTest)
#include "simcodes_test.moc"
