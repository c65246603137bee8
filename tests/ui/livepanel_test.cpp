#include "core/listentry.h"
#include "testmain.h"
#include "ui/live/activitylamp.h"
#include "ui/live/gaugewindow.h"
#include "ui/live/gaugewindows.h"
#include "ui/live/livepanel.h"
#include "uirig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The live-data panel in front, every row listing RPM, speed and the fuel system status.
struct LiveRig : UiRig {
    LiveRig() {
        for (LiveRow& row : session.liveRows)
            row.channel.entries = {listEntry(QStringLiteral("Engine RPM"), 12),
                                   listEntry(QStringLiteral("Vehicle Speed"), 13),
                                   listEntry(QStringLiteral("Fuel System Status"), 3)};
        for (int i = 0; i < kLiveRows; ++i)
            session.liveRows[size_t(i)].channel.index = 0;
        emit session.channelsChanged();
        session.FRAME(Panel::D250);
        window.show();
    }
    QCheckBox* box(const char* name, int row) const {
        return find<QCheckBox>(QStringLiteral("%1_%2").arg(name).arg(row));
    }
    GaugeWindows* gauges() const { return find<LivePanel>(QStringLiteral("livePanel"))->gauges(); }
    // Answers RPM requests as an engine at 7E8 would.
    void connectEngine() {
        online();
        answers["010C"] = "7E8 04 41 0C 1A F9\r\r>";
        session.funccode = 250;
    }
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class LivePanelTest : public QObject {
    Q_OBJECT
private slots:
    // File names the log and enables Start / Mark and Stop; while logging, no row's
    // boxes or channel can change, so the header stays true for every row below it.
    void loggingLocksTheRows() {
        LiveRig rig;
        auto* combo = rig.find<QComboBox>(QStringLiteral("Combo1_4")); // names only
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(1), QStringLiteral("Vehicle Speed"));
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("text15"))->text(), QStringLiteral("noname"));
        QPushButton* start = rig.find<QPushButton>(QStringLiteral("Command15"));
        QVERIFY(!start->isEnabled());
        rig.host.saveAnswer = rig.dir.filePath(QStringLiteral("drive"));
        QTest::mouseClick(rig.find<QPushButton>(QStringLiteral("Command14")), Qt::LeftButton);
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("text15"))->text(), QStringLiteral("drive.csv"));
        QVERIFY(start->isEnabled());
        rig.box("Check1", 2)->click();
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(rig.session.datalog.logging);
        for (int i = 0; i < kLiveRows; ++i) {
            QVERIFY(!rig.box("Check1", i)->isEnabled());
            QVERIFY(!rig.box("Check2", i)->isEnabled());
            QVERIFY(!rig.find<QComboBox>(QStringLiteral("Combo1_%1").arg(i))->isEnabled());
        }
        QTest::mouseClick(rig.find<QPushButton>(QStringLiteral("Command16")), Qt::LeftButton);
        QVERIFY(!rig.session.datalog.logging);
        QVERIFY(rig.box("Check1", 2)->isEnabled());
        QVERIFY(rig.box("Check2", 2)->isEnabled());
    }

    // A gauge window exists while its row's "Show Gauge" box is checked, and goes with
    // every way of clearing it.
    void gaugeWindowGoesWithItsRow_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("gauge box") << "gauge box";
        QTest::newRow("monitoring off") << "enable box";
        QTest::newRow("another channel") << "channel";
        QTest::newRow("another panel") << "panel";
        QTest::newRow("connection ends") << "connection";
    }
    void gaugeWindowGoesWithItsRow() {
        QFETCH(QString, how);
        LiveRig rig;
        rig.box("Check2", 3)->click();

        QPointer<GaugeWindow> gauge = rig.gauges()->window(3);
        QVERIFY(gauge);
        QCOMPARE(gauge, rig.window.findChild<GaugeWindow*>(QStringLiteral("gaugeform_3")));
        QVERIFY(gauge->isVisible());
        QVERIFY(gauge->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(gauge->size(), QSize(194, 194));
        QCOMPARE(gauge->mask(), QRegion(0, 0, 194, 194, QRegion::Ellipse));
        QCOMPARE(gauge->scale().name, QStringLiteral("RPM"));
        QVERIFY(rig.box("Check1", 3)->isChecked()); // showing a gauge enables monitoring

        if (how == QLatin1String("gauge box")) {
            rig.box("Check2", 3)->click();
        } else if (how == QLatin1String("enable box")) {
            rig.box("Check1", 3)->click();
        } else if (how == QLatin1String("channel")) {
            auto* combo = rig.find<QComboBox>(QStringLiteral("Combo1_3"));
            combo->setCurrentIndex(1);
            emit combo->activated(1);
        } else if (how == QLatin1String("panel")) {
            rig.session.FRAME(Panel::D0101);
        } else {
            rig.session.connection.hooks.closegauges();
        }

        QVERIFY(!rig.gauges()->window(3));
        QVERIFY(!rig.box("Check2", 3)->isChecked());
        QVERIFY(!rig.session.liveRows[3].showGauge);
        flushDeletes();
        QVERIFY(!gauge);
    }

    void largeGaugesForTheFirstTwoRows() {
        LiveRig rig;
        rig.box("Check2", 1)->click();
        rig.box("Check2", 2)->click();
        QCOMPARE(rig.gauges()->window(1)->size(), QSize(330, 330));
        QCOMPARE(rig.gauges()->window(1)->mask(), QRegion(0, 0, 330, 330, QRegion::Ellipse));
        QCOMPARE(rig.gauges()->window(2)->size(), QSize(194, 194));
    }

    void channelWithoutADialGetsNoWindow() {
        LiveRig rig;
        rig.session.liveRows[5].channel.index = 2; // fuel system status
        emit rig.session.liveRowChanged(5);
        rig.box("Check2", 5)->click();
        QVERIFY(!rig.gauges()->window(5));
        QVERIFY(!rig.box("Check2", 5)->isChecked());
        QVERIFY(rig.box("Check1", 5)->isChecked());
    }

    // A right-click switches to the rectangular digital display and back.
    void rightClickTogglesTheDisplay() {
        LiveRig rig;
        rig.box("Check2", 4)->click();
        GaugeWindow* gauge = rig.gauges()->window(4);
        QTest::mouseClick(gauge, Qt::RightButton, {}, QPoint(97, 97));
        QVERIFY(gauge->digitalmode());
        QCOMPARE(gauge->size(), QSize(248, 147));
        QCOMPARE(gauge->mask(), QRegion(0, 0, 248, 147));
        QTest::mouseClick(gauge, Qt::RightButton, {}, QPoint(50, 50));
        QVERIFY(!gauge->digitalmode());
        QCOMPARE(gauge->mask(), QRegion(0, 0, 194, 194, QRegion::Ellipse));
    }

    // Where the desktop does not move windows, the gauge follows a left-button drag.
    void leftDragMovesTheWindow() {
        LiveRig rig;
        rig.box("Check2", 6)->click();
        GaugeWindow* gauge = rig.gauges()->window(6);
        const QPoint before = gauge->pos();
        QTest::mousePress(gauge, Qt::LeftButton, {}, QPoint(20, 97));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, 117), gauge->mapToGlobal(QPointF(60, 117)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(gauge, &move);
        QTest::mouseRelease(gauge, Qt::LeftButton, {}, QPoint(60, 117));
        QCOMPARE(gauge->pos(), before + QPoint(40, 20));
        QVERIFY(!gauge->digitalmode());
    }

    // A pass shows the value at once and feeds the row's gauge.
    void passFeedsValueBoxAndGauge() {
        LiveRig rig;
        rig.connectEngine();
        rig.box("Check2", 3)->click();
        bool litDuringRequest = false;
        rig.clock.onYield = [&](double) {
            litDuringRequest |= rig.find<ActivityLamp>(QStringLiteral("Shape2_3"))->lit();
        };

        rig.session.COMMS();

        QVERIFY(litDuringRequest);
        QVERIFY(!rig.find<ActivityLamp>(QStringLiteral("Shape2_3"))->lit());
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("Text5_3"))->text(), QStringLiteral("1726 RPM"));
        GaugeWindow* gauge = rig.gauges()->window(3);
        QCOMPARE(gauge->readout(), QStringLiteral("1726"));
        QCOMPARE(gauge->needle(), 6905 * 100.0 / 65536.0 * 1.6384);
        QVERIFY(rig.find<QLineEdit>(QStringLiteral("Text12"))->text().endsWith(QLatin1String(" /sec")));
    }
};

ZELCOR_TEST(LivePanelTest)
#include "livepanel_test.moc"
