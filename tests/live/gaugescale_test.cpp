#include "live/gaugescale.h"
#include "testmain.h"

#include <QLineF>
#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

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
    void table() {
        Settings metric;
        metric.usemph = metric.uselbmin = metric.usedegf = metric.usepsi = false;
        const GaugeScale rpm = gaugeScale(12, metric).value();
        QCOMPARE(rpm.units, QStringLiteral("x10/min"));
        QCOMPARE(rpm.maximum, 100.0);
        QCOMPARE(gaugeScale(13, metric)->step, 20.0);
        QCOMPARE(gaugeScale(13, Settings{})->maximum, 158.5);
        QCOMPARE(gaugeScale(16, metric)->maximum, 327.675);
        QCOMPARE(gaugeScale(21, metric)->name, QStringLiteral("O2S Voltage\nBank 1 Sensor 2"));
        QCOMPARE(gaugeScale(59, metric)->name, QStringLiteral("Wideband\nO2S8 Lambda"));
        for (int code : {0, 3, 18, 33, 48, 60, 996})
            QVERIFY(!gaugeScale(code, metric).has_value());
    }

    void dial_data() {
        QTest::addColumn<GaugeScale>("scale");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("0..60 by 5") << plainScale(0, 60, 5, 10, 0) << 13
                                    << QStringList{"0", "10", "20", "30", "40", "50", "60"};
        QTest::newRow("span not a tick multiple")
            << plainScale(-64, 63.5, 2, 10, 0) << 64
            << QStringList{"-60", "-50", "-40", "-30", "-20", "-10", "0", "10", "20", "30", "40", "50", "60"};
        QTest::newRow("inexact tick") << plainScale(0, 0.6, 0.05, 0.1, 1) << 13
                                      << QStringList{"0.0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6"};
        QTest::newRow("no span") << plainScale(5, 5, 5, 10, 0) << 0 << QStringList{};
        QTest::newRow("no tick") << plainScale(0, 60, 0, 10, 0) << 0 << QStringList{};
        QTest::newRow("no label step") << plainScale(0, 10, 5, 0, 0) << 3 << QStringList{};
    }
    void dial() {
        QFETCH(GaugeScale, scale);
        QFETCH(QStringList, labels);
        const GaugeDial g = gaugeDial(scale, 100, false);
        QTEST(int(g.ticks.size()), "ticks");
        QStringList texts;
        for (const GaugeLabel& l : g.labels)
            texts.append(l.text);
        QCOMPARE(texts, labels);
    }

    void dialGeometry() {
        const GaugeDial g = gaugeDial(plainScale(0, 60, 5, 10, 0), 100, false);
        QCOMPARE(g.needleLength, 92.0);
        for (size_t k = 0; k < g.ticks.size(); ++k) {
            const bool labelled = k % 2 == 0;
            QVERIFY(near(g.ticks[k].angle, k * 5.0 / 12 - 4.07));
            QCOMPARE(g.ticks[k].inner, labelled ? 87.0 : 92.0);
            QCOMPARE(g.ticks[k].width, labelled ? 3 : 1);
        }
        QVERIFY(near(g.labels[1].angle, g.ticks[2].angle));
        QVERIFY(near(g.labels[1].radius, 0.85 * 0.87 * 100));
        QCOMPARE(gaugeDial(plainScale(0, 60, 5, 10, 0), 100, true).labels[0].fontSize, 14);

        const GaugeDial symmetric = gaugeDial(plainScale(-100, 100, 10, 20, 0), 100, false);
        QCOMPARE(symmetric.labels[5].text, QStringLiteral("0"));
        QVERIFY(near(symmetric.labels[5].angle, gaugeAngle(50))); // 0 at the top

        const GaugeDial crowded = gaugeDial(plainScale(0, 100, 1, 1, 0), 100, false);
        QCOMPARE(int(crowded.labels.size()), kMaxGaugeLabels);
    }

    void needleAndBar() {
        const QPointF c(200, 200);
        const QPointF up = gaugeNeedleEnd(c, 100, 50);
        const QPointF low = gaugeNeedleEnd(c, 100, 0);
        const QPointF high = gaugeNeedleEnd(c, 100, 100);
        QVERIFY(std::fabs(up.x() - 200) < 0.1 && up.y() < 100.1);
        QVERIFY(low.x() < 200 && low.y() > 200 && high.x() > 200 && high.y() > 200);
        QVERIFY(near(QLineF(low, up).length(), QLineF(high, up).length()));
        QCOMPARE(barWidthTwips(100), 3585.0);
        QCOMPARE(barWidthPixels(100), 239.0);
        QCOMPARE(barWidthTwips(-5), 0.0);
    }

    void digital_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("decplaces"); // -100: not given
        QTest::addColumn<QString>("text");
        QTest::newRow("two") << 12.345 << 2 << "12.35";
        QTest::newRow("not given") << 12.345 << -100 << "12";
        QTest::newRow("too many") << 3.2 << 7 << "3";
    }
    void digital() {
        QFETCH(double, x);
        QFETCH(int, decplaces);
        QTEST(decplaces == -100 ? digitalText(x) : digitalText(x, decplaces), "text");
    }
};

ZELCOR_TEST(GaugeScaleTest)
#include "gaugescale_test.moc"
