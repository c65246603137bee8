#include "instruments/accelerationtest.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class AccelerationTimerTest : public QObject {
    Q_OBJECT
private slots:
    void entries_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<bool>("usemph");
        QTest::addColumn<int>("startSpeed");
        QTest::addColumn<int>("endSpeed");
        QTest::newRow("0 to 60 mph") << "0"
                                     << "60" << true << 1 << 97;
        QTest::newRow("km/h as entered") << "20"
                                         << "300" << false << 20 << 255;
        QTest::newRow("not numbers") << "abc"
                                     << "" << false << 1 << 0;
        QTest::newRow("absurd entries") << "-5"
                                        << "99999999" << true << 1 << 255;
    }
    void entries() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, usemph);
        AccelerationTest test;
        test.arm(start, end, usemph);
        QCOMPARE(test.elapsedText(), QStringLiteral("Ready"));
        QTEST(test.startSpeed(), "startSpeed");
        QTEST(test.endSpeed(), "endSpeed");
    }

    void timedRun() {
        AccelerationTest test;
        test.arm(QStringLiteral("0"), QStringLiteral("60"), true);
        test.sample(0, 9.0);
        QCOMPARE(test.elapsedText(), QStringLiteral("Ready"));
        test.sample(5, 10.0);
        test.sample(50, 13.4);
        test.sample(95, 16.9);
        QCOMPARE(test.elapsedText(), QStringLiteral("6.9"));
        test.sample(98, 17.2);
        QCOMPARE(test.elapsedText(), QStringLiteral("7.2"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.3"));
        test.sample(120, 20.0); // the test is over: the result stays
        QCOMPARE(test.elapsedText(), QStringLiteral("7.2"));
        QVERIFY(!test.running() && !test.armed());
    }

    void startAndEndInOneSample() {
        AccelerationTest test;
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(20, 100.0);
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(60, 5000.0); // no sample below the end speed in this run
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.0"));
    }

    void replyValues() {
        QCOMPARE(engineSpeed(QStringLiteral("0704E8410C1AF8")), 1726);
        QCOMPARE(engineSpeed(QStringLiteral("0704E8410CFFFF")), 16384); // unsigned
        QCOMPARE(engineSpeed(QStringLiteral("0704E8410C0002")), 0);     // 0.5: halves to even
        QCOMPARE(vehicleSpeed(QStringLiteral("0703E8410D64")), 100);
        QCOMPARE(speedNeedleValue(100, true), 62);
        QCOMPARE(speedNeedleValue(100, false), 100);
    }
};

ZELCOR_TEST(AccelerationTimerTest)
#include "accelerationtest_test.moc"
