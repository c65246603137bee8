#include "live/gaugedial.h"
#include "testmain.h"

#include <QLineF>
#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

GaugeScale plainScale(double minimum, double maximum, double tick, double step, int decimals) {
    return GaugeScale{QString(), QString(), minimum, maximum, tick, step, decimals};
}

const auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };

} // namespace

Q_DECLARE_METATYPE(zelcor::GaugeScale)

class GaugeDialTest : public QObject {
    Q_OBJECT
private slots:
    void dial_data() {
        QTest::addColumn<GaugeScale>("scale");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("labels");
        QTest::newRow("0..60 by 5") << plainScale(0, 60, 5, 10, 0) << 13 << "0 10 20 30 40 50 60";
        QTest::newRow("span not a tick multiple")
            << plainScale(-64, 63.5, 2, 10, 0) << 64 << "-60 -50 -40 -30 -20 -10 0 10 20 30 40 50 60";
        QTest::newRow("inexact tick") << plainScale(0, 0.6, 0.05, 0.1, 1) << 13 << "0.0 0.1 0.2 0.3 0.4 0.5 0.6";
        QTest::newRow("no span") << plainScale(5, 5, 5, 10, 0) << 0 << "";
        QTest::newRow("no tick") << plainScale(0, 60, 0, 10, 0) << 0 << "";
        QTest::newRow("no label step") << plainScale(0, 10, 5, 0, 0) << 3 << "";
        QTest::newRow("absurd span") << plainScale(0, 1e300, 1, 0, 0) << 2000 << "";
    }
    void dial() {
        QFETCH(GaugeScale, scale);
        const GaugeDial g = gaugeDial(scale, 100, false);
        QTEST(int(g.ticks.size()), "ticks");
        QStringList texts;
        for (const GaugeLabel& l : g.labels)
            texts.append(l.text);
        QTEST(texts.join(QLatin1Char(' ')), "labels");
    }

    // Ticks and the needle sweep evenly from lower left to lower right; labelled ticks are
    // wide, their labels on the same angle, and 0 of a symmetric scale sits at the top.
    void geometry() {
        const GaugeDial g = gaugeDial(plainScale(0, 60, 5, 10, 0), 100, false);
        for (size_t k = 0; k < g.ticks.size(); ++k) {
            QVERIFY(near(g.ticks[k].angle, k * 5.0 / 12 - 4.07));
            QCOMPARE(g.ticks[k].width, k % 2 == 0 ? 3 : 1);
        }
        QVERIFY(near(g.labels[1].angle, g.ticks[2].angle));
        const GaugeDial symmetric = gaugeDial(plainScale(-100, 100, 10, 20, 0), 100, false);
        QVERIFY(near(symmetric.labels[5].angle, gaugeAngle(50)));
        QCOMPARE(int(gaugeDial(plainScale(0, 100, 1, 1, 0), 100, false).labels.size()), kMaxGaugeLabels);
        const QPointF c(200, 200), up = gaugeNeedleEnd(c, 100, 50), low = gaugeNeedleEnd(c, 100, 0),
                                   high = gaugeNeedleEnd(c, 100, 100);
        QVERIFY(std::fabs(up.x() - 200) < 0.1 && up.y() < 100.1);
        QVERIFY(low.x() < 200 && low.y() > 200 && high.x() > 200 && high.y() > 200);
        QVERIFY(near(QLineF(low, up).length(), QLineF(high, up).length()));
        QCOMPARE(barWidthPixels(100), 239.0);
        QCOMPARE(barWidthTwips(-5), 0.0);
        QCOMPARE(digitalText(12.345, 2), QStringLiteral("12.35"));
        QCOMPARE(digitalText(12.345), QStringLiteral("12"));
        QCOMPARE(digitalText(3.2, 7), QStringLiteral("3"));
    }
};

ZELCOR_TEST(GaugeDialTest)
#include "gaugedial_test.moc"
