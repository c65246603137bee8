// Where the gauge windows and the replay window open: beside the main window where the screen
// has room, never over the live panel's controls, always on the screen; a gauge the user
// moved opens there again, and "Tile gauges" puts the gauges back in order.

#include "live/livedata.h"
#include "testmain.h"
#include "ui/live/gaugewindow.h"
#include "ui/main/desktoprects.h"
#include "ui/main/windowplacement.h"
#include "uirig.h"

#include <QAction>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QSize kLarge(GaugeWindow::kLargeSize, GaugeWindow::kLargeSize);
const QSize kSmall(GaugeWindow::kSmallSize, GaugeWindow::kSmallSize);

struct PlacementRig : LiveWindowRig {
    void clickGaugeBox(int row) const { box("Check2", row)->click(); }
    // Every control of the live panel, on the desktop.
    QList<QRect> controls() const {
        QList<QRect> out;
        for (const QWidget* control : panel()->findChildren<QWidget*>())
            if (control->isVisible()) out << QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
        return out;
    }
};

bool meetsAny(const QRect& place, const QList<QRect>& others) {
    return std::any_of(others.begin(), others.end(), [&](const QRect& other) { return place.intersects(other); });
}

} // namespace

class GaugePlacementTest : public QObject {
    Q_OBJECT
private slots:
    // The real main window, put on a screen at its left edge, centred or at its right edge,
    // and ten gauges: where the screen has room, none meets the main window or another gauge;
    // everywhere, none meets a live-panel control and all lie on the screen.
    void placesOnScreens_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("room");
        for (const char* where : {"left", "centred", "right"}) {
            QTest::addRow("1280x800 %s", where) << QRect(0, 0, 1280, 800) << where << false;
            QTest::addRow("1920x1080 %s", where) << QRect(0, 0, 1920, 1080) << where << true;
        }
        QTest::addRow("second screen, centred") << QRect(1920, -200, 1920, 1080) << "centred" << true;
    }
    void placesOnScreens() {
        QFETCH(QRect, screen);
        QFETCH(QString, where);
        QFETCH(bool, room);
        PlacementRig rig;
        const QRect frame = rig.window.frameGeometry();
        QPoint at = initialWindowPosition(screen, frame.size());
        if (where == "left") at.setX(screen.left());
        if (where == "right") at.setX(screen.right() + 1 - frame.width());
        const auto moved = [shift = at - frame.topLeft()](QList<QRect> rects) {
            for (QRect& rect : rects)
                rect.translate(shift);
            return rects;
        };
        const QRect window = moved({frame}).front();
        const QList<QRect> controls = moved(rig.controls());
        QList<QSize> sizes{kLarge, kLarge};
        while (sizes.size() < kLiveRows)
            sizes << kSmall;
        const QList<QRect> gauges = placesBeside(screen, window, moved({controlsOnDesktop(rig.panel())}).front(),
                                                 moved(windowBars(rig.panel())), sizes);
        QCOMPARE(gauges.size(), kLiveRows);
        for (qsizetype i = 0; i < gauges.size(); ++i) {
            QVERIFY2(screen.contains(gauges[i]) && !meetsAny(gauges[i], controls), qPrintable(QString::number(i)));
            QVERIFY(!room || (!gauges[i].intersects(window) && !meetsAny(gauges[i], gauges.mid(i + 1))));
        }
    }

    // A gauge the user moved opens there again while that place is on a screen and off the
    // panel's controls; "Tile gauges" puts it back where the program chose and forgets the
    // place.
    void movedGaugeKeepsItsPlace_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the screen") << "free" << true;
        QTest::newRow("off every screen") << "off" << false;
        QTest::newRow("over the controls") << "controls" << false;
    }
    void movedGaugeKeepsItsPlace() {
        QFETCH(QString, target);
        QFETCH(bool, kept);
        PlacementRig rig;
        const QRect screen = availableScreenOf(&rig.window);
        // The window mostly off the screen's right edge leaves room on the screen.
        rig.window.move(screen.right() - 200, screen.top());
        rig.clickGaugeBox(3);
        const QPoint chosen = rig.gauge(3)->pos();
        QVERIFY(!meetsAny(rig.gauge(3)->frameGeometry(), rig.controls()));
        const QPoint moved = target == "free"  ? screen.topLeft() + QPoint(10, 20)
                             : target == "off" ? screen.bottomRight() + QPoint(400, 400)
                                               : rig.controls().front().topLeft();
        rig.gauge(3)->move(moved);
        rig.clickGaugeBox(3);
        rig.clickGaugeBox(3);
        QCOMPARE(rig.gauge(3)->pos(), kept ? moved : chosen);

        rig.gauge(3)->move(moved);
        rig.panel()->tileGaugesAction()->trigger();
        QCOMPARE(rig.gauge(3)->pos(), chosen);
        rig.clickGaugeBox(3);
        rig.clickGaugeBox(3);
        QCOMPARE(rig.gauge(3)->pos(), chosen);
    }
};

ZELCOR_TEST(GaugePlacementTest)
#include "gaugeplacement_test.moc"
