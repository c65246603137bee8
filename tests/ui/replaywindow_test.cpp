// The replay windows: a recorded drive's slots, gauges, graph and closing; the trace replay's ("V").

#include "testmain.h"
#include "ui/live/gaugewindow.h"
#include "ui/logging/replaygauges.h"
#include "ui/logging/replaylauncher.h"
#include "ui/logging/replayplot.h"
#include "ui/logging/replaywindow.h"
#include "ui/namedwidgets.h"
#include "uirig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// Two sections, the first with RPM only, the second with RPM and coolant temperature,
// records a second apart, and a line that is no record.
const QByteArray kDrive = "90001,0,46000.5,first\r\n90000,12,0,Engine RPM\r\n0.000,12,0,0706E8410C1AF8\r\n"
                          "this line is no record\r\n90001,0,46000.6,second\r\n90000,12,0,Engine RPM\r\n"
                          "90000,5,0,Coolant Temp\r\n0.000,12,0,0706E8410C0FA0\r\n1.000,5,0,0703E8410578\r\n"
                          "2.000,12,0,0706E8410C1AF8\r\n3.000,5,0,0703E8410578\r\n4.000,12,0,0706E8410C3A98\r\n";

// The main window with a recording chosen through &REPLAY.
struct ReplayRig : UiRig {
    QPointer<ReplayWindow> replay;
    bool loopQueued = false; // the play loop was about to start

    ReplayRig() {
        write(QStringLiteral("drive.log"), kDrive);
        window.show();
        host.openAnswer = dir.filePath(QStringLiteral("drive.log"));
        find<QPushButton>("Command17")->click();
        replay = window.findChild<ReplayWindow*>("replay");
        // The tests run the play loop themselves, through the play button.
        auto* timer = replay->findChild<QTimer*>("Timer1");
        loopQueued = timer->isActive();
        timer->stop();
    }
    RecordingPlayer* player() const { return replay->player(); }
    template <typename T = QWidget> T* in(const QString& name) const { return replay->findChild<T*>(name); }
    QCheckBox* box(const char* name, int slot) const { return in<QCheckBox>(indexedName(name, slot)); }
    QString text(const QString& name) const { return in<QObject>(name)->property("text").toString(); }
    void play() const { in<QPushButton>("playbutton")->click(); }
};

} // namespace

class ReplayWindowTest : public QObject {
    Q_OBJECT
private slots:
    // The recording plays to its end at 20x; the boxes of slot 0 are checked in the second
    // section: its gauge follows the slot and the graph draws its history, newest sample at
    // the left edge. A recording that cannot be read opens no window.
    void recordingPlaysToTheEnd() {
        ReplayRig rig;
        QVERIFY(rig.replay && rig.replay->isVisible() && rig.loopQueued);
        QCOMPARE(rig.replay->windowTitle(), QStringLiteral("Replay - DRIVE.LOG"));
        QCOMPARE(rig.text("text15"), QStringLiteral("drive.log"));
        QCOMPARE(rig.in<QComboBox>("Combo1")->itemText(1), QStringLiteral("second"));
        QCOMPARE(rig.text("skippedLabel"), QStringLiteral("1 line could not be read and was skipped."));
        QVERIFY(!rig.box("Check1", 0)->isEnabled());
        // The speed list shows one item at its top: "5x", then the one chosen.
        RecordingPlayer* player = rig.player();
        auto* speeds = rig.in<QListWidget>("List1");
        QCOMPARE(speeds->indexAt(QPoint(2, 2)).row(), kDefaultReplaySpeed);
        speeds->setCurrentRow(kReplaySpeeds - 2); // records wait: time to click
        QCOMPARE(player->controls().speedIndex, kReplaySpeeds - 2);
        QCOMPARE(speeds->indexAt(QPoint(2, 2)).row(), kReplaySpeeds - 2);
        rig.clock.onYield = [&](double) {
            if (player->markText() == "second" && rig.box("Check1", 0)->isEnabled() &&
                !rig.box("Check1", 0)->isChecked()) {
                rig.box("Check1", 0)->click();
                rig.box("Check2", 0)->click();
            }
        };
        QList<double> needles, fed;
        QString readout;
        connect(player, &RecordingPlayer::gaugeFed, this, [&](int slot) {
            if (GaugeWindow* gauge = rig.replay->gauges()->window(slot)) {
                needles << gauge->needle();
                fed << player->replaySlots()[size_t(slot)].gauge.position;
                readout = gauge->readout();
            }
        });
        rig.play();
        rig.clock.onYield = nullptr;
        QVERIFY(!player->running() && !rig.in<QPushButton>("playbutton")->isChecked());
        QCOMPARE(rig.text("Label2"), QStringLiteral("second"));
        QVERIFY(rig.text("Label1") == player->recordTime() && !player->recordTime().isEmpty());
        for (int i = 0; i < kReplaySlots; ++i) {
            const ReplaySlot& slot = player->replaySlots()[size_t(i)];
            QCOMPARE(rig.text(indexedName("Text1", i)) + rig.text(indexedName("Text5", i)), slot.name + slot.value);
            QCOMPARE(rig.box("Check1", i)->isEnabled() && rig.box("Check2", i)->isEnabled(), i < 2);
        }
        QCOMPARE(needles.size(), 2); // two slot 0 readings came after the box was checked
        QCOMPARE(needles, fed);
        QCOMPARE(readout, QStringLiteral("3750"));
        // The newest reading ends the trace where its time lies on the time axis (at least
        // five seconds wide, from the oldest reading on).
        ReplayPlot* plot = rig.replay->findChild<ReplayPlot*>();
        const QImage graph = plot->grab().toImage();
        const QRectF area = plot->plotArea();
        const ReplaySlot& plotted = player->replaySlots()[0];
        const double span = std::max(plotted.times.front() - plotted.times.back(), 5.0);
        const int x = qRound(area.left() + (plotted.times.front() - plotted.times.back()) / span * area.width());
        const int y = qRound(area.top() + area.height() * (1 - plotted.history.front() / 100));
        bool traced = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 0; ++dx)
                traced |= graph.pixelColor(x + dx, y + dy) == ReplayPlot::slotColour(0);
        QVERIFY(traced);
        // The loop's end took the window away; the box stays checked until clicked again.
        QCheckBox* gaugeBox = rig.box("Check1", 0);
        QVERIFY(!rig.replay->gauges()->window(0) && gaugeBox->isChecked());
        gaugeBox->click();
        gaugeBox->click();
        GaugeWindow* gauge = rig.replay->gauges()->window(0);
        QVERIFY(gauge && gauge->isVisible());
        QCOMPARE(gauge->scale().maximum, player->replaySlots()[0].scale.maximum);
        gauge->close(); // from the desktop: the box clears
        QVERIFY(!gaugeBox->isChecked() && !rig.replay->gauges()->window(0));
        // A recording that cannot be read opens no window.
        rig.host.openAnswer = rig.dir.filePath(QStringLiteral("missing.log"));
        rig.find<QPushButton>("Command17")->click();
        QCOMPARE(rig.window.findChildren<ReplayWindow*>().size(), 1);
        QVERIFY(rig.host.messages.size() == 1 && rig.host.messages.first().text.contains("could not be read"));
    }

    // Close and the window's close box take the window, its player and its gauges away;
    // while the loop plays, only once it has ended.
    void closeRemovesWindowAndGauges_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("whilePlaying");
        QTest::newRow("Close, loop ended") << false << false;
        QTest::newRow("close box, loop ended") << true << false;
        QTest::newRow("Close while playing") << false << true;
        QTest::newRow("close box while playing") << true << true;
    }
    void closeRemovesWindowAndGauges() {
        QFETCH(bool, closeBox);
        QFETCH(bool, whilePlaying);
        ReplayRig rig;
        QPointer<RecordingPlayer> player = rig.player();
        rig.in<QListWidget>("List1")->setCurrentRow(whilePlaying ? 0 : kReplaySpeeds - 1);
        const auto close = [&] { closeBox ? void(rig.replay->close()) : rig.in<QPushButton>("Command1")->click(); };
        QPointer<GaugeWindow> gauge;
        bool closedWhilePlaying = false, stayedUp = false;
        rig.clock.onYield = [&](double) {
            if (!whilePlaying || closedWhilePlaying || !player->replaySlots()[0].used()) return;
            rig.box("Check1", 0)->click();
            gauge = rig.replay->gauges()->window(0);
            close();
            closedWhilePlaying = true;
            stayedUp = rig.replay->isVisible(); // until the loop has ended
        };
        rig.play();
        QCOMPARE(closedWhilePlaying && stayedUp, whilePlaying);
        if (!whilePlaying) close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!rig.replay && !player && !gauge && !rig.window.replays()->replayRunning());
    }

    // "V" replays log.txt in a window beside the main window, or over it, kept on the screen,
    // where there is no room; its controls pace the replay, Close ends it, and "V" again
    // brings the same window back.
    void traceReplayWindow_data() {
        QTest::addColumn<int>("mainLeft");
        QTest::addColumn<bool>("room");
        QTest::newRow("room on the right") << -700 << true;
        QTest::newRow("no room: kept on the screen") << 0 << false;
    }
    void traceReplayWindow() {
        QFETCH(int, mainLeft);
        QFETCH(bool, room);
        UiRig rig;
        QByteArray trace = "F255\r\n";
        for (int i = 0; i < 3; ++i)
            trace +=
                "S0100\r\nR41 00 BE 3F A8 13\\r\\r>\r\nT2026-12-06 10:00:1" + QByteArray::number(2 * i) + ".000\r\n";
        rig.write(QStringLiteral("log.txt"), trace + "M 12/6/2026 10:00:30 AM D\r\n");
        rig.window.show();
        rig.window.move(mainLeft, 95);
        const QRect main = rig.window.frameGeometry();
        TraceReplay& replay = rig.session.traceReplay();
        QPointer<ReplayWindow> shown;
        QRect placed;
        QStringList timesShown;
        rig.clock.onYield = [&](double) {
            ReplayWindow* w = rig.window.replays()->traceWindow();
            if (!w || !w->isVisible()) return;
            if (!shown) {
                shown = w;
                placed = w->frameGeometry();
                w->findChild<QListWidget*>("List1")->setCurrentRow(3);
                w->findChild<QPushButton*>("playbutton")->click();
            } else if (!replay.controls().play) {
                timesShown << w->findChild<QLabel*>("Label1")->text();
                w->findChild<QPushButton*>("Command1")->click();
            }
        };
        rig.find<QPushButton>("Command13")->click();
        QVERIFY(shown && !shown->findChild<QCheckBox*>("Check1_0") && !shown->findChild<QComboBox*>("Combo1"));
        QCOMPARE(shown->windowTitle(), QStringLiteral("Replay"));
        QVERIFY(shown->screen()->availableGeometry().contains(placed));
        QCOMPARE(placed.intersects(main), !room);
        QCOMPARE(replay.controls().speedIndex, 3);
        QCOMPARE(timesShown, QStringList{replay.passTime()});
        QVERIFY(replay.passTime().contains(QLatin1String("10:00:14")));
        QVERIFY(!shown->isVisible() && !replay.running());
        rig.find<QPushButton>("Command13")->click();
        QCOMPARE(rig.window.replays()->traceWindow(), shown.data());
        QCOMPARE(timesShown.size(), 2);
    }
};

ZELCOR_TEST(ReplayWindowTest)
#include "replaywindow_test.moc"
