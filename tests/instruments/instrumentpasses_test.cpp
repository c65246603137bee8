#include "instruments/accelerationtest.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// One pass of a dial function (12 RPM, 13 speed) on the engine at 7E8 with this reply.
void dialPass(SessionRig& rig, int code, const QByteArray& reply) {
    rig.answers[code == 12 ? "010C" : "010D"] = reply;
    rig.pass(code);
}

} // namespace

class InstrumentPassesTest : public QObject {
    Q_OBJECT
private slots:
    void engineSpeed_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("readout");
        // Before each pass the tachometer shows 800 rpm.
        QTest::newRow("1A F8") << QByteArray("7E8 04 41 0C 1A F8\r\r>") << 1726.0 << "1726";
        QTest::newRow("FF FF is no negative value") << QByteArray("7E8 04 41 0C FF FF\r\r>") << 16384.0 << "16384";
        QTest::newRow("half an rpm rounds to even") << QByteArray("7E8 04 41 0C 00 02\r\r>") << 0.0 << "0";
        QTest::newRow("another controller") << QByteArray("7E9 04 41 0C 1A F8\r\r>") << 800.0 << "800";
        QTest::newRow("no data") << QByteArray("NO DATA\r\r>") << 800.0 << "800";
    }
    void engineSpeed() {
        QFETCH(QByteArray, reply);
        SessionRig rig;
        rig.session.RPM(800);
        dialPass(rig, 12, reply);
        QCOMPARE(rig.port.lines.last(), QByteArray("010C"));
        QCOMPARE(rig.session.frame, Panel::D012);
        QTEST(rig.session.instruments.rpmValue, "value");
        QTEST(rig.session.instruments.rpmReadout, "readout");
    }

    void speed_data() {
        QTest::addColumn<bool>("usemph");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("readout");
        QTest::addColumn<QString>("elapsed");
        // Before each pass the speedometer shows 40 km/h and a 0-to-60 test is armed.
        QTest::newRow("km/h") << false << QByteArray("7E8 03 41 0D 64\r\r>") << int(DialUnit::KPH) << 100.0 << "100"
                              << "0.0";
        QTest::newRow("100 km/h in mph") << true << QByteArray("7E8 03 41 0D 64\r\r>") << int(DialUnit::MPH) << 62.0
                                         << "62"
                                         << "0.0";
        QTest::newRow("another controller")
            << true << QByteArray("7E9 03 41 0D 64\r\r>") << int(DialUnit::KPH) << 40.0 << "40"
            << "Ready";
        QTest::newRow("no data") << false << QByteArray("NO DATA\r\r>") << int(DialUnit::KPH) << 40.0 << "40"
                                 << "Ready";
    }
    void speed() {
        QFETCH(bool, usemph);
        QFETCH(QByteArray, reply);
        QFETCH(QString, elapsed);
        SessionRig rig;
        rig.session.settings.usemph = usemph;
        rig.session.KPH(40);
        rig.session.Command10_Click();
        QVERIFY(rig.session.instruments.test.armed());
        dialPass(rig, 13, reply);
        QCOMPARE(rig.port.lines.last(), QByteArray("010D"));
        QCOMPARE(rig.session.frame, Panel::D013);
        QTEST(int(rig.session.instruments.speedUnit), "unit");
        QTEST(rig.session.instruments.speedValue, "value");
        QTEST(rig.session.instruments.speedReadout, "readout");
        QCOMPARE(rig.session.instruments.test.elapsedText(), elapsed);
        QCOMPARE(rig.session.instruments.test.armed(), elapsed == QLatin1String("Ready"));
    }

    // Speed samples at chosen times on the test clock, for a test from 1 to 97 km/h; a
    // late answer from another controller must neither end nor disturb the run.
    void timedRun() {
        SessionRig rig;
        rig.session.settings.usemph = false;
        rig.session.instruments.startText = QStringLiteral("0");
        rig.session.instruments.endText = QStringLiteral("97");
        rig.session.Command10_Click();
        QCOMPARE(rig.session.instruments.test.elapsedText(), QStringLiteral("Ready"));

        const double base = rig.clock.now() + 100.0;
        const QList<QPair<double, QByteArray>> samples = {
            {9.0, "7E8 03 41 0D 00"},  {9.5, "7E8 03 41 0D 00"},  {10.0, "7E8 03 41 0D 05"}, {12.0, "7E8 03 41 0D 32"},
            {16.9, "7E8 03 41 0D 5F"}, {17.1, "7E9 03 41 0D 62"}, {17.2, "7E8 03 41 0D 62"}, {18.0, "7E8 03 41 0D 64"},
        };
        QStringList shown;
        for (const auto& [t, reply] : samples) {
            QVERIFY(base + t > rig.clock.now());
            rig.clock.advance(base + t - rig.clock.now());
            dialPass(rig, 13, reply + "\r\r>");
            shown << rig.session.instruments.test.elapsedText();
        }
        QCOMPARE(shown, (QStringList{"Ready", "Ready", "0.0", "2.0", "6.9", "6.9", "7.2", "7.2"}));
        QCOMPARE(rig.session.instruments.test.spreadText(), QStringLiteral("0.3"));
        QVERIFY(!rig.session.instruments.test.running());
        QCOMPARE(rig.session.instruments.speedReadout, QStringLiteral("100"));
    }

    // A run that starts and ends within one sample takes no time at all.
    void startAndEndInOneSample() {
        AccelerationTest test;
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(20, 100.0);
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(60, 5000.0); // no sample below the end speed in this run
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.0"));
    }
};

ZELCOR_TEST(InstrumentPassesTest)
#include "instrumentpasses_test.moc"
