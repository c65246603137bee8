#include "live/chaninfo.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

Settings unitSettings(bool imperial) {
    Settings s;
    s.usemph = s.uselbmin = s.usedegf = s.usepsi = imperial;
    return s;
}

} // namespace

class ChanInfoTest : public QObject {
    Q_OBJECT
private slots:
    void rows_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("units");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("tick");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("fuel economy") << 999 << true << "Fuel Economy"
                                      << "MPG" << 0.0 << 60.0 << 5.0 << 10.0 << 1;
        QTest::newRow("torque") << 997 << false << "Torque (experimental)"
                                << "FtLb" << 0.0 << 400.0 << 10.0 << 50.0 << 0;
        QTest::newRow("fuel status is text") << 3 << true << "Fuel System Status"
                                             << "" << 0.0 << 16.0 << 1.0 << 1.0 << -1;
        QTest::newRow("coolant F") << 5 << true << "Engine Coolant Temp"
                                   << "deg F" << -40.0 << 310.0 << 5.0 << 20.0 << 1;
        QTest::newRow("coolant C") << 5 << false << "Engine Coolant Temp"
                                   << "deg C" << -40.0 << 215.0 << 5.0 << 20.0 << 1;
        QTest::newRow("fuel pressure kPa") << 10 << false << "Fuel Pressure"
                                           << "kPaG" << 0.0 << 765.0 << 10.0 << 50.0 << 0;
        QTest::newRow("manifold inHg") << 11 << true << "Intake Manifold Pres"
                                       << "inHg" << 0.0 << 75.0 << 2.0 << 10.0 << 1;
        QTest::newRow("RPM imperial") << 12 << true << "RPM"
                                      << "1/min" << 0.0 << 8000.0 << 2.0 << 10.0 << 0;
        QTest::newRow("RPM metric") << 12 << false << "RPM"
                                    << "1/min" << 0.0 << 8000.0 << 2.0 << 10.0 << 0;
        QTest::newRow("speed MPH") << 13 << true << "Speed"
                                   << "MPH" << 0.0 << 158.5 << 5.0 << 10.0 << 0;
        QTest::newRow("speed km/h") << 13 << false << "Speed"
                                    << "km/h" << 0.0 << 255.0 << 5.0 << 20.0 << 0;
        QTest::newRow("intake F") << 15 << true << "Intake Air Temp"
                                  << "deg F" << -40.0 << 200.0 << 5.0 << 20.0 << 1;
        QTest::newRow("MAF lb/min") << 16 << true << "MAF Air Flow"
                                    << "lb/min" << 0.0 << 43.35 << 2.0 << 10.0 << 2;
        QTest::newRow("MAF g/s") << 16 << false << "MAF Air Flow"
                                 << "gm/sec" << 0.0 << 327.675 << 10.0 << 50.0 << 2;
        QTest::newRow("O2 voltage two lines") << 21 << true << "O2S Voltage\r\nBank 1 Sensor 2"
                                              << "V" << 0.0 << 1.275 << 0.05 << 0.1 << 1;
        QTest::newRow("O2 voltage bank 2") << 27 << true << "O2S Voltage\r\nBank 2 Sensor 4"
                                           << "V" << 0.0 << 1.275 << 0.05 << 0.1 << 1;
        QTest::newRow("wideband first family") << 40 << true << "Wideband O2S5 Lambda"
                                               << "-" << 0.0 << 2.0 << 0.05 << 0.1 << 3;
        QTest::newRow("wideband second family") << 55 << false << "Wideband O2S4 Lambda"
                                                << "-" << 0.0 << 2.0 << 0.05 << 0.1 << 3;
        QTest::newRow("diesel pressure has no name") << 35 << true << ""
                                                     << "%" << 0.0 << 100.0 << 5.0 << 10.0 << 0;
        QTest::newRow("EGR error") << 45 << true << "EGR Error"
                                   << "%" << -100.0 << 100.0 << 5.0 << 10.0 << 0;
        QTest::newRow("baro inHg even in kPa") << 51 << false << "Baro press"
                                               << "inHg" << 0.0 << 0.0 << 5.0 << 10.0 << 0;
        QTest::newRow("last PID") << 63 << true << ""
                                  << "%" << 0.0 << 100.0 << 5.0 << 10.0 << 0;
    }
    void rows() {
        QFETCH(int, code);
        QFETCH(bool, imperial);
        ChannelInfo info;
        QVERIFY(chaninfo(code, unitSettings(imperial), info));
        QTEST(info.name, "name");
        QTEST(info.units, "units");
        QTEST(info.minimum, "minimum");
        QTEST(info.maximum, "maximum");
        QTEST(info.tick, "tick");
        QTEST(info.step, "step");
        QTEST(info.decimals, "decimals");
    }

    void noRowLeavesOutputs_data() {
        QTest::addColumn<int>("code");
        for (int code : {0, 1, 2, 18, 19, 64, 996, 1000, -5})
            QTest::newRow(qPrintable(QString::number(code))) << code;
    }
    void noRowLeavesOutputs() {
        QFETCH(int, code);
        const ChannelInfo before{QStringLiteral("n"), QStringLiteral("u"), 1, 2, 3, 4, 5};
        ChannelInfo info = before;
        QVERIFY(!chaninfo(code, Settings{}, info));
        QCOMPARE(info.name, before.name);
        QCOMPARE(info.units, before.units);
        QCOMPARE(info.minimum, before.minimum);
        QCOMPARE(info.maximum, before.maximum);
        QCOMPARE(info.tick, before.tick);
        QCOMPARE(info.step, before.step);
        QCOMPARE(info.decimals, before.decimals);
    }
};

ZELCOR_TEST(ChanInfoTest)
#include "chaninfo_test.moc"
