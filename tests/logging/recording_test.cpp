#include "fakeclock.h"
#include "logging/recordingplayer.h"
#include "testmain.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// 3000 RPM and 60 km/h from the engine at E8, as the live pass records them.
const QString kRpm = QStringLiteral("0704E8410C2EE0");
const QString kSpeed = QStringLiteral("0703E8410D3C");

// A player on a recording of `lines`.
struct Rig {
    QTemporaryDir dir;
    FakeClock clock;
    Settings settings;
    RecordingPlayer player{clock, settings};

    explicit Rig(const QStringList& lines) {
        QFile f(dir.filePath("drive.log"));
        if (f.open(QIODevice::WriteOnly)) f.write((lines.join("\r\n") + "\r\n").toLatin1());
        f.close();
        player.open(f.fileName());
    }
};

} // namespace

class RecordingTest : public QObject {
    Q_OBJECT
private slots:
    void records_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("record"); // kind, time, PID, date, text; "-" for none
        const char* const rows[][3] = {
            {"mark", "90001,0,46000.5,Mark 1, at home", "0 0 0 46000.5 Mark 1, at home"},
            {"channel", "90000,12,0,Engine RPM", "1 0 12 0 Engine RPM"},
            {"data", " 1.25 , 13 , 0 ,0703E8410D3C", "2 1.25 13 0 0703E8410D3C"},
            {"PID 256, empty rest", "2,256,0,", "2 2 256 0 "},
            {"two fields", "1.0,12,0703E8", "-"},
            {"PID 257", "1,257,0,x", "-"},
            {"PID 1.5", "1,1.5,0,x", "-"},
            {"negative time", "-1,12,0,x", "-"},
            {"unknown kind", "95000,12,0,x", "-"},
            {"not a number", "nan,12,0,x", "-"},
            {"mark date far out", "90001,0,1e300,x", "-"},
            {"manufacturer channel", "90002,10003,0,-120\t120\tkW\tPack power", "3 0 10003 0 Pack power"},
            {"manufacturer channel, three fields", "90002,10003,0,-120\t120\tPack power", "-"},
            {"manufacturer channel on a PID", "90002,12,0,\t\t\tx", "-"},
            {"manufacturer value", "1.5,10003,0,-3.25", "2 1.5 10003 0 -3.25"},
            {"PID record on a manufacturer code", "90000,10003,0,x", "-"},
            {"definitions", "90003,0,0,a.csv\tb.csv", "4 0 0 0 a.csv\tb.csv"},
        };
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }
    void records() {
        QFETCH(QString, line);
        const auto r = parseRecord(line);
        QTEST(r ? QStringLiteral("%1 %2 %3 %4 ").arg(int(r->kind)).arg(r->time).arg(r->pid).arg(r->date) + r->text
                : QStringLiteral("-"),
              "record");
    }

    // Date values count days since 30 December 1899; written records read back.
    void writtenLinesReadBack() {
        const QDateTime start(QDate(2026, 12, 6), QTime(19, 23, 8, 250));
        QCOMPARE(dateValue(QDateTime(QDate(2000, 1, 1), QTime(12, 0))), 36526.5);
        QCOMPARE(fromDateValue(parseRecord(markRecordLine(start, QStringLiteral("x"))).value().date), start);
        QCOMPARE(parseRecord(dataRecordLine(12.3456, 12, kRpm)).value().time, 12.346);
        // A scale open at one end, tabs in a name.
        const auto channel = parseRecord(manufacturerChannelRecordLine(10002, "Cell\t1", "V", 2.5, std::nullopt));
        QVERIFY(channel && channel->minimum == 2.5 && !channel->maximum);
        QCOMPARE(channel->units + '|' + channel->text, QStringLiteral("V|Cell 1"));
        QCOMPARE(parseRecord(definitionsRecordLine({"a.csv", "b c.csv"})).value().files,
                 (QStringList{"a.csv", "b c.csv"}));
    }

    // Lines that hold no record (an overlong one too) are skipped and counted; a channel
    // beyond the tenth slot and data without a slot are passed over. Waits follow the
    // recorded time differences divided by the speed; "Max" does not wait.
    void play_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("seconds");
        QTest::newRow("1x") << 3 << 10.0;
        QTest::newRow("Max") << kReplaySpeeds - 1 << 0.0;
    }
    void play() {
        QFETCH(int, speed);
        QFETCH(double, seconds);
        QStringList lines = {"90001,0,46000.5,first", "garbage", "1,2,3"};
        for (int pid : {4, 5, 6, 11, 12, 14, 15, 16, 17, 31, 13})
            lines << QStringLiteral("90000,%1,0,").arg(pid);
        for (int t = 0; t <= 10; ++t)
            lines << QStringLiteral("%1,12,0,").arg(t) + kRpm;
        lines << "10,13,0," + kSpeed << "10,12,0," + QString(5000, QLatin1Char('A'));
        Rig rig(lines);
        QCOMPARE(rig.player.skippedLines(), 3);
        rig.player.controls().speedIndex = speed;
        const double start = rig.clock.now();
        rig.player.playClicked(true);
        QVERIFY2(qAbs(rig.clock.now() - start - seconds) < 0.05, qPrintable(QString::number(rig.clock.now() - start)));
        QCOMPARE(rig.player.slotCount(), 10);
        QCOMPARE(rig.player.replaySlots()[4].value, QStringLiteral("3000 RPM"));
        QCOMPARE(rig.player.replaySlots()[9].pid, 31);
    }

    // A jump shows the chosen mark and pauses; each step lets one record through. A
    // parameter's gauge and graph boxes carry into the next section, wherever its slot is.
    // Close ends the loop.
    void jumpStepAndClose() {
        Rig rig({"90001,0,46000.4,zero", "90000,12,0,", "90001,0,46000.5,first", "90000,12,0,",
                 "90001,0,46000.6,second", "90000,13,0,", "90000,12,0,", "1,13,0," + kSpeed});
        QStringList pauses; // the mark and the slots given
        rig.clock.onYield = [&](double) {
            if (rig.player.controls().play) return;
            pauses << rig.player.markText() + QString::number(rig.player.slotCount());
            if (pauses.size() == 2) {
                rig.player.setShowGauge(0, true);
                rig.player.setPlot(0, true);
            }
            if (pauses.size() < 6) rig.player.controls().setStep(true);
            if (pauses.size() == 6) rig.player.close();
        };
        QSignalSpy closed(&rig.player, &RecordingPlayer::closed);
        rig.player.setMarkIndex(1);
        rig.player.jumpToMark();
        QCOMPARE(pauses, (QStringList{"first0", "first1", "second0", "second1", "second2", "second2"}));
        QVERIFY(closed.size() == 1 && !rig.player.running());
        const auto& slot = rig.player.replaySlots();
        QVERIFY(slot[0].pid == 13 && !slot[0].showGauge && !slot[0].plot);
        QCOMPARE(slot[0].value, QStringLiteral("60 km/h    37.3 MPH"));
        QVERIFY(slot[1].pid == 12 && slot[1].showGauge && slot[1].plot);
    }
};

ZELCOR_TEST(RecordingTest)
#include "recording_test.moc"
