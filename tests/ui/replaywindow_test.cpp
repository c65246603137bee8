#include "testmain.h"
#include "ui/live/gaugewindow.h"
#include "ui/logging/replaygauges.h"
#include "ui/logging/replaylauncher.h"
#include "ui/logging/replayplot.h"
#include "ui/logging/replaywindow.h"
#include "uirig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// Two sections: the first with RPM only, the second with RPM and coolant temperature,
// records a second apart, and one line that is no record.
// clang-format off
const char* const kDrive[] = {
    "90001,0,46000.5,first",
    "90000,12,0,Engine RPM",
    "0.000,12,0,0706E8410C1AF8",
    "this line is no record",
    "90001,0,46000.6,second",
    "90000,12,0,Engine RPM",
    "90000,5,0,Coolant Temp",
    "0.000,12,0,0706E8410C0FA0",
    "1.000,5,0,0703E8410578",
    "2.000,12,0,0706E8410C1AF8",
    "3.000,5,0,0703E8410578",
    "4.000,12,0,0706E8410C3A98",
};
// clang-format on
constexpr int kMaxSpeed = kReplaySpeeds - 1;
constexpr int k20x = kReplaySpeeds - 2;

void sendDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The main window with a recording chosen through &REPLAY.
struct ReplayRig : UiRig {
    QString path = dir.filePath(QStringLiteral("drive.log"));
    bool loopQueued = false; // Timer1 was about to start the play loop

    ReplayRig() {
        session.settings.usedegf = false;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            for (const char* line : kDrive)
                file.write(QByteArray(line) + "\r\n");
        window.show();
    }
    ReplayWindow* open() {
        host.openAnswer = path;
        find<QPushButton>(QStringLiteral("Command17"))->click();
        auto* replay = window.findChild<ReplayWindow*>(QStringLiteral("replay"));
        // The tests drive the play loop themselves, through the play button.
        if (auto* timer = replay ? replay->findChild<QTimer*>(QStringLiteral("Timer1")) : nullptr) {
            loopQueued = timer->isActive() && timer->isSingleShot();
            timer->stop();
        }
        return replay;
    }
    template <typename T = QWidget> static T* in(ReplayWindow* replay, const QString& name) {
        return replay->findChild<T*>(name);
    }
    static QString text(ReplayWindow* replay, const char* name, int slot) {
        return in<QLineEdit>(replay, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(slot))->text();
    }
    static QCheckBox* box(ReplayWindow* replay, const char* name, int slot) {
        return in<QCheckBox>(replay, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(slot));
    }
    static void setSpeed(ReplayWindow* replay, int index) { in<QListWidget>(replay, "List1")->setCurrentRow(index); }
};

} // namespace

class ReplayWindowTest : public QObject {
    Q_OBJECT
private slots:
    void recordingPlaysToTheEnd() {
        ReplayRig rig;
        ReplayWindow* replay = rig.open();
        QVERIFY(replay);
        QVERIFY(replay->isVisible());
        QVERIFY(rig.loopQueued);
        QCOMPARE(replay->windowTitle(), QStringLiteral("Replay - DRIVE.LOG"));
        QCOMPARE(ReplayRig::in<QLineEdit>(replay, "text15")->text(), QStringLiteral("drive.log"));
        auto* marks = ReplayRig::in<QComboBox>(replay, "Combo1");
        QCOMPARE(marks->count(), 2);
        QCOMPARE(marks->itemText(1), QStringLiteral("second"));
        QCOMPARE(ReplayRig::in<QLabel>(replay, "skippedLabel")->text(),
                 QStringLiteral("1 line could not be read and was skipped."));
        QVERIFY(!ReplayRig::box(replay, "Check1", 0)->isEnabled());

        // The speed list: every item in order, "5x" at the top of the visible part.
        auto* speeds = ReplayRig::in<QListWidget>(replay, "List1");
        QCOMPARE(speeds->count(), kReplaySpeeds);
        for (int i = 0; i < kReplaySpeeds; ++i)
            QCOMPARE(speeds->item(i)->text(), replaySpeedText(i));
        QCOMPARE(speeds->indexAt(QPoint(2, 2)).row(), kDefaultReplaySpeed);
        ReplayRig::setSpeed(replay, kMaxSpeed);
        QCOMPARE(replay->player()->controls.speedIndex, kMaxSpeed);
        QCOMPARE(speeds->indexAt(QPoint(2, 2)).row(), kMaxSpeed);

        ReplayRig::in<QPushButton>(replay, "playbutton")->click();

        QVERIFY(!replay->player()->running());
        QVERIFY(!ReplayRig::in<QPushButton>(replay, "playbutton")->isChecked());
        QCOMPARE(ReplayRig::in<QLabel>(replay, "Label2")->text(), QStringLiteral("second"));
        QVERIFY(!ReplayRig::in<QLabel>(replay, "Label1")->text().isEmpty());
        QCOMPARE(ReplayRig::text(replay, "Text1", 0), QStringLiteral("Engine RPM"));
        QCOMPARE(ReplayRig::text(replay, "Text5", 0), QStringLiteral("3750 RPM"));
        QCOMPARE(ReplayRig::text(replay, "Text1", 1), QStringLiteral("Coolant Temp"));
        QCOMPARE(ReplayRig::text(replay, "Text5", 1), QStringLiteral("80.0 deg C"));
        QVERIFY(ReplayRig::box(replay, "Check1", 1)->isEnabled());
        QVERIFY(!ReplayRig::box(replay, "Check2", 2)->isEnabled());
    }

    void unreadableRecordingOpensNoWindow() {
        ReplayRig rig;
        rig.path = rig.dir.filePath(QStringLiteral("missing.log"));
        QVERIFY(!rig.open());
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages.first().text.contains(QStringLiteral("could not be read")));
    }

    // Boxes checked while the recording plays: the gauge follows the slot and the graph
    // draws its history, newest sample at the left edge.
    void gaugeAndGraphFollowTheSlot() {
        ReplayRig rig;
        ReplayWindow* replay = rig.open();
        RecordingPlayer* player = replay->player();
        ReplayRig::setSpeed(replay, k20x); // records wait, so the boxes can be clicked in between
        rig.clock.onYield = [&](double) {
            QCheckBox* gauge = ReplayRig::box(replay, "Check1", 0);
            if (player->Label2 == QLatin1String("second") && gauge->isEnabled() && !gauge->isChecked()) {
                gauge->click();
                ReplayRig::box(replay, "Check2", 0)->click();
            }
        };
        QList<double> needles;
        QString readout;
        connect(player, &RecordingPlayer::gaugeFed, this, [&](int slot) {
            if (GaugeWindow* gauge = replay->gauges()->window(slot)) {
                needles << gauge->needle();
                readout = gauge->readout();
            }
        });
        ReplayRig::in<QPushButton>(replay, "playbutton")->click();
        rig.clock.onYield = nullptr;

        // 15000 / 65536 of the 16384 RPM dial; two slot 0 readings came after the box was checked.
        QCOMPARE(needles.size(), 2);
        QVERIFY(needles.first() < needles.last());
        QCOMPARE(needles.last(), 37.5);
        QCOMPARE(readout, QStringLiteral("3750"));

        // Newest sample at the left edge, 37.5 % up from the bottom.
        const QImage graph = replay->findChild<ReplayPlot*>()->grab().toImage();
        const int y = 1 + qRound((graph.height() - 2) * (1 - 0.375));
        bool traced = false;
        for (int dy = -1; dy <= 1; ++dy)
            traced |= graph.pixelColor(0, y + dy) == ReplayPlot::slotColour(0);
        QVERIFY(traced);

        // The loop's end took the window away; the box stays checked until clicked again.
        QVERIFY(!replay->gauges()->window(0));
        QCheckBox* gaugeBox = ReplayRig::box(replay, "Check1", 0);
        QVERIFY(gaugeBox->isChecked());
        gaugeBox->click();
        gaugeBox->click();
        GaugeWindow* gauge = replay->gauges()->window(0);
        QVERIFY(gauge && gauge->isVisible());
        QCOMPARE(gauge->scale().maximum, player->replaySlots[0].scale.maximum);

        // Closing the gauge from the desktop clears its box.
        gauge->close();
        QVERIFY(!gaugeBox->isChecked());
        QVERIFY(!replay->gauges()->window(0));
    }

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
        QPointer<ReplayWindow> replay = rig.open();
        QPointer<RecordingPlayer> player = replay->player();
        ReplayRig::setSpeed(replay, whilePlaying ? 0 : kMaxSpeed);
        const auto close = [&] {
            if (closeBox)
                replay->close();
            else
                ReplayRig::in<QPushButton>(replay, "Command1")->click();
        };
        QPointer<GaugeWindow> gauge;
        bool closedWhilePlaying = false;
        rig.clock.onYield = [&](double) {
            if (!whilePlaying || closedWhilePlaying || !player->replaySlots[0].used()) return;
            ReplayRig::box(replay, "Check1", 0)->click();
            gauge = replay->gauges()->window(0);
            closedWhilePlaying = true;
            close();
            QVERIFY(replay->isVisible()); // it stays until the loop has ended
        };
        ReplayRig::in<QPushButton>(replay, "playbutton")->click();
        QCOMPARE(closedWhilePlaying, whilePlaying);
        if (!whilePlaying) close();

        sendDeferredDeletes();
        QVERIFY(!replay);
        QVERIFY(!player);
        QVERIFY(!gauge);
        QVERIFY(!rig.window.replays()->replayRunning());
    }

    // The trace replay's window is bound to the session's trace controls and closing it
    // ends the replay. It goes right of the main window, centred on its height, and stays
    // on the screen where there is no room.
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
        rig.window.show();
        rig.window.move(mainLeft, 40);
        const QRect main = rig.window.frameGeometry();
        rig.session.replaying = true; // as the "V" handler sets it before the window shows
        emit rig.session.traceReplayStarted();
        ReplayWindow* replay = rig.window.replays()->traceWindow();
        QVERIFY(replay && replay->isVisible());
        const QRect shown = replay->frameGeometry();
        QCOMPARE(shown.top(), main.top() + (main.height() - shown.height()) / 2);
        if (room)
            QCOMPARE(shown.left(), main.left() + main.width());
        else
            QCOMPARE(shown.right(), replay->screen()->availableGeometry().right());
        QCOMPARE(replay->windowTitle(), QStringLiteral("Replay"));
        QVERIFY(!replay->findChild<QCheckBox*>(QStringLiteral("Check1_0")));
        QVERIFY(!replay->findChild<QComboBox*>(QStringLiteral("Combo1")));

        int changes = 0;
        connect(&rig.session, &Session::traceReplayChanged, this, [&] { ++changes; });
        ReplayRig::in<QPushButton>(replay, "playbutton")->click();
        ReplayRig::setSpeed(replay, 3);
        QVERIFY(rig.session.traceControls.play);
        QCOMPARE(rig.session.traceControls.speedIndex, 3);
        QCOMPARE(changes, 2);
        rig.session.traceTime = QStringLiteral("12/5/2026 7:30:00 AM");
        rig.session.traceControls.setPlay(false);
        emit rig.session.traceReplayChanged();
        QCOMPARE(ReplayRig::in<QLabel>(replay, "Label1")->text(), rig.session.traceTime);
        QVERIFY(!ReplayRig::in<QPushButton>(replay, "playbutton")->isChecked());

        ReplayRig::in<QPushButton>(replay, "Command1")->click();
        QVERIFY(!rig.session.replaying);
        QVERIFY(!replay->isVisible());

        rig.session.replaying = true;
        emit rig.session.traceReplayStarted();
        QCOMPARE(rig.window.replays()->traceWindow(), replay);
        QVERIFY(replay->isVisible());
    }
};

ZELCOR_TEST(ReplayWindowTest)
#include "replaywindow_test.moc"
