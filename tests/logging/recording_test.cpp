#include "fakeclock.h"
#include "logging/recording.h"
#include "logging/recordingplayer.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// 3000 RPM and 60 km/h from the engine at E8, as the live pass receives them.
const QString kRpm = QStringLiteral("0704E8410C2EE0");
const QString kSpeed = QStringLiteral("0703E8410D3C");

struct Rig {
    QTemporaryDir dir;
    FakeClock clock;
    Settings settings;
    RecordingPlayer player{clock, settings};

    // Writes the lines (CR LF ended) and opens them.
    void open(const QStringList& lines) {
        QFile f(dir.filePath("drive.log"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
        f.close();
        QVERIFY(player.open(f.fileName()));
    }
    void playAt(int speed) {
        player.controls.speedIndex = speed;
        player.controls.setPlay(true);
        player.playing();
    }
};

constexpr int kMax = kReplaySpeeds - 1;

} // namespace

class RecordingTest : public QObject {
    Q_OBJECT
private slots:
    void records_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind"); // -1: not a record
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("text");
        QTest::newRow("mark") << "90001,0,46000.5,Mark 1, at home" << 0 << 0.0 << 0 << "Mark 1, at home";
        QTest::newRow("channel") << "90000,12,0,Engine RPM" << 1 << 0.0 << 12 << "Engine RPM";
        QTest::newRow("data") << " 1.25 , 13 , 0 ,0703E8410D3C" << 2 << 1.25 << 13 << "0703E8410D3C";
        QTest::newRow("PID 256") << "2,256,0,x" << 2 << 2.0 << 256 << "x";
        QTest::newRow("empty rest") << "2,5,0," << 2 << 2.0 << 5 << "";
        QTest::newRow("two fields") << "1.0,12,0703E8" << -1 << 0.0 << 0 << "";
        QTest::newRow("words") << "time,pid,date,reply" << -1 << 0.0 << 0 << "";
        QTest::newRow("PID 257") << "1,257,0,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("PID 1.5") << "1,1.5,0,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("negative time") << "-1,12,0,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("unknown kind") << "95000,12,0,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("not a number") << "nan,12,0,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("mark date far out") << "90001,0,1e300,x" << -1 << 0.0 << 0 << "";
        QTest::newRow("CSV row") << "7:23:08 PM,3000,7:23:08 PM,37," << -1 << 0.0 << 0 << "";
    }
    void records() {
        QFETCH(QString, line);
        QFETCH(int, kind);
        QFETCH(double, time);
        QFETCH(int, pid);
        QFETCH(QString, text);
        const auto record = parseRecord(line);
        QCOMPARE(record.has_value(), kind >= 0);
        if (!record) return;
        QCOMPARE(int(record->kind), kind);
        QCOMPARE(record->time, time);
        QCOMPARE(record->pid, pid);
        QCOMPARE(record->text, text);
    }

    void writtenLinesReadBack() {
        const QDateTime start(QDate(2026, 12, 6), QTime(19, 23, 8, 250));
        QCOMPARE(dateValue(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
        const auto mark = parseRecord(markRecordLine(start, QStringLiteral("12/6/2026 7:23:08 PM")));
        QVERIFY(mark);
        QCOMPARE(fromDateValue(mark->date), start);
        QCOMPARE(mark->text, QStringLiteral("12/6/2026 7:23:08 PM"));
        const auto data = parseRecord(dataRecordLine(12.3456, 12, kRpm));
        QVERIFY(data);
        QCOMPARE(data->time, 12.346);
        QCOMPARE(data->text, kRpm);
    }

    // Two marks in file order, an eleventh channel without a slot, and lines that are
    // no records skipped and counted while everything else plays.
    void twoMarksElevenChannelsAndMalformedLines() {
        Rig rig;
        QStringList lines = {QStringLiteral("90001,0,46000.5,first"), QStringLiteral("90000,12,0,Engine RPM"),
                             QStringLiteral("0,12,0,") + kRpm, QStringLiteral("garbage"),
                             QStringLiteral("90001,0,46000.6,second")};
        const QList<int> pids = {4, 5, 6, 11, 12, 14, 15, 16, 17, 31, 13};
        for (int pid : pids)
            lines << QStringLiteral("90000,%1,0,").arg(pid);
        lines << QStringLiteral("0.5,12,0,") + kRpm << QStringLiteral("0.6,13,0,") + kSpeed << QStringLiteral("1,2,3")
              << QString(5000, QLatin1Char('9')) << QStringLiteral("0.7,999,0,x");
        rig.open(lines);
        QCOMPARE(rig.player.marks, QStringList({"first", "second"}));
        QCOMPARE(rig.player.markIndex, 0);
        QCOMPARE(rig.player.skippedLines(), 4);

        rig.playAt(kMax);
        QCOMPARE(rig.player.Label2, QStringLiteral("second"));
        QCOMPARE(rig.player.slotCount, 10);
        QCOMPARE(rig.player.replaySlots[4].pid, 12);
        QCOMPARE(rig.player.replaySlots[4].name, QStringLiteral("Engine RPM")); // the decoder's name
        QCOMPARE(rig.player.replaySlots[4].value, QStringLiteral("3000 RPM"));
        QCOMPARE(rig.player.replaySlots[9].pid, 31);
        QVERIFY(!rig.player.controls.play); // the end unchecks play
    }

    // Waits follow the recorded time differences divided by the speed; "Max" does not wait.
    void pacing_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("seconds");
        QTest::newRow("1x") << 3 << 10.0;
        QTest::newRow("5x") << 7 << 2.0;
        QTest::newRow("20x") << 9 << 0.5;
        QTest::newRow("Max") << kMax << 0.0;
    }
    void pacing() {
        QFETCH(int, speed);
        QFETCH(double, seconds);
        Rig rig;
        QStringList lines = {QStringLiteral("90001,0,46000.5,start"), QStringLiteral("90000,12,0,")};
        for (int t = 0; t <= 10; ++t)
            lines << QStringLiteral("%1,12,0,").arg(t) + kRpm;
        rig.open(lines);
        const double start = rig.clock.now();
        rig.playAt(speed);
        QVERIFY2(qAbs(rig.clock.now() - start - seconds) < 0.05, qPrintable(QString::number(rig.clock.now() - start)));
    }

    // A jump shows the chosen mark and pauses there; each step lets one record through.
    void jumpAndStep() {
        Rig rig;
        rig.open({QStringLiteral("90001,0,46000.5,first"), QStringLiteral("90000,12,0,"),
                  QStringLiteral("1,12,0,") + kRpm, QStringLiteral("90001,0,46000.6,second"),
                  QStringLiteral("90000,13,0,"), QStringLiteral("1,13,0,") + kSpeed});
        QList<QString> shown;
        int steps = 0;
        rig.clock.onYield = [&](double) {
            if (rig.player.controls.play) return;
            if (steps == 0) shown << rig.player.Label2;
            if (steps++ < 2)
                rig.player.controls.setStep(true);
            else
                rig.player.Command1_Click();
        };
        bool closed = false;
        connect(&rig.player, &RecordingPlayer::closed, this, [&] { closed = true; });
        rig.player.markIndex = 1;
        rig.player.Command2_Click();
        QCOMPARE(shown, QList<QString>({"second"}));
        QCOMPARE(rig.player.replaySlots[0].pid, 13); // the channel record, one step
        QCOMPARE(rig.player.replaySlots[0].value, QStringLiteral("60 km/h    37.3 MPH")); // the data, the next
        QVERIFY(closed);
    }

    // A parameter's gauge and graph boxes carry over into the next section, wherever its
    // slot is there.
    void choicesCarryIntoTheNextSection() {
        Rig rig;
        rig.open({QStringLiteral("90001,0,46000.5,first"), QStringLiteral("90000,12,0,"),
                  QStringLiteral("90001,0,46000.6,second"), QStringLiteral("90000,13,0,"),
                  QStringLiteral("90000,12,0,")});
        rig.clock.onYield = [&](double) {
            if (rig.player.controls.play) return;
            if (rig.player.slotCount == 1 && rig.player.Label2 == QLatin1String("first")) {
                rig.player.Check1_Click(0, true);
                rig.player.Check2_Click(0, true);
            }
            rig.player.controls.setStep(true);
        };
        rig.player.controls.setStep(true);
        rig.player.playing();
        QCOMPARE(rig.player.Label2, QStringLiteral("second"));
        QCOMPARE(rig.player.replaySlots[0].pid, 13);
        QVERIFY(!rig.player.replaySlots[0].showGauge && !rig.player.replaySlots[0].plot);
        QCOMPARE(rig.player.replaySlots[1].pid, 12);
        QVERIFY(rig.player.replaySlots[1].showGauge && rig.player.replaySlots[1].plot);
    }

    void unreadableFileIsReported() {
        Rig rig;
        QString error;
        QVERIFY(!rig.player.open(rig.dir.filePath("none.log"), &error));
        QVERIFY(!error.isEmpty());
    }
};

ZELCOR_TEST(RecordingTest)
#include "recording_test.moc"
