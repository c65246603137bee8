#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// A scripted adapter on 11-bit CAN, no controller chosen yet.
struct Rig : SessionRig {
    Rig() : SessionRig(QString(), 5) { answers["ATDP"] = "ISO 15765-4 (CAN 11/500)\r\r>"; }
    // One 11-bit CAN controller at 7E8 with the given 0100 data bytes.
    void canEngine(const QByteArray& bitmap) { answers["0100"] = "7E8 06 41 00 " + bitmap + "\r\r>"; }
    void detect() { pass(0); }
    static QStringList names(const QStringList& entries) {
        QStringList out;
        for (const QString& e : entries)
            out << entryName(e);
        return out;
    }
    static QList<int> codes(const QStringList& entries) {
        QList<int> out;
        for (const QString& e : entries)
            out << entryCode(e);
        return out;
    }
};

} // namespace

class DetectionTest : public QObject {
    Q_OBJECT
private slots:
    void headerLayouts_data() {
        QTest::addColumn<QByteArray>("broadcast");
        QTest::addColumn<int>("hdrformat");
        QTest::addColumn<QStringList>("controllers");
        QTest::addColumn<QString>("ecuaddr");
        QTest::newRow("11-bit CAN") << QByteArray("7E8 06 41 00 BE 3E B8 13\r\r>") << 2 << QStringList{"232"} << "E8";
        QTest::newRow("11-bit CAN, two controllers")
            << QByteArray("7E8 06 41 00 BE 3E B8 13\r7E9 06 41 00 98 18 80 01\r\r>") << 2 << QStringList{"232", "233"}
            << "E8";
        QTest::newRow("29-bit CAN") << QByteArray(
                                           "18 DA F1 10 06 41 00 BE 3E B8 13\r18 DA F1 18 06 41 00 80 00 00 01\r\r>")
                                    << 7 << QStringList{"16", "24"} << "10";
        QTest::newRow("legacy") << QByteArray("48 6B 10 41 00 BE 3E B8 11 C4\r48 6B 18 41 00 80 00 00 00 1E\r\r>") << 5
                                << QStringList{"16", "24"} << "10";
        QTest::newRow("adapter texts are no controllers")
            << QByteArray("SEARCHING...\rNO DATA\r7E8 06 41 00 BE 3E B8 13\r\r>") << 2 << QStringList{"232"} << "E8";
    }
    void headerLayouts() {
        QFETCH(QByteArray, broadcast);
        QFETCH(int, hdrformat);
        QFETCH(QStringList, controllers);
        QFETCH(QString, ecuaddr);
        Rig rig;
        rig.answers["0100"] = broadcast;
        rig.detect();
        QCOMPARE(rig.session.hdrformat, hdrformat);
        QCOMPARE(rig.session.generalInfo.controllers, controllers);
        QCOMPARE(rig.session.ecuaddr, ecuaddr);
        QCOMPARE(rig.session.generalInfo.currentAddress, controllers.first());
        QCOMPARE(rig.session.funccode, qint16(1)); // General Info selected
        QVERIFY(!rig.session.needinit);
        QVERIFY(rig.host.clipboard.last().startsWith("ISO 15765-4 (CAN 11/500)\r\r>/"));
    }

    void functionAndChannelLists() {
        Rig rig;
        rig.canEngine("80 1B 00 00"); // 01, 0C, 0D, 0F, 10
        rig.detect();
        QCOMPARE(rig.names(rig.session.List4),
                 (QStringList{"General Info", "DTC (Trouble Codes)", "Freeze Frame Data", "Real-Time Gauges",
                              "Real-Time Graphs", "Engine RPM", "Vehicle Speed"}));
        QCOMPARE(rig.codes(rig.session.List4), (QList<int>{1, 254, 248, 250, 240, 12, 13}));
        const QList<int> channels{16, 15, 13, 12, 998, 997, 999};
        QCOMPARE(rig.codes(rig.session.liveRows[9].channel.entries), channels);
        QCOMPARE(rig.codes(rig.session.graphTraces[1].channel.entries), channels);
        QCOMPARE(rig.session.pidsup[15], 1);
        QCOMPARE(rig.session.pidsup[14], 0);
    }

    void channelOrderFollowsTheRules() {
        Rig rig;
        // 01 03 04 | 0B 0C 0D 0E 0F 10 | 11 12 13 | 20
        rig.canEngine("B0 3F E0 01");
        rig.answers["0120"] = "7E8 06 41 20 80 01 80 00\r\r>"; // 21, 30, 31
        rig.detect();
        QCOMPARE(rig.codes(rig.session.List4), (QList<int>{1, 254, 248, 250, 240, 12, 13, 19, 32, 33, 48, 49}));
        QCOMPARE(rig.codes(rig.session.liveRows[0].channel.entries),
                 (QList<int>{17, 16, 15, 14, 13, 12, 3, 4, 11, 998, 997, 999, 18, 33, 48, 49}));
        QCOMPARE(rig.session.pidsup[33], 1);
        QCOMPARE(rig.session.pidsup[64], 0);
    }

    // Without channels the five main functions remain; without PID 01 nothing does.
    void bitmapWithoutChannels_data() {
        QTest::addColumn<QByteArray>("bitmap");
        QTest::addColumn<int>("functions");
        QTest::newRow("all zero") << QByteArray("00 00 00 00") << 5;
        QTest::newRow("no PID 01") << QByteArray("00 18 00 00") << 0; // only 0C and 0D
    }
    void bitmapWithoutChannels() {
        QFETCH(QByteArray, bitmap);
        QFETCH(int, functions);
        Rig rig;
        rig.canEngine(bitmap);
        rig.detect();
        QCOMPARE(rig.session.List4.size(), functions);
        QCOMPARE(rig.session.needinit, functions == 0);
        QCOMPARE(rig.session.funccode, qint16(functions ? 1 : 0));
        if (functions) QCOMPARE(rig.session.pidsup[1], 1);
    }

    void missingControllerRule() {
        Rig rig;
        rig.answers["0100"] = "7E8 06 41 00 BE 3E B8 13\r7E9 06 41 00 80 00 00 00\r\r>";
        rig.detect();
        rig.session.List7_Click(1);
        QCOMPARE(rig.session.pendingaddr, QStringLiteral("E9"));
        QCOMPARE(rig.session.funccode, qint16(0));
        rig.detect();
        QCOMPARE(rig.session.ecuaddr, QStringLiteral("E9"));
        QCOMPARE(rig.session.List4.size(), 5);

        // The transmission stops answering: kept twice, replaced on the third miss.
        rig.answers["0100"] = "7E8 06 41 00 BE 3E B8 13\r\r>";
        rig.session.settings.recording = true;
        rig.session.openlog();
        for (int miss = 1; miss <= 2; ++miss) {
            rig.detect();
            QCOMPARE(rig.session.ecuaddr, QStringLiteral("E9"));
            QVERIFY(rig.session.List4.isEmpty());
            QVERIFY(rig.session.needinit);
            rig.session.needinit = false;
        }
        rig.detect();
        QCOMPARE(rig.session.ecuaddr, QStringLiteral("E8"));
        QCOMPARE(rig.session.generalInfo.currentAddress, QStringLiteral("232"));
        rig.session.closelog();
        QVERIFY(rig.file("log.txt").contains("EA4:E8\r\n"));
    }

    void noResponderAtAllFallsBackToEngine() {
        Rig rig;
        rig.canEngine("BE 3E B8 13");
        rig.detect();
        rig.answers["0100"] = "NO DATA\r\r>";
        for (int miss = 0; miss < 3; ++miss)
            rig.detect();
        QCOMPARE(rig.session.ecuaddr, QStringLiteral("10"));
        QCOMPARE(rig.session.generalInfo.currentAddress, QStringLiteral("16 - Engine"));
    }

    void clickingTheCurrentControllerDoesNothing() {
        Rig rig;
        rig.canEngine("BE 3E B8 13");
        rig.detect();
        rig.session.List7_Click(0);
        QVERIFY(rig.session.pendingaddr.isEmpty());
        QCOMPARE(rig.session.funccode, qint16(1));
    }

    void detectionResetsThePanels() {
        Rig rig;
        rig.session.generalInfo.mil = "ON";
        rig.session.liveRows[3].value = "12 RPM";
        rig.session.oxygen.voltage[2] = "0.450";
        rig.session.List5 << "P0133       16";
        rig.canEngine("BE 3E B8 13");
        rig.detect();
        QVERIFY(rig.session.generalInfo.mil.isEmpty());
        QVERIFY(rig.session.liveRows[3].value.isEmpty());
        QCOMPARE(rig.session.oxygen.voltage[2], QStringLiteral("0.0"));
        QVERIFY(rig.session.List5.isEmpty());
    }
};

ZELCOR_TEST(DetectionTest)
#include "detection_test.moc"
