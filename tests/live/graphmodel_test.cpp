#include "live/graphmodel.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class GraphModelTest : public QObject {
    Q_OBJECT
private slots:
    void samplesShiftAndHold() {
        GraphModel g;
        QVERIFY(g.tracePoints(0, 15).empty());
        g.storeSample(0, true, 1);
        g.storeSample(0, true, 2);
        g.storeSample(0, false, 99); // disabled: repeats the last stored value
        QCOMPARE(g.trace(0)[0], 2.0f);
        QCOMPARE(g.trace(0)[1], 2.0f);
        QCOMPARE(g.trace(0)[2], 1.0f);
        QCOMPARE(g.trace(0)[3], kEmptySample);
        QCOMPARE(g.trace(1)[0], kEmptySample);
        g.storeSample(1, false, 7); // never enabled: the initial hold value
        QCOMPARE(g.trace(1)[0], 0.0f);
    }

    void adjust_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("mean");        // of both traces; NaN: no samples
        QTest::addColumn<QStringList>("labels"); // start: 100 over 0 (left), 50 over 10 (right)
        QTest::newRow("left top up") << 0 << 1 << 50.0 << QStringList{"105.00", "0.0", "50.0", "10.0"};
        QTest::newRow("left zoom in") << 8 << 1 << 50.0 << QStringList{"95.00", "5.00", "50.0", "10.0"};
        QTest::newRow("right zoom out") << 11 << 1 << 30.0 << QStringList{"100.0", "0.0", "52.00", "8.00"};
        QTest::newRow("no samples: mean 0") << 0 << 0 << qQNaN() << QStringList{"110.0", "0.", "50.", "10."};
        QTest::newRow("at the mean: fixed step") << 3 << 2 << 0.0 << QStringList{"100.00", "-0.001", "50.00", "10.00"};
        QTest::newRow("too small to show") << 1 << 0 << 99.9999 << QStringList{"99.9", "0.", "50.", "10."};
        QTest::newRow("not a button") << 12 << 1 << 50.0 << QStringList{"100.0", "0.0", "50.0", "10.0"};
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
        QTEST(labels, "labels");
    }

    void graphscale_data() {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("y");
        QTest::newRow("empty sample") << "100.0"
                                      << "0.0" << -9999.0 << -9999.0;
        QTest::newRow("no span") << "5.0"
                                 << "5.00" << 7.0 << 0.0;
        QTest::newRow("inverted") << "0."
                                  << "10." << 2.5 << 11.25;
    }
    void graphscale() {
        QFETCH(QString, top);
        QFETCH(QString, bottom);
        QFETCH(double, value);
        GraphModel g;
        g.setAxisLabel(2, top, 1);
        g.setAxisLabel(3, bottom, 1);
        QTEST(g.graphscale(1, value, 15), "y");
    }

    void timeZoomStaysInRange() {
        GraphModel g;
        for (int i = 0; i < 100; ++i)
            g.zoomTimeIn();
        QVERIFY(g.xstep() <= 50 && g.xstep() > 50 / 1.05);
        for (int i = 0; i < 200; ++i)
            g.zoomTimeOut();
        QVERIFY(g.xstep() >= 1 && g.xstep() < 1.05);
    }

    void pointsSkipEmptySamples() {
        GraphModel g;
        g.channelSelected(0, 0, 10, 0);
        for (float s : {2.0f, kEmptySample, 4.0f, 10.0f})
            g.storeSample(0, true, s);
        g.zoomTimeIn();
        const double step = g.xstep();
        const std::vector<QPointF> points = g.tracePoints(0, 15);
        QCOMPARE(int(points.size()), 3);
        QCOMPARE(points[0], QPointF(0, 15));
        QCOMPARE(points[1], QPointF(step, 6));
        QCOMPARE(points[2], QPointF(3 * step, 3)); // the line goes on from index 1
    }
};

ZELCOR_TEST(GraphModelTest)
#include "graphmodel_test.moc"
