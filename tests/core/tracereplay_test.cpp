#include "sessionrig.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

qint64 fileSize(const QString& path) {
    return QFileInfo(path).size();
}

// A whole program on the simulated car with its own clock and port.
struct Program {
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Session session;

    Program(const QString& folder, const QString& profile)
        : port(clock, carOptions(profile)), session(clock, port, host, folder) {
        session.settings.recording = true; // Debug on
    }
};

struct Panels {
    GeneralInfoPanel info;
    QStringList stored, pending;
    QString protocol;
    QStringList functions;
    QStringList liveValues; // the live-data rows' value boxes

    static Panels of(const Session& s) {
        QStringList values;
        for (const LiveRow& row : s.liveRows)
            values << row.value;
        return {s.generalInfo, s.List5, s.List6, s.protocolText, s.List4, values};
    }
};

void compare(const Panels& replayed, const Panels& live) {
    QCOMPARE(replayed.info.codeCount, live.info.codeCount);
    QCOMPARE(replayed.info.mil, live.info.mil);
    QCOMPARE(replayed.info.continuous, live.info.continuous);
    QCOMPARE(replayed.info.nonContinuous, live.info.nonContinuous);
    QCOMPARE(replayed.info.incomplete, live.info.incomplete);
    QCOMPARE(replayed.info.controllers, live.info.controllers);
    QCOMPARE(replayed.info.currentAddress, live.info.currentAddress);
    QCOMPARE(replayed.stored, live.stored);
    QCOMPARE(replayed.pending, live.pending);
    QCOMPARE(replayed.protocol, live.protocol);
    QCOMPARE(replayed.functions, live.functions);
    QCOMPARE(replayed.liveValues, live.liveValues);
}

// Records a drive with Debug on: detection, General Info, the trouble codes, then live
// data on two rows the user enabled, then DISCONNECT. Returns the panels as the live
// program showed them.
Panels record(const QString& folder, const QString& profile) {
    Program live(folder, profile);
    int passes = 0;
    auto pass = live.session.connection.hooks.runPass;
    live.session.connection.hooks.runPass = [&] {
        ++passes;
        if (passes == 4) live.session.funccode = 254;
        pass();
        if (passes == 6) {
            live.session.liveRows[1].enabled = true;
            live.session.liveRows[3].enabled = true;
            live.session.funccode = 250;
        }
        if (passes == 10) live.session.connection.DISCONNECT();
    };
    live.session.connection.CONNECT();
    return Panels::of(live.session);
}

} // namespace

class TraceReplayTest : public QObject {
    Q_OBJECT
private slots:
    void replyLinesReadBackUnchanged_data() {
        QTest::addColumn<QString>("reply");
        QTest::newRow("empty") << "";
        QTest::newRow("one line") << "41 0C 1A F8 \r\r>";
        QTest::newRow("several lines") << "7E8 10 13 43 06 01 43\r\n7E8 21 01 96\r\r>";
        QTest::newRow("backslashes") << "\\r\\\\n\\";
        QTest::newRow("looks like the support tag") << "M";
    }
    void replyLinesReadBackUnchanged() {
        QFETCH(QString, reply);
        const QString line = Link::replyLine(reply);
        QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        QVERIFY(isReplyLine(line));
        QCOMPARE(Link::replyFromLine(line), reply);
    }

    // A trace recorded with Debug on replays through the whole program ("V") and shows
    // the panels the live program showed, without touching the port or the log.
    void recordedTraceReplaysTheSamePanels_data() {
        QTest::addColumn<QString>("profile");
        QTest::newRow("11-bit CAN, two controllers") << "can11";
        QTest::newRow("legacy") << "legacy";
        QTest::newRow("many codes") << "manycodes";
    }
    void recordedTraceReplaysTheSamePanels() {
        QFETCH(QString, profile);
        QTemporaryDir dir;
        const Panels live = record(dir.path(), profile);
        // A fresh program shows none of this, so equal panels below mean a real replay.
        QVERIFY(!live.info.codeCount.isEmpty());
        QVERIFY(!live.info.controllers.isEmpty());
        QVERIFY(!live.stored.isEmpty());
        QVERIFY(!live.liveValues[1].isEmpty() && !live.liveValues[3].isEmpty());
        const QString log = dir.filePath("log.txt");
        const qint64 logSize = fileSize(log);

        Program replay(dir.path(), QStringLiteral("nocar"));
        int plays = 0;
        replay.clock.onYield = [&](double) {
            Session& s = replay.session;
            if (s.traceControls.play) return;
            if (plays++ == 0)
                s.traceControls.setPlay(true);
            else if (!s.connection.running())
                s.endTraceReplay(); // the replay window closed after the end
        };
        replay.session.Command13_Click();

        compare(Panels::of(replay.session), live);
        QVERIFY(replay.port.written().isEmpty());
        QCOMPARE(fileSize(log), logSize);
        QVERIFY(!replay.session.replaying);
        QVERIFY(!replay.session.traceTime.isEmpty());
    }

    // Step lets one pass through and pauses again.
    void stepRunsOnePass() {
        QTemporaryDir dir;
        record(dir.path(), QStringLiteral("can11"));
        Program replay(dir.path(), QStringLiteral("nocar"));
        int passes = 0;
        bool inPass = false;
        auto pass = replay.session.connection.hooks.runPass;
        replay.session.connection.hooks.runPass = [&] {
            ++passes;
            inPass = true;
            pass();
            inPass = false;
        };
        QList<int> passesAtPause;
        replay.clock.onYield = [&](double) {
            Session& s = replay.session;
            if (inPass || s.traceControls.play || !s.connection.running()) return;
            if (passesAtPause.isEmpty() || passesAtPause.last() != passes) passesAtPause << passes;
            if (passesAtPause.size() < 4)
                s.traceControls.setStep(true);
            else
                s.endTraceReplay();
        };
        replay.session.Command13_Click();
        QCOMPARE(passesAtPause, QList<int>({0, 1, 2, 3}));
    }

    // Passes follow the recorded pass times divided by the speed; "Max" does not wait.
    void passesArePacedByTheirRecordedTimes_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<double>("seconds");
        QTest::newRow("1x") << 3 << 4.0;
        QTest::newRow("2x") << 5 << 2.0;
        QTest::newRow("Max") << kReplaySpeeds - 1 << 0.0;
    }
    void passesArePacedByTheirRecordedTimes() {
        QFETCH(int, speed);
        QFETCH(double, seconds);
        QTemporaryDir dir;
        QFile log(dir.filePath("log.txt"));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("F255\r\n");
        for (const char* time : {"10:00:00.000", "10:00:02.000", "10:00:04.000"})
            log.write(QByteArray("S0100\r\nR41 00 BE 3F A8 13\\r\\r>\r\nT2026-12-06 ") + time + "\r\n");
        log.close();
        Program replay(dir.path(), QStringLiteral("nocar"));
        replay.session.traceControls.speedIndex = speed;
        replay.session.traceControls.setPlay(true);
        replay.session.replaying = true;
        QVERIFY(replay.session.trace.openForReplay());
        double firstPassEnd = 0;
        int passes = 0;
        auto pass = replay.session.connection.hooks.runPass;
        replay.session.connection.hooks.runPass = [&] {
            pass();
            if (++passes == 1) firstPassEnd = replay.clock.now();
        };
        replay.session.connection.CONNECT();
        QCOMPARE(passes, 3);
        const double took = replay.clock.now() - firstPassEnd;
        QVERIFY2(took >= seconds && took < seconds + 0.1, qPrintable(QString::number(took)));
    }

    void missingTraceIsReported() {
        QTemporaryDir dir;
        Program replay(dir.path(), QStringLiteral("nocar"));
        replay.session.Command13_Click();
        QVERIFY(!replay.session.replaying);
        QCOMPARE(replay.host.messages.size(), 1);
        QVERIFY(replay.host.messages[0].text.startsWith("There is no trace log to replay"));
    }
};

ZELCOR_TEST(TraceReplayTest)
#include "tracereplay_test.moc"
