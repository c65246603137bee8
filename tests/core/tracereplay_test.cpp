#include "core/session.h"
#include "fakeclock.h"
#include "recordinghost.h"
#include "simport.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

qint64 fileSize(const QString& path) { return QFileInfo(path).size(); }

// A whole program on the simulated car with its own clock and port.
struct Program {
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Session session;

    Program(const QString& folder, const QString& profile) : port(clock, options(profile)), session(clock, port, host, folder) {
        session.settings.recording = true; // Debug on
    }
    static sim::Options options(const QString& profile) {
        sim::Options o;
        o.profile = profile;
        return o;
    }
};

struct Panels {
    GeneralInfoPanel info;
    QStringList stored, pending;
    QString protocol;
    QStringList functions;

    static Panels of(const Session& s) { return {s.generalInfo, s.List5, s.List6, s.protocolText, s.List4}; }
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
}

// Records a drive with Debug on: detection, General Info, then the trouble codes, then
// DISCONNECT. Returns the panels as the live program showed them.
Panels record(const QString& folder, const QString& profile) {
    Program live(folder, profile);
    int passes = 0;
    auto pass = live.session.connection.hooks.runPass;
    live.session.connection.hooks.runPass = [&] {
        ++passes;
        if (passes == 4)
            live.session.funccode = 254;
        pass();
        if (passes == 8)
            live.session.connection.DISCONNECT();
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
        const QString log = dir.filePath("log.txt");
        const qint64 logSize = fileSize(log);

        Program replay(dir.path(), QStringLiteral("nocar"));
        int plays = 0;
        replay.clock.onYield = [&](double) {
            Session& s = replay.session;
            if (s.traceControls.play)
                return;
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
            if (inPass || s.traceControls.play || !s.connection.running())
                return;
            if (passesAtPause.isEmpty() || passesAtPause.last() != passes)
                passesAtPause << passes;
            if (passesAtPause.size() < 4)
                s.traceControls.setStep(true);
            else
                s.endTraceReplay();
        };
        replay.session.Command13_Click();
        QCOMPARE(passesAtPause, QList<int>({0, 1, 2, 3}));
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
