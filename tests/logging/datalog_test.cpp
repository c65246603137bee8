#include "logging/recordingplayer.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The live-data function on the engine at 7E8; the user has chosen drive.csv.
struct Rig : SessionRig {
    Rig() {
        session.funccode = 250;
        answers["010C"] = "7E8 04 41 0C 2E E0\r\r>"; // 3000 RPM
        answers["010D"] = "7E8 03 41 0D 3C\r\r>";    // 60 km/h
        host.saveAnswer = dir.filePath("drive");
    }
    QString csvPath() const { return dir.filePath("drive.csv"); }
    QStringList csvLines() const { return QString::fromUtf8(file("drive.csv")).split(QStringLiteral("\r\n")); }
};

// A data row of `slots` recorded slots: "time,value," for each.
QRegularExpression rowPattern(const QStringList& values) {
    QString pattern = QStringLiteral("^");
    for (const QString& v : values)
        pattern += QStringLiteral("\\d{1,2}:\\d\\d:\\d\\d[^,]*,") + QRegularExpression::escape(v) + QLatin1Char(',');
    return QRegularExpression(pattern + QLatin1Char('$'));
}

const QString kRpmHeader = QStringLiteral("Time,RPM (1/min) [0~8000],");

} // namespace

class DataLogTest : public QObject {
    Q_OBJECT
private slots:
    void fileNamesGetTheCsvExtension_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("path");
        QTest::newRow("no extension") << "drive"
                                      << "drive.csv";
        QTest::newRow("lower case") << "drive.csv"
                                    << "drive.csv";
        QTest::newRow("upper case") << "DRIVE.CSV"
                                    << "DRIVE.CSV";
        QTest::newRow("other extension") << "drive.txt"
                                         << "drive.txt.csv";
        QTest::newRow("no dot before it") << "drivecsv"
                                          << "drivecsv.csv";
    }
    void fileNamesGetTheCsvExtension() {
        QFETCH(QString, chosen);
        QFETCH(QString, path);
        Rig rig;
        rig.host.saveAnswer = rig.dir.filePath(chosen);
        rig.session.Command14_Click();
        QCOMPARE(rig.session.datalog.path, rig.dir.filePath(path));
        QCOMPARE(rig.session.datalog.title, path);
        QCOMPARE(rig.host.saveRequests.size(), 1);
        QCOMPARE(rig.host.saveRequests[0].proposedPath, rig.dir.filePath("noname.csv"));
        QCOMPARE(rig.host.messages.size(), 1); // the TIP
        QVERIFY(rig.host.messages[0].text.startsWith("TIP:  After this message"));
    }

    void cancelledDialogAndStartWithoutChannelsChangeNothing() {
        Rig rig;
        rig.host.saveAnswer.clear();
        rig.session.Command14_Click();
        QCOMPARE(rig.session.datalog.title, QStringLiteral("noname"));
        rig.host.saveAnswer = rig.dir.filePath("drive");
        rig.session.Command14_Click();
        rig.session.Command15_Click(); // no row enabled
        QVERIFY(!rig.session.datalog.logging);
        QVERIFY(!QFile::exists(rig.csvPath()));
    }

    // RPM in row 0 and speed in row 3: two groups in the header, rows of four fields
    // and a trailing comma; Stop ends the log with an empty line.
    void headerAndRowsForTwoSlots() {
        Rig rig;
        rig.channel(0, 12);
        rig.channel(3, 13);
        rig.session.Command14_Click();
        rig.session.Command15_Click();
        rig.session.COMMS();
        rig.session.COMMS();
        rig.session.Command16_Click();
        const QStringList lines = rig.csvLines();
        QCOMPARE(lines.size(), 6); // mark, header, two rows, end, and the text after the last CR LF
        QCOMPARE(lines[0], QString());
        QCOMPARE(lines[1], kRpmHeader + "Time,Speed (MPH) [0~158.5],");
        for (int i : {2, 3})
            QVERIFY2(rowPattern({"3000", "37"}).match(lines[i]).hasMatch(), qPrintable(lines[i]));
        QCOMPARE(lines[4], QString());
        QCOMPARE(lines[5], QString());
    }

    // Start / Mark while logging ends the row under way, writes a new header, and drops
    // the rest of that pass; an existing file is extended, never truncated.
    void markDuringAPassStartsANewSection() {
        Rig rig;
        QVERIFY(rig.write("drive.csv", "earlier drive\r\n"));
        rig.channel(0, 12);
        rig.channel(1, 13);
        rig.session.Command14_Click();
        rig.session.Command15_Click();
        rig.session.COMMS();
        // Mark pressed while the second pass waits for the RPM reply.
        bool marked = false;
        rig.clock.onYield = [&](double) {
            if (!marked && rig.port.lines.size() > 0 && rig.port.lines.last() == "010C") {
                marked = true;
                rig.session.Command15_Click();
            }
        };
        rig.port.lines.clear();
        rig.session.COMMS();
        rig.clock.onYield = nullptr;
        rig.session.COMMS();
        const QStringList lines = rig.csvLines();
        QCOMPARE(lines[0], QStringLiteral("earlier drive"));
        QCOMPARE(lines[1], QString());
        QVERIFY(lines[2].startsWith(kRpmHeader));
        QVERIFY(rowPattern({"3000", "37"}).match(lines[3]).hasMatch());
        QCOMPARE(lines[4], QString()); // the mark line (the second pass wrote nothing)
        QCOMPARE(lines[5], lines[2]);
        QVERIFY(rowPattern({"3000", "37"}).match(lines[6]).hasMatch());
        QCOMPARE(lines.size(), 8);
    }

    // Every finished row is on its way to the disk before the next pass: another reader
    // sees it while the log is still open, so a killed program loses none of them.
    void finishedRowsReachTheFileAtOnce() {
        Rig rig;
        rig.channel(0, 12);
        rig.session.Command14_Click();
        rig.session.Command15_Click();
        for (int pass = 1; pass <= 3; ++pass) {
            rig.session.COMMS();
            const QStringList lines = rig.csvLines();
            QCOMPARE(lines.size(), 3 + pass);
            QVERIFY(rowPattern({"3000"}).match(lines[1 + pass]).hasMatch());
        }
        QVERIFY(rig.session.datalog.logging);
    }

    void unwritableFileIsReportedAndNothingStarts() {
        Rig rig;
        rig.channel(0, 12);
        rig.host.saveAnswer = rig.dir.filePath("missing/folder/drive.csv");
        rig.session.Command14_Click();
        rig.session.Command15_Click();
        QVERIFY(!rig.session.datalog.logging);
        QCOMPARE(rig.host.messages.last().title, QStringLiteral("Error"));
        QVERIFY(rig.host.messages.last().text.startsWith("The data log could not be opened:"));
    }

    // Beside the CSV log a recording of the same drive is written, and the replay
    // window's player shows it with the values the live panel showed.
    void loggedDriveReplays() {
        Rig rig;
        rig.channel(0, 12);
        rig.channel(1, 13);
        rig.channel(2, 998); // a derived channel has no replies to record
        rig.session.Command14_Click();
        rig.session.Command15_Click();
        rig.session.COMMS();
        rig.answers["010C"] = "7E8 04 41 0C 1F 40\r\r>"; // 2000 RPM
        rig.session.COMMS();
        rig.session.Command15_Click();
        rig.session.COMMS();
        rig.session.Command16_Click();
        const QString live0 = rig.session.liveRows[0].value;
        const QString live1 = rig.session.liveRows[1].value;

        RecordingPlayer player(rig.clock, rig.session.settings);
        QVERIFY(player.open(rig.dir.filePath("drive.log")));
        QCOMPARE(player.marks.size(), 2);
        QCOMPARE(player.skippedLines(), 0);
        player.controls.speedIndex = kReplaySpeeds - 1; // Max
        player.controls.setPlay(true);
        player.playing();
        QCOMPARE(player.slotCount, 2);
        QCOMPARE(player.replaySlots[0].name, QStringLiteral("RPM"));
        QCOMPARE(player.replaySlots[0].value, live0);
        QCOMPARE(player.replaySlots[1].value, live1);
    }
};

ZELCOR_TEST(DataLogTest)
#include "datalog_test.moc"
