// The codes, erase and freeze frame passes against exact adapter replies.

#include "sessionrig.h"
#include "testmain.h"
#include "vehicle/decodepid.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

class CodesPassTest : public QObject {
    Q_OBJECT
private slots:
    void readsBothServices_data() {
        QTest::addColumn<int>("hdrformat");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("pending");
        QTest::addColumn<QStringList>("storedItems");
        QTest::addColumn<QStringList>("pendingItems");
        QTest::newRow("legacy, three codes per line, two lines")
            << 5 << QByteArray("48 6B 10 43 01 33 43 00 D0 01 5A\r48 6B 10 43 81 71 00 00 00 00 11\r\r>")
            << QByteArray("48 6B 18 47 07 41 00 00 00 00 9F\r\r>")
            << closed({"P0133" + gap + "16", "C0300" + gap + "16", "U1001" + gap + "16", "B0171" + gap + "16"})
            << closed({"P0741" + gap + "24"});
        QTest::newRow("11-bit CAN, two controllers with single frames")
            << 2 << QByteArray("7E8 06 43 02 01 33 01 96\r\r>")
            << QByteArray("7E8 04 47 01 04 42\r7E9 04 47 01 07 41\r\r>")
            << closed({"P0133" + gap + "232", "P0196" + gap + "232"})
            << closed({"P0442" + gap + "232", "P0741" + gap + "233"});
    }
    void readsBothServices() {
        QFETCH(int, hdrformat);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, pending);
        SessionRig rig(QStringLiteral("10"), hdrformat);
        rig.answers["03"] = stored;
        rig.answers["07"] = pending;
        rig.pass(254);
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"03", "07"}));
        QTEST(rig.session.List5, "storedItems");
        QTEST(rig.session.List6, "pendingItems");
        QCOMPARE(rig.session.frame, Panel::D03);
        QCOMPARE(rig.session.funccode, qint16(255));
        QVERIFY(rig.session.dtc.eraseEnabled);
        QVERIFY(rig.session.dtc.saveEnabled);
        // The raw reply to "03", blanks and the prompt gone, lines still apart.
        QString raw = QString::fromLatin1(stored);
        raw.remove(QLatin1Char(' ')).remove(QLatin1Char('>'));
        QCOMPARE(rig.host.clipboard, QStringList{raw});
    }

    // While the codes are read the lists show the marker and neither erasing nor saving
    // can start.
    void whileReading() {
        SessionRig rig;
        rig.answers["03"] = "7E8 06 43 02 01 33 01 96\r\r>";
        rig.session.List5 = closed({"P0171" + gap + "232"});
        QStringList seenStored, seenPending;
        bool buttonsEverEnabled = false;
        rig.clock.onYield = [&](double) {
            seenStored = rig.session.List5;
            seenPending = rig.session.List6;
            buttonsEverEnabled |= rig.session.dtc.eraseEnabled || rig.session.dtc.saveEnabled;
        };
        rig.pass(254);
        QVERIFY(!buttonsEverEnabled);
        QCOMPARE(seenStored, closed({"P0133" + gap + "232", "P0196" + gap + "232"})); // last wait: "07"
        QCOMPARE(seenPending, QStringList{"--- Reading ---"});
    }

    // A function picked while the codes were read is kept; otherwise the pass moves on to
    // the keep-alive. A stop before the pass leaves everything untouched.
    void endOfPass_data() {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<int>("pickedMeanwhile");
        QTest::addColumn<int>("funccode");
        QTest::addColumn<int>("requests");
        QTest::newRow("ordinary") << false << 0 << 255 << 2;
        QTest::newRow("gauges picked meanwhile") << false << 250 << 250 << 2;
        QTest::newRow("stopped") << true << 0 << 254 << 0;
    }
    void endOfPass() {
        QFETCH(bool, stopped);
        QFETCH(int, pickedMeanwhile);
        QFETCH(int, funccode);
        SessionRig rig;
        rig.session.List5 = closed({"P0171" + gap + "232"});
        rig.session.stopflag = stopped;
        if (pickedMeanwhile) rig.clock.onYield = [&](double) { rig.session.funccode = qint16(pickedMeanwhile); };
        rig.pass(254);
        QCOMPARE(rig.session.funccode, qint16(funccode));
        QTEST(int(rig.port.lines.size()), "requests");
        QCOMPARE(rig.session.frame, Panel::D03);
        if (stopped) QCOMPARE(rig.session.List5, closed({"P0171" + gap + "232"}));
    }

    // ERASE ALL CODES waits for a running read to end, at most a second, before it asks.
    void eraseConfirmationWaitsForTheRead_data() {
        QTest::addColumn<int>("funccode");
        QTest::addColumn<double>("readEndsAfter");
        QTest::addColumn<double>("waited");
        QTest::newRow("idle") << 255 << -1.0 << 0.0;
        QTest::newRow("read ends in 0.3 s") << 254 << 0.3 << 0.3;
        QTest::newRow("nothing ends the read") << 254 << -1.0 << 1.0;
    }
    void eraseConfirmationWaitsForTheRead() {
        QFETCH(int, funccode);
        QFETCH(double, readEndsAfter);
        QFETCH(double, waited);
        SessionRig rig;
        rig.session.funccode = qint16(funccode);
        const double start = rig.clock.now();
        bool confirmSeenEarly = false;
        rig.clock.onYield = [&](double now) {
            confirmSeenEarly |= rig.session.dtc.confirmVisible;
            QVERIFY(!rig.session.dtc.eraseEnabled && !rig.session.dtc.saveEnabled);
            if (readEndsAfter >= 0 && now - start >= readEndsAfter) rig.session.funccode = 255;
        };
        rig.session.Command4_Click();
        QVERIFY(!confirmSeenEarly);
        QVERIFY(rig.session.dtc.confirmVisible);
        QVERIFY(!rig.session.dtc.eraseEnabled && !rig.session.dtc.saveEnabled);
        QVERIFY(qAbs(rig.clock.now() - start - waited) < 0.01);
        QVERIFY(rig.port.lines.isEmpty()); // nothing is sent from the click
    }

    // The freeze frame: an unanswered bit map request leaves the panel empty; a stop
    // during the read sends nothing more.
    void freezeFrameEdges_data() {
        QTest::addColumn<QByteArray>("bitmap");
        QTest::addColumn<bool>("stopAfterFirst");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("no answer") << QByteArray("NO DATA\r\r>") << false << 1 << QStringList{""};
        QTest::newRow("another controller")
            << QByteArray("7E9 06 42 00 00 7E 00 00 00\r\r>") << false << 1 << QStringList{""};
        QTest::newRow("all read") << QByteArray("7E8 07 42 00 00 60 00 00 00\r\r>") << false << 3
                                  << QStringList{"P0133   ", fuelSystemStatusText(1, 0)};
        QTest::newRow("stopped during the second")
            << QByteArray("7E8 07 42 00 00 70 00 00 00\r\r>") << true << 3 << QStringList{"P0133   ", ""};
    }
    void freezeFrameEdges() {
        QFETCH(QByteArray, bitmap);
        QFETCH(bool, stopAfterFirst);
        SessionRig rig;
        rig.codesFile({"P0133 O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)"});
        rig.session.freeze.rows[4] = {QStringLiteral("old"), QStringLiteral("old"), true};
        rig.answers["020000"] = bitmap;
        rig.answers["020200"] = "7E8 05 42 02 00 01 33\r\r>";
        rig.answers["020300"] = "7E8 05 42 03 00 01 00\r\r>";
        if (stopAfterFirst)
            rig.port.respond = [&rig](const QByteArray& line) {
                if (line == "020300") rig.session.stopflag = true;
                return rig.answers.value(line, "NO DATA\r\r>");
            };
        rig.pass(248);
        QTEST(int(rig.port.lines.size()), "requests");
        QCOMPARE(rig.session.funccode, qint16(255));
        QCOMPARE(rig.session.frame, Panel::D0200);
        QStringList shown;
        for (const FreezeFrameRow& row : rig.session.freeze.rows)
            if (row.visible) shown << row.value;
        QTEST(shown, "values");
    }
};

ZELCOR_TEST(CodesPassTest)
#include "codespass_test.moc"
