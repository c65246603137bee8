#include "live/derived.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// A history whose newest speed/time/RPM is v0/t0/r0 and oldest (four pushes earlier) v4/t4/r4.
LiveHistory history(double v0, double v4, double t0, double t4, double r0 = 0, double r4 = 0) {
    LiveHistory h;
    h.pushSpeed(v4, t4);
    h.pushRpm(r4);
    for (int i = 0; i < 3; ++i) {
        h.pushSpeed(-1, -1); // middle entries play no part
        h.pushRpm(-1);
    }
    h.pushSpeed(v0, t0);
    h.pushRpm(r0);
    return h;
}

constexpr SeenFlags kAllSeen{true, true, true};

} // namespace

class DerivedTest : public QObject {
    Q_OBJECT
private slots:
    void historyPush() {
        History h;
        QVERIFY(h.isEmpty(0));
        QCOMPARE(h.at(4), 0.0);
        for (int i = 1; i <= 6; ++i)
            h.push(i);
        QCOMPARE(h.at(0), 6.0); // newest first
        QCOMPARE(h.at(4), 2.0); // 1 was dropped
        QVERIFY(!h.isEmpty(4));
        QCOMPARE(h.at(5), 0.0);
        QCOMPARE(h.at(-1), 0.0);
    }

    void fuelEconomy_data() {
        QTest::addColumn<bool>("lbmin");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("maf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("position");
        QTest::newRow("lb/min") << true << 60.0 << 1.5 << "57.16" << 57.16 / 60 * 100;
        QTest::newRow("g/s") << false << 60.0 << 10.0 << "64.82" << 64.82 / 60 * 100;
        QTest::newRow("no air flow") << true << 60.0 << 0.0 << "0" << 0.0;
        QTest::newRow("standing") << false << 0.0 << 3.0 << ".0" << 0.0;
        QTest::newRow("under one") << true << 1.0 << 2.0 << ".71" << 0.71 / 60 * 100;
    }
    void fuelEconomy() {
        QFETCH(bool, lbmin);
        QFETCH(double, speed);
        QFETCH(double, maf);
        QFETCH(QString, text);
        QFETCH(double, position);
        LiveHistory h;
        h.pushSpeed(speed, 100);
        h.maflatest = maf;
        QCOMPARE(fuelEconomyText(h, lbmin), text);
        const DerivedRow row = fuelEconomyRow(h, kAllSeen, lbmin);
        QCOMPARE(row.text, text);
        QVERIFY(row.gauge.has_value());
        QCOMPARE(row.gauge->position, position);
        QCOMPARE(row.gauge->value, text.toDouble());
        QCOMPARE(row.gauge->decimals, 2);
    }

    void power_data() {
        QTest::addColumn<double>("weight");
        QTest::addColumn<double>("v0");
        QTest::addColumn<double>("v4");
        QTest::addColumn<double>("t0");
        QTest::addColumn<double>("t4");
        QTest::addColumn<double>("r0");
        QTest::addColumn<double>("r4");
        QTest::addColumn<QString>("hp");
        QTest::addColumn<QString>("torque");
        QTest::newRow("accelerating") << 3000.0 << 30.0 << 20.0 << 102.0 << 100.0 << 3000.0 << 2000.0 << "46"
                                      << "96";
        QTest::newRow("slowing down") << 3000.0 << 20.0 << 30.0 << 102.0 << 100.0 << 3000.0 << 2000.0 << "0"
                                      << "0";
        QTest::newRow("no time span") << 3000.0 << 30.0 << 20.0 << 100.0 << 100.0 << 3000.0 << 2000.0 << "0"
                                      << "0";
        QTest::newRow("clock passed midnight") << 3000.0 << 30.0 << 20.0 << 1.0 << 86399.0 << 3000.0 << 2000.0 << "0"
                                               << "0";
        QTest::newRow("no RPM") << 3000.0 << 30.0 << 20.0 << 102.0 << 100.0 << 0.0 << 0.0 << "46"
                                << "0";
        QTest::newRow("no weight") << 0.0 << 30.0 << 20.0 << 102.0 << 100.0 << 3000.0 << 2000.0 << "0"
                                   << "0";
    }
    void power() {
        QFETCH(double, weight);
        QFETCH(double, v0);
        QFETCH(double, v4);
        QFETCH(double, t0);
        QFETCH(double, t4);
        QFETCH(double, r0);
        QFETCH(double, r4);
        const LiveHistory h = history(v0, v4, t0, t4, r0, r4);
        QTEST(horsepowerText(h, weight), "hp");
        QTEST(torqueText(h, weight), "torque");
    }

    void historyNotYetFull() {
        // After one speed sample the oldest entries read as 0: a small, non-zero power.
        LiveHistory h;
        h.pushSpeed(30, 50);
        QCOMPARE(horsepowerText(h, 3000), QStringLiteral("3"));
        QCOMPARE(torqueText(h, 3000), QStringLiteral("0")); // no RPM yet
    }

    void hints_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("maf");
        QTest::addColumn<bool>("speed");
        QTest::addColumn<bool>("rpm");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fed");
        QTest::newRow("MPG without MAF") << 999 << false << true << true << "Enable Speed and MAF above for MPG"
                                         << false;
        QTest::newRow("MPG without speed")
            << 999 << true << false << true << "Enable Speed and MAF above for MPG" << false;
        QTest::newRow("MPG") << 999 << true << true << false << "64.82" << true;
        QTest::newRow("HP without speed") << 998 << true << false << true << "Enable Speed above to view HP" << false;
        QTest::newRow("HP needs only speed") << 998 << false << true << false << "46" << true;
        QTest::newRow("torque without RPM")
            << 997 << true << true << false << "Enable Speed and RPM above for Torque" << false;
        QTest::newRow("torque without speed")
            << 997 << true << false << true << "Enable Speed and RPM above for Torque" << false;
        QTest::newRow("torque") << 997 << false << true << true << "96" << true;
        QTest::newRow("not derived") << 12 << true << true << true << "" << false;
    }
    void hints() {
        QFETCH(int, code);
        QFETCH(bool, maf);
        QFETCH(bool, speed);
        QFETCH(bool, rpm);
        QFETCH(QString, text);
        QFETCH(bool, fed);
        LiveHistory h = history(30, 20, 102, 100, 3000, 2000);
        if (code == 999) {
            h = LiveHistory();
            h.pushSpeed(60, 100);
        }
        h.maflatest = 10;
        Settings s;
        s.uselbmin = false;
        s.vehicleweight = 3000;
        const DerivedRow row = derivedRow(code, h, SeenFlags{maf, speed, rpm}, s);
        QCOMPARE(row.text, text);
        QCOMPARE(row.gauge.has_value(), fed);
    }

    void powerGaugeFeed() {
        const DerivedRow hp = horsepowerRow(history(30, 20, 102, 100), kAllSeen, 3000);
        QVERIFY(hp.gauge.has_value());
        QCOMPARE(hp.gauge->position, 11.5); // the shown 46, not 45.83, on a 400 dial
        QCOMPARE(hp.gauge->value, 46.0);
        QCOMPARE(hp.gauge->decimals, 0);
    }
};

ZELCOR_TEST(DerivedTest)
#include "derived_test.moc"
