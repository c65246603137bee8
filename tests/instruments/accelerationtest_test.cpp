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
                                         << "100" << false << 20 << 100;
        QTest::newRow("end above 255") << "0"
                                       << "300" << false << 1 << 255;
        QTest::newRow("not numbers") << "abc"
                                     << "" << false << 1 << 0;
        QTest::newRow("negative start") << "-5"
                                        << "60" << false << 1 << 60;
        QTest::newRow("absurd end") << "10"
                                    << "99999999" << true << 16 << 255;
    }
    void entries() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(bool, usemph);
        QFETCH(int, startSpeed);
        QFETCH(int, endSpeed);
        AccelerationTest test;
        test.arm(start, end, usemph);
        QCOMPARE(test.elapsedText(), QStringLiteral("Ready"));
        QVERIFY(test.armed());
        QCOMPARE(test.startSpeed(), startSpeed);
        QCOMPARE(test.endSpeed(), endSpeed);
    }

    void timedRun() {
        AccelerationTest test;
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        test.sample(50, 1.0); // not armed: nothing happens
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));

        test.arm(QStringLiteral("0"), QStringLiteral("60"), true);
        test.sample(0, 9.0);
        test.sample(0, 9.5);
        QCOMPARE(test.elapsedText(), QStringLiteral("Ready"));
        test.sample(5, 10.0);
        QVERIFY(test.running());
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        test.sample(50, 13.4);
        test.sample(95, 16.9);
        QCOMPARE(test.elapsedText(), QStringLiteral("6.9"));
        test.sample(98, 17.2);
        QCOMPARE(test.elapsedText(), QStringLiteral("7.2"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.3"));
        QVERIFY(!test.running() && !test.armed());
        test.sample(120, 20.0); // the result stays
        QCOMPARE(test.elapsedText(), QStringLiteral("7.2"));

        test.arm(QStringLiteral("0"), QStringLiteral("60"), true); // Reset/Arm restarts
        QCOMPARE(test.elapsedText(), QStringLiteral("Ready"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.3"));
    }

    void startAndEndInOneSample() {
        AccelerationTest test;
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(20, 100.0);
        test.sample(40, 101.0);
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(60, 5000.0); // no sample below the end speed in this run
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.0"));
        QVERIFY(!test.running());
    }

    void replyValues_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("rpm");
        QTest::newRow("1A F8") << "0704E8410C1AF8" << 1726;
        QTest::newRow("FF FF unsigned") << "0704E8410CFFFF" << 16384;
        QTest::newRow("half to even down") << "0704E8410C0002" << 0;
        QTest::newRow("half to even up") << "0704E8410C0006" << 2;
    }
    void replyValues() {
        QFETCH(QString, reply);
        QFETCH(int, rpm);
        QCOMPARE(engineSpeed(reply), rpm);
    }

    void speedNeedle() {
        QCOMPARE(vehicleSpeed(QStringLiteral("0703E8410D64")), 100);
        QCOMPARE(speedNeedleValue(100, true), 62);
        QCOMPARE(speedNeedleValue(100, false), 100);
        QCOMPARE(speedNeedleValue(255, true), 158);
    }
};

ZELCOR_TEST(AccelerationTimerTest)
#include "accelerationtest_test.moc"
