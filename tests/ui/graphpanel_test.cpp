#include "testmain.h"
#include "ui/live/graphpanel.h"
#include "ui/live/plotwidget.h"
#include "uirig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The graph panel in front with both axes set and no samples yet.
struct GraphRig : UiRig {
    GraphRig() {
        GraphModel& graph = session.live.graph;
        graph.setAxisLabel(0, QStringLiteral("100.0"), 1);
        graph.setAxisLabel(1, QStringLiteral("0.0"), 1);
        graph.setAxisLabel(2, QStringLiteral("50.0"), 1);
        graph.setAxisLabel(3, QStringLiteral("10.0"), 1);
        session.FRAME(Panel::D240);
        emit session.panelChanged(Panel::D240);
        window.show();
    }
    GraphPanel* panel() const { return find<GraphPanel>(QStringLiteral("graphPanel")); }
    QPushButton* button(int i) const { return find<QPushButton>(QStringLiteral("Command12_%1").arg(i)); }
    QStringList axisLabels() const {
        QStringList out;
        for (int k = 0; k < 4; ++k)
            out << find<QLabel>(QStringLiteral("gl_%1").arg(k))->text();
        return out;
    }
};

} // namespace

class GraphPanelTest : public QObject {
    Q_OBJECT
private slots:
    // Pressing an axis button moves its axis end at once by a tenth of its distance to
    // the trace's mean; holding it repeats after 500 ms, then every 80 ms.
    void axisButtons_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("afterPress");
        QTest::addColumn<QStringList>("afterRepeat");
        QTest::newRow("top left up") << 0 << QStringList{"110.00", "0.0", "50.0", "10.0"}
                                     << QStringList{"121.00", "0.0", "50.0", "10.0"};
        QTest::newRow("top left down") << 1 << QStringList{"90.00", "0.0", "50.0", "10.0"}
                                       << QStringList{"81.00", "0.0", "50.0", "10.0"};
        QTest::newRow("bottom left down, at the mean")
            << 3 << QStringList{"100.0", "-0.01", "50.0", "10.0"} << QStringList{"100.0", "-0.02", "50.0", "10.0"};
        QTest::newRow("zoom in left") << 8 << QStringList{"90.00", "0.01", "50.0", "10.0"}
                                      << QStringList{"81.00", "0.02", "50.0", "10.0"};
        QTest::newRow("zoom out right") << 11 << QStringList{"100.0", "0.0", "55.00", "9.00"}
                                        << QStringList{"100.0", "0.0", "60.50", "8.10"};
    }
    void axisButtons() {
        QFETCH(int, button);
        QFETCH(QStringList, afterRepeat);
        GraphRig rig;
        QTimer* timer2 = rig.panel()->repeatTimer();

        QTest::mousePress(rig.button(button), Qt::LeftButton);
        QTEST(rig.axisLabels(), "afterPress");
        QVERIFY(timer2->isActive());
        QCOMPARE(timer2->interval(), 500);

        rig.panel()->repeatAxisButton(); // Timer2 fires
        QCOMPARE(rig.axisLabels(), afterRepeat);
        QCOMPARE(timer2->interval(), 80);

        QTest::mouseRelease(rig.button(button), Qt::LeftButton);
        QVERIFY(!timer2->isActive());
        QCOMPARE(rig.window.focusWidget(), static_cast<QWidget*>(rig.panel()->plot()));
        QCOMPARE(rig.axisLabels(), afterRepeat);
    }

    void timeZoomButtons() {
        GraphRig rig;
        QTest::mouseClick(rig.find<QPushButton>(QStringLiteral("Command18_1")), Qt::LeftButton);
        QCOMPARE(rig.session.live.graph.xstep(), 5 * 1.05);
        QTest::mouseClick(rig.find<QPushButton>(QStringLiteral("Command18_0")), Qt::LeftButton);
        QTest::mouseClick(rig.find<QPushButton>(QStringLiteral("Command18_0")), Qt::LeftButton);
        QCOMPARE(rig.session.live.graph.xstep(), 5 / 1.05);
    }
};

ZELCOR_TEST(GraphPanelTest)
#include "graphpanel_test.moc"
