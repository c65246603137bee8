#include "live/graphmodel.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class GraphModelTest : public QObject {
    Q_OBJECT
private slots:
    // Samples shift one place older; a disabled trace repeats its last stored value. A
    // channel change empties the trace but for its newest sample, at once and again
    // after the next pass's sample.
    void samplesHoldAndKill() {
        GraphModel g;
        for (float s : {1.0f, 2.0f})
            g.storeSample(0, true, s);
        g.storeSample(0, false, 99);
        const auto newest = [&g] { return std::vector<float>(g.trace(0).begin(), g.trace(0).begin() + 3); };
        QCOMPARE(newest(), (std::vector<float>{2, 2, 1}));
        g.channelSelected(0, -40, 200, 1);
        g.storeSample(0, true, 4);
        QCOMPARE(newest(), (std::vector<float>{4, 2, kEmptySample}));
        g.applyPendingKills();
        QCOMPARE(newest(), (std::vector<float>{4, kEmptySample, kEmptySample}));
        QVERIFY(!g.killRequested(0) && !g.killRequested(1));
    }

    void adjust_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("mean");    // of both traces; NaN: no samples
        QTest::addColumn<QString>("labels"); // start: 100 over 0 (left), 50 over 10 (right)
        QTest::newRow("left zoom in") << 8 << 1 << 50.0 << "95.00 5.00 50.0 10.0";
        QTest::newRow("no samples: mean 0") << 0 << 0 << qQNaN() << "110.0 0. 50. 10.";
        QTest::newRow("too small to show") << 1 << 0 << 99.9999 << "99.9 0. 50. 10.";
        QTest::newRow("not a button") << 12 << 1 << 50.0 << "100.0 0.0 50.0 10.0";
    }
    void adjust() {
        QFETCH(int, button);
        QFETCH(int, decimals);
        QFETCH(double, mean);
        GraphModel g;
        g.channelSelected(0, 0, 100, decimals);
        g.channelSelected(1, 10, 50, decimals);
        for (int t = 0; t < 2 && !qIsNaN(mean); ++t) {
            g.storeSample(t, true, float(mean - 1));
            g.storeSample(t, true, float(mean + 1));
        }
        QCOMPARE(g.adjustAxis(button), button <= 11);
        QStringList labels;
        for (int l = 0; l < 4; ++l)
            labels.append(g.axisLabel(l).caption);
        QTEST(labels.join(QLatin1Char(' ')), "labels");
    }

    // Plot heights of 15: an empty sample stays empty, an axis without span is flat, an
    // axis upside down works; the line goes on past an empty sample. The time zoom stays
    // between 1 and 50 units a sample.
    void plotPoints() {
        GraphModel g;
        g.setAxisLabel(2, QStringLiteral("5.0"), 1);
        g.setAxisLabel(3, QStringLiteral("5.00"), 1);
        QCOMPARE(g.plotY(1, 7, 15), 0.0);
        QCOMPARE(g.plotY(1, kEmptySample, 15), double(kEmptySample));
        g.channelSelected(1, 10, 0, 0);
        QCOMPARE(g.plotY(1, 2.5, 15), 11.25);
        g.channelSelected(0, 0, 10, 0);
        for (float s : {2.0f, kEmptySample, 4.0f, 10.0f})
            g.storeSample(0, true, s);
        QCOMPARE(g.tracePoints(0, 15), (std::vector<QPointF>{{0, 15}, {5, 6}, {15, 3}}));
        for (int i = 0; i < 100; ++i)
            g.zoomTimeIn();
        QVERIFY(g.sampleSpacing() >= 50 && g.sampleSpacing() < 52.5); // 5 x 1.05^48 = 52.0
        for (int i = 0; i < 200; ++i)
            g.zoomTimeOut();
        QVERIFY(g.sampleSpacing() <= 1 && g.sampleSpacing() > 1 / 1.05);
    }
};

ZELCOR_TEST(GraphModelTest)
#include "graphmodel_test.moc"
