#include "config/settings.h"
#include "live/derived.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// Newest speed/time/RPM v0/t0/r0, oldest (four pushes earlier) v4/t4/r4.
LiveHistory history(double v0, double v4, double t0, double t4, double r0 = 0, double r4 = 0) {
    LiveHistory h;
    for (int i = 4; i >= 0; --i) { // the middle entries play no part
        h.pushSpeed(i == 4 ? v4 : i == 0 ? v0 : -1, i == 4 ? t4 : i == 0 ? t0 : -1);
        h.pushEngineSpeed(i == 4 ? r4 : i == 0 ? r0 : -1);
    }
    return h;
}

} // namespace

class DerivedTest : public QObject {
    Q_OBJECT
private slots:
    void power_data() {
        QTest::addColumn<double>("v0");
        QTest::addColumn<double>("t4");     // t0 is 102
        QTest::addColumn<double>("r0");     // r4 is 2000
        QTest::addColumn<QString>("shown"); // power and torque, at most the largest float
        QTest::newRow("accelerating") << 30.0 << 100.0 << 3000.0 << "46 96";
        QTest::newRow("slowing down") << 10.0 << 100.0 << 3000.0 << "0 0";
        QTest::newRow("no time span") << 30.0 << 102.0 << 3000.0 << "0 0";
        QTest::newRow("clock passed midnight") << 30.0 << 86399.0 << 3000.0 << "0 0";
        QTest::newRow("no RPM sum") << 30.0 << 100.0 << -2000.0 << "46 0";
        QTest::newRow("huge") << 1e150 << 100.0 << 3000.0
                              << "340282346638529000000000000000000000000 340282346638529000000000000000000000000";
        QTest::newRow("infinite") << 1e200 << 100.0 << 3000.0 << "0 0";
    }
    void power() {
        QFETCH(double, v0);
        QFETCH(double, t4);
        QFETCH(double, r0);
        const LiveHistory h = history(v0, 20, 102, t4, r0, 2000);
        QTEST(horsepowerText(h, 3000) + QLatin1Char(' ') + torqueText(h, 3000), "shown");
    }

    void historyNotYetFull() {
        LiveHistory h;
        h.pushSpeed(30, 50); // the older entries read as 0
        QCOMPARE(horsepowerText(h, 3000), QStringLiteral("3"));
    }

    // Fuel economy (in lb/min; 0 without air flow) and power, which needs only the speed,
    // feed the gauge on their dials of 60 MPG and 400 HP.
    void rows() {
        Settings s;
        s.vehicleWeight = 3000;
        s.poundsPerMinute = true;
        LiveHistory h = history(30, 20, 102, 100);
        h.latestAirFlow = 1.5;
        const DerivedRow economy = derivedRow(999, h, SeenFlags{true, true, false}, s);
        const DerivedRow power = derivedRow(998, h, SeenFlags{false, true, false}, s);
        QCOMPARE(economy.text + QLatin1Char(' ') + power.text, QStringLiteral("28.58 46"));
        QCOMPARE(economy.gauge->position, 28.58 / 60 * 100);
        QCOMPARE(power.gauge->position, 11.5);
        h.latestAirFlow = 0;
        QCOMPARE(derivedRow(999, h, SeenFlags{true, true, false}, s).text, QStringLiteral("0"));
    }
};

ZELCOR_TEST(DerivedTest)
#include "derived_test.moc"
