#include "live/graphmodel.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class GraphModelTest : public QObject {
    Q_OBJECT
private slots:
    void startsEmpty() {
        const GraphModel g;
        QCOMPARE(g.xstep(), 5.0);
        for (int t = 0; t < 2; ++t) {
            for (float s : g.trace(t))
                QCOMPARE(s, kEmptySample);
            QCOMPARE(g.hold(t), 0.0f);
            QVERIFY(g.tracePoints(t, 15).empty());
        }
        for (int l = 0; l < 4; ++l)
            QCOMPARE(g.axisLabel(l).caption, QStringLiteral("0.0"));
    }

    void samplesShiftAndHold() {
        GraphModel g;
        g.storeSample(0, true, 1);
        g.storeSample(0, true, 2);
        g.storeSample(0, false, 99); // disabled: repeats the last stored value
        QCOMPARE(g.trace(0)[0], 2.0f);
        QCOMPARE(g.trace(0)[1], 2.0f);
        QCOMPARE(g.trace(0)[2], 1.0f);
        QCOMPARE(g.trace(0)[3], kEmptySample);
        QCOMPARE(g.hold(0), 2.0f);
        QCOMPARE(g.trace(1)[0], kEmptySample); // the other trace is not touched

        GraphModel fresh;
        fresh.storeSample(1, false, 7); // never enabled: the initial hold value 0
        QCOMPARE(fresh.trace(1)[0], 0.0f);
    }

    void oldestSampleFallsOff() {
        GraphModel g;
        for (int i = 0; i < kTraceLength + 1; ++i)
            g.storeSample(0, true, float(i));
        QCOMPARE(g.trace(0)[0], float(kTraceLength));
        QCOMPARE(g.trace(0)[kTraceLength - 1], 1.0f);
    }

    void killKeepsNewest() {
        GraphModel g;
        for (int i = 0; i < 3; ++i)
            g.storeSample(0, true, 5);
        g.killdata(0);
        QCOMPARE(g.trace(0)[0], 5.0f);
        QCOMPARE(g.trace(0)[1], kEmptySample);
        QCOMPARE(int(g.tracePoints(0, 15).size()), 1);
    }

    void channelSelection() {
        GraphModel g;
        g.storeSample(1, true, 3);
        g.storeSample(1, true, 4);
        g.channelSelected(1, 0, 8000, 0);
        QCOMPARE(g.axisLabel(2).caption, QStringLiteral("8000."));
        QCOMPARE(g.axisLabel(3).caption, QStringLiteral("0."));
        QCOMPARE(g.axisTop(1), 8000.0);
        QCOMPARE(g.trace(1)[1], kEmptySample);
        QVERIFY(g.killRequested(1));
        QVERIFY(!g.killRequested(0));

        g.storeSample(1, true, 6); // a sample of the old channel taken during the pass
        g.applyPendingKills();
        QVERIFY(!g.killRequested(1));
        QCOMPARE(g.trace(1)[1], kEmptySample);

        g.channelSelected(0, -40, 215, 1);
        QCOMPARE(g.axisLabel(0).caption, QStringLiteral("215.0"));
        QCOMPARE(g.axisLabel(1).caption, QStringLiteral("-40.0"));
        QCOMPARE(g.axisLabel(1).decimals, 1);
    }

    void adjust_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("mean");          // every sample of both traces; NaN: no samples
        QTest::addColumn<QStringList>("expected"); // the four captions afterwards
        const double none = qQNaN();
        // Axes start at 100 over 0 (left) and 50 over 10 (right).
        QTest::newRow("left top up") << 0 << 1 << 50.0 << QStringList{"105.00", "0.0", "50.0", "10.0"};
        QTest::newRow("left top down") << 1 << 1 << 50.0 << QStringList{"95.00", "0.0", "50.0", "10.0"};
        QTest::newRow("left bottom up") << 2 << 1 << 50.0 << QStringList{"100.0", "5.00", "50.0", "10.0"};
        QTest::newRow("left bottom down") << 3 << 1 << 50.0 << QStringList{"100.0", "-5.00", "50.0", "10.0"};
        QTest::newRow("right top up") << 4 << 1 << 30.0 << QStringList{"100.0", "0.0", "52.00", "10.0"};
        QTest::newRow("right bottom down") << 7 << 1 << 30.0 << QStringList{"100.0", "0.0", "50.0", "8.00"};
        QTest::newRow("left zoom in") << 8 << 1 << 50.0 << QStringList{"95.00", "5.00", "50.0", "10.0"};
        QTest::newRow("left zoom out") << 9 << 1 << 50.0 << QStringList{"105.00", "-5.00", "50.0", "10.0"};
        QTest::newRow("right zoom in") << 10 << 1 << 30.0 << QStringList{"100.0", "0.0", "48.00", "12.00"};
        QTest::newRow("right zoom out") << 11 << 1 << 30.0 << QStringList{"100.0", "0.0", "52.00", "8.00"};
        QTest::newRow("empty trace: mean 0") << 0 << 0 << none << QStringList{"110.0", "0.", "50.", "10."};
        QTest::newRow("at the mean: fixed step, 0 decimals")
            << 2 << 0 << 0.0 << QStringList{"100.", "0.1", "50.", "10."};
        QTest::newRow("at the mean: fixed step, 2 decimals")
            << 3 << 2 << 0.0 << QStringList{"100.00", "-0.001", "50.00", "10.00"};
        QTest::newRow("too close to show") << 1 << 0 << 99.9999 << QStringList{"99.9", "0.", "50.", "10."};
        QTest::newRow("not a button") << 12 << 1 << 50.0 << QStringList{"100.0", "0.0", "50.0", "10.0"};
    }
    void adjust() {
        QFETCH(int, button);
        QFETCH(int, decimals);
        QFETCH(double, mean);
        QFETCH(QStringList, expected);
        GraphModel g;
        g.channelSelected(0, 0, 100, decimals);
        g.channelSelected(1, 10, 50, decimals);
        if (!qIsNaN(mean)) {
            for (int t = 0; t < 2; ++t) {
                g.storeSample(t, true, float(mean - 1));
                g.storeSample(t, true, float(mean + 1));
            }
        }
        QCOMPARE(g.adjustAxis(button), button >= 0 && button <= 11);
        QStringList captions;
        for (int l = 0; l < 4; ++l)
            captions.append(g.axisLabel(l).caption);
        QCOMPARE(captions, expected);
    }

    void graphscale_data() {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("y");
        QTest::newRow("middle") << "100.0"
                                << "0.0" << 50.0 << 7.5;
        QTest::newRow("offset axis") << "215.0"
                                     << "-40.0" << -40.0 << 0.0;
        QTest::newRow("above the axis") << "10."
                                        << "0." << 20.0 << 30.0;
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
        g.zoomTimeIn();
        QCOMPARE(g.xstep(), 5 * 1.05);
        for (int i = 0; i < 100; ++i)
            g.zoomTimeIn();
        QVERIFY(g.xstep() <= 50 && g.xstep() > 50 / 1.05);
        for (int i = 0; i < 200; ++i)
            g.zoomTimeOut();
        QVERIFY(g.xstep() >= 1 && g.xstep() < 1.05);
        const double lowest = g.xstep();
        g.zoomTimeOut();
        QCOMPARE(g.xstep(), lowest);
    }

    void pointsSkipEmptySamples() {
        GraphModel g;
        g.channelSelected(0, 0, 10, 0);
        g.storeSample(0, true, 2);            // becomes index 3
        g.storeSample(0, true, float(-9999)); // an empty sample: index 2
        g.storeSample(0, true, 4);            // index 1
        g.storeSample(0, true, 10);           // index 0
        g.zoomTimeIn();
        const double step = g.xstep();
        const std::vector<QPointF> points = g.tracePoints(0, 15);
        QCOMPARE(int(points.size()), 3);
        QCOMPARE(points[0], QPointF(0, 15));
        QCOMPARE(points[1], QPointF(step, 6));
        QCOMPARE(points[2], QPointF(3 * step, 3)); // the line continues from index 1
    }

    void buttonRepeat() {
        AxisButtonRepeat r;
        QVERIFY(!r.held());
        QCOMPARE(r.tick(), -1);
        QCOMPARE(r.interval(), 1);
        r.press(9);
        QCOMPARE(r.interval(), 1); // the first step follows the press at once
        QList<int> intervals;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(r.tick(), 9);
            intervals.append(r.interval());
        }
        QCOMPARE(intervals, (QList<int>{500, 80, 80, 80}));
        r.release();
        QCOMPARE(r.zoombutton(), -1);
        QCOMPARE(r.interval(), 1);
        r.press(2);
        QCOMPARE(r.tick(), 2);
        QCOMPARE(r.interval(), 500);
    }
};

ZELCOR_TEST(GraphModelTest)
#include "graphmodel_test.moc"
