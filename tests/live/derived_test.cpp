#include "live/derived.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// Newest speed/time/RPM v0/t0/r0, oldest (four pushes earlier) v4/t4/r4.
LiveHistory history(double v0, double v4, double t0, double t4, double r0 = 0, double r4 = 0) {
    LiveHistory h;
    h.pushSpeed(v4, t4);
    h.pushRpm(r4);
    for (int i = 0; i < 3; ++i) { // the middle entries play no part
        h.pushSpeed(-1, -1);
        h.pushRpm(-1);
    }
    h.pushSpeed(v0, t0);
    h.pushRpm(r0);
    return h;
}

} // namespace

Q_DECLARE_METATYPE(zelcor::SeenFlags)

class DerivedTest : public QObject {
    Q_OBJECT
private slots:
    void fuelEconomy_data() {
        QTest::addColumn<bool>("lbmin");
        QTest::addColumn<double>("maf");
        QTest::addColumn<QString>("text");
        QTest::newRow("lb/min") << true << 1.5 << "57.16";
        QTest::newRow("g/s") << false << 10.0 << "64.82";
        QTest::newRow("no air flow") << true << 0.0 << "0";
    }
    void fuelEconomy() {
        QFETCH(bool, lbmin);
        QFETCH(double, maf);
        QFETCH(QString, text);
        LiveHistory h;
        h.pushSpeed(60, 100);
        h.maflatest = maf;
        const DerivedRow row = fuelEconomyRow(h, SeenFlags{true, true, false}, lbmin);
        QCOMPARE(row.text, text);
        QCOMPARE(row.gauge->value, text.toDouble());
        QCOMPARE(row.gauge->position, text.toDouble() / 60 * 100);
        QCOMPARE(row.gauge->decimals, 2);
    }

    void power_data() {
        QTest::addColumn<double>("weight");
        QTest::addColumn<double>("v0");
        QTest::addColumn<double>("t4"); // t0 is 102
        QTest::addColumn<double>("r0"); // r4 is 2000
        QTest::addColumn<QString>("hp");
        QTest::addColumn<QString>("torque");
        QTest::newRow("accelerating") << 3000.0 << 30.0 << 100.0 << 3000.0 << "46"
                                      << "96";
        QTest::newRow("slowing down") << 3000.0 << 10.0 << 100.0 << 3000.0 << "0"
                                      << "0";
        QTest::newRow("no time span") << 3000.0 << 30.0 << 102.0 << 3000.0 << "0"
                                      << "0";
        QTest::newRow("clock passed midnight") << 3000.0 << 30.0 << 86399.0 << 3000.0 << "0"
                                               << "0";
        QTest::newRow("no RPM sum") << 3000.0 << 30.0 << 100.0 << -2000.0 << "46"
                                    << "0";
    }
    void power() {
        QFETCH(double, weight);
        QFETCH(double, v0);
        QFETCH(double, t4);
        QFETCH(double, r0);
        const LiveHistory h = history(v0, 20, 102, t4, r0, 2000);
        QTEST(horsepowerText(h, weight), "hp");
        QTEST(torqueText(h, weight), "torque");
    }

    void historyNotYetFull() {
        LiveHistory h;
        h.pushSpeed(30, 50); // the older entries read as 0
        QCOMPARE(horsepowerText(h, 3000), QStringLiteral("3"));
    }

    void rows_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<SeenFlags>("seen");
        QTest::addColumn<QString>("text");
        QTest::newRow("MPG without MAF") << 999 << SeenFlags{false, true, true} << "Enable Speed and MAF above for MPG";
        QTest::newRow("HP without speed") << 998 << SeenFlags{true, false, true} << "Enable Speed above to view HP";
        QTest::newRow("HP needs only speed") << 998 << SeenFlags{false, true, false} << "46";
        QTest::newRow("torque without RPM")
            << 997 << SeenFlags{true, true, false} << "Enable Speed and RPM above for Torque";
        QTest::newRow("torque") << 997 << SeenFlags{false, true, true} << "96";
        QTest::newRow("not derived") << 12 << SeenFlags{true, true, true} << "";
    }
    void rows() {
        QFETCH(int, code);
        QFETCH(SeenFlags, seen);
        QFETCH(QString, text);
        Settings s;
        s.vehicleweight = 3000;
        const DerivedRow row = derivedRow(code, history(30, 20, 102, 100, 3000, 2000), seen, s);
        QCOMPARE(row.text, text);
        const bool fed = !text.isEmpty() && text.front().isDigit();
        QCOMPARE(row.gauge.has_value(), fed);
        if (fed && code == 998) QCOMPARE(row.gauge->position, 11.5); // the shown 46 on a 400 dial
    }
};

ZELCOR_TEST(DerivedTest)
#include "derived_test.moc"
