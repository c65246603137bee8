#include "live/gaugescale.h"
#include "testmain.h"

#include <QLineF>
#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

Settings unitSettings(bool imperial) {
    Settings s;
    s.usemph = s.uselbmin = s.usedegf = s.usepsi = imperial;
    return s;
}

GaugeScale plainScale(double minimum, double maximum, double tick, double step, int decimals) {
    return GaugeScale{QString(), QString(), minimum, maximum, tick, step, decimals};
}

bool near(double a, double b) {
    return std::fabs(a - b) < 1e-9;
}

} // namespace

Q_DECLARE_METATYPE(zelcor::GaugeScale)

class GaugeScaleTest : public QObject {
    Q_OBJECT
private slots:
    void table_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("units");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("tick");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("decimals");
        QTest::newRow("fuel economy") << 999 << true << "Fuel Economy"
                                      << "MPG" << 60.0 << 5.0 << 10.0 << 0;
        QTest::newRow("RPM in tens") << 12 << false << "RPM"
                                     << "x10/min" << 100.0 << 2.0 << 10.0 << 0;
        QTest::newRow("speed MPH") << 13 << true << "Speed"
                                   << "MPH" << 158.5 << 5.0 << 10.0 << 0;
        QTest::newRow("speed km/h") << 13 << false << "Speed"
                                    << "km/h" << 255.0 << 5.0 << 20.0 << 0;
        QTest::newRow("coolant C") << 5 << false << "Engine Coolant Temp"
                                   << "deg C" << 215.0 << 5.0 << 20.0 << 0;
        QTest::newRow("manifold kPa") << 11 << false << "Manifold Pressure"
                                      << "kPaG" << 255.0 << 10.0 << 50.0 << 0;
        QTest::newRow("MAF lb/min") << 16 << true << "MAF Air Flow"
                                    << "lb/min" << 43.35 << 2.0 << 10.0 << 0;
        QTest::newRow("MAF g/s") << 16 << false << "MAF Air Flow"
                                 << "gm/sec" << 327.675 << 10.0 << 50.0 << 0;
        QTest::newRow("diesel psi") << 35 << true << "Fuel Pres Diesel"
                                    << "psiG" << 111.0 << 2.0 << 10.0 << 0;
        QTest::newRow("fuel level") << 47 << true << "Fuel Level Input"
                                    << "%" << 100.0 << 5.0 << 10.0 << 0;
        QTest::newRow("O2 voltage") << 21 << true << "O2S Voltage\nBank 1 Sensor 2"
                                    << "V" << 1.275 << 0.05 << 0.1 << 1;
        QTest::newRow("wideband") << 40 << true << "Wideband\nO2S5 Lambda"
                                  << "-" << 2.0 << 0.1 << 0.2 << 1;
        QTest::newRow("wideband second family") << 59 << false << "Wideband\nO2S8 Lambda"
                                                << "-" << 2.0 << 0.1 << 0.2 << 1;
    }
    void table() {
        QFETCH(int, code);
        QFETCH(bool, imperial);
        const std::optional<GaugeScale> s = gaugeScale(code, unitSettings(imperial));
        QVERIFY(s.has_value());
        QTEST(s->name, "name");
        QTEST(s->units, "units");
        QTEST(s->maximum, "maximum");
        QTEST(s->tick, "tick");
        QTEST(s->step, "step");
        QTEST(s->decimals, "decimals");
    }

    void noGauge_data() {
        QTest::addColumn<int>("code");
        for (int code : {0, 1, 3, 18, 19, 28, 33, 48, 60, 996})
            QTest::newRow(qPrintable(QString::number(code))) << code;
    }
    void noGauge() {
        QFETCH(int, code);
        QVERIFY(!gaugeScale(code, Settings{}).has_value());
    }

    void dial_data() {
        QTest::addColumn<GaugeScale>("scale");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("0..60 by 5") << plainScale(0, 60, 5, 10, 0) << 13
                                    << QStringList{"0", "10", "20", "30", "40", "50", "60"};
        QTest::newRow("-100..100") << plainScale(-100, 100, 10, 20, 0) << 21
                                   << QStringList{"-100", "-80", "-60", "-40", "-20", "0",
                                                  "20",   "40",  "60",  "80",  "100"};
        QTest::newRow("span not a tick multiple")
            << plainScale(-64, 63.5, 2, 10, 0) << 64
            << QStringList{"-60", "-50", "-40", "-30", "-20", "-10", "0", "10", "20", "30", "40", "50", "60"};
        QTest::newRow("O2 volts") << plainScale(0, 1.275, 0.05, 0.1, 1) << 26
                                  << QStringList{"0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6",
                                                 "0.7", "0.8", "0.9", "1.0", "1.1", "1.2"};
        QTest::newRow("inexact tick") << plainScale(0, 0.6, 0.05, 0.1, 1) << 13
                                      << QStringList{"0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6"};
        QTest::newRow("MAF lb/min") << plainScale(0, 43.35, 2, 10, 0) << 22 << QStringList{"0", "10", "20", "30", "40"};
        QTest::newRow("no span") << plainScale(0, 0, 5, 10, 0) << 0 << QStringList{};
        QTest::newRow("no tick") << plainScale(0, 60, 0, 10, 0) << 0 << QStringList{};
        QTest::newRow("no label step") << plainScale(0, 10, 5, 0, 0) << 3 << QStringList{};
    }
    void dial() {
        QFETCH(GaugeScale, scale);
        QFETCH(int, ticks);
        QFETCH(QStringList, labels);
        const GaugeDial g = gaugeDial(scale, 100, false);
        QCOMPARE(int(g.ticks.size()), ticks);
        QStringList texts;
        for (const GaugeLabel& l : g.labels)
            texts.append(l.text);
        QCOMPARE(texts, labels);
    }

    void dialAngles() {
        const GaugeDial g = gaugeDial(plainScale(0, 60, 5, 10, 0), 100, false);
        QCOMPARE(g.needleLength, 92.0);
        for (size_t k = 0; k < g.ticks.size(); ++k) {
            const GaugeTick& t = g.ticks[k];
            QVERIFY(near(t.angle, k * 5.0 / 12 - 4.07));
            QCOMPARE(t.outer, 99.0);
            const bool labelled = k % 2 == 0;
            QCOMPARE(t.width, labelled ? 3 : 1);
            QCOMPARE(t.inner, labelled ? 87.0 : 92.0);
        }
        QVERIFY(near(g.ticks.back().angle, 5 - 4.07));
        QVERIFY(near(g.labels[1].angle, g.ticks[2].angle));
        QVERIFY(near(g.labels[1].radius, 0.85 * 0.87 * 100));
        QCOMPARE(g.labels[1].fontSize, 10);
        QCOMPARE(gaugeDial(plainScale(0, 60, 5, 10, 0), 100, true).labels[0].fontSize, 14);
    }

    void zeroAtTopOfSymmetricScale() {
        const GaugeDial g = gaugeDial(plainScale(-100, 100, 10, 20, 0), 100, false);
        QCOMPARE(g.labels[5].text, QStringLiteral("0"));
        QVERIFY(near(g.labels[5].angle, gaugeAngle(50)));
    }

    void labelsAreLimited() {
        const GaugeDial g = gaugeDial(plainScale(0, 100, 1, 1, 0), 100, false);
        QCOMPARE(int(g.ticks.size()), 101);
        QCOMPARE(int(g.labels.size()), kMaxGaugeLabels);
        QCOMPARE(g.ticks.back().width, 3); // labelled even without a label left
    }

    void needle() {
        const QPointF c(200, 200);
        const QPointF up = gaugeNeedleEnd(c, 100, 50);
        QVERIFY(std::fabs(up.x() - 200) < 0.1); // 4.07 is not exactly pi/2 + 2.5
        QVERIFY(near(up.y(), 200 + 100 * std::sin(2.5 - 4.07)));
        QVERIFY(up.y() < 100.1);
        const QPointF low = gaugeNeedleEnd(c, 100, 0);
        const QPointF high = gaugeNeedleEnd(c, 100, 100);
        QVERIFY(low.x() < 200 && low.y() > 200);   // lower left
        QVERIFY(high.x() > 200 && high.y() > 200); // lower right
        // Both ends lie 2.5 radians from the top, the scale's axis of symmetry.
        QVERIFY(near(QLineF(low, up).length(), QLineF(high, up).length()));
        QVERIFY(std::fabs(low.y() - high.y()) < 0.5);
    }

    void bar_data() {
        QTest::addColumn<double>("percent");
        QTest::addColumn<double>("twips");
        QTest::addColumn<double>("pixels");
        QTest::newRow("full") << 100.0 << 3585.0 << 239.0;
        QTest::newRow("zero") << 0.0 << 0.0 << 0.0;
        QTest::newRow("below the scale") << -5.0 << 0.0 << 0.0;
    }
    void bar() {
        QFETCH(double, percent);
        QTEST(barWidthTwips(percent), "twips");
        QTEST(barWidthPixels(percent), "pixels");
    }

    void digital_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("decplaces"); // -100: not given
        QTest::addColumn<QString>("text");
        QTest::newRow("two") << 12.345 << 2 << "12.35";
        QTest::newRow("not given") << 12.345 << -100 << "12";
        QTest::newRow("too many") << 3.2 << 7 << "3";
        QTest::newRow("zero") << 3.5 << 0 << "4";
        QTest::newRow("negative count") << 3.2 << -1 << "3";
        QTest::newRow("five") << 1.0 << 5 << "1.00000";
        QTest::newRow("negative value") << -0.25 << 1 << "-0.3";
    }
    void digital() {
        QFETCH(double, x);
        QFETCH(int, decplaces);
        QFETCH(QString, text);
        QCOMPARE(decplaces == -100 ? digitalText(x) : digitalText(x, decplaces), text);
    }
};

ZELCOR_TEST(GaugeScaleTest)
#include "gaugescale_test.moc"
