#include "sessionrig.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <utility>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The live-data (or graph) function on the engine at 7E8; rows and traces list the same channels.
struct LiveRig : SessionRig {
    LiveData& live = session.live();

    explicit LiveRig(Function function = Function::LiveData) {
        session.navigation().setFunction(function);
        live.clearChannels();
        for (int code : {17, 16, 15, 13, 12, 5, 3, 18, 999, 998, 997})
            live.addChannelLast({QStringLiteral("channel %1").arg(code), code});
        answers["010C"] = "7E8 04 41 0C 2E E0\r\r>"; // 3000 RPM
        answers["010D"] = "7E8 03 41 0D 60\r\r>";    // 96 km/h, 60 MPH
        answers["0110"] = "7E8 04 41 10 03 E8\r\r>"; // 10 g/s
        answers["0105"] = "7E8 03 41 05 5A\r\r>";    // 122 deg F
    }
    void rows(const QList<int>& codes) { // enabled, from the top
        for (int i = 0; i < codes.size(); ++i) {
            live.chooseRowChannel(i, entryIndex(live.row(i).channel, codes[i]));
            live.setRowEnabled(i, true);
        }
    }
    void traces(const QList<int>& codes) { // negative: switched off
        for (int t = 0; t < codes.size(); ++t) {
            live.chooseTraceChannel(t, entryIndex(live.trace(t).channel, qAbs(codes[t])));
            live.setTraceEnabled(t, codes[t] > 0);
        }
    }
    QString text(int i) const { return live.row(i).value; }
    // File "drive", then Start on the rows enabled so far.
    void startLog() {
        host.saveAnswer = dir.filePath(QStringLiteral("drive"));
        live.dataLog().chooseFile();
        live.startOrMarkLog();
    }
    QStringList csv() const { return QString::fromUtf8(file(QStringLiteral("drive.csv"))).split("\r\n"); }
    // A CSV row without its times ("value," each), by default the last one.
    QString logged(int line = -2) const {
        return csv()
            .value(line < 0 ? csv().size() + line : line)
            .remove(QRegularExpression("\\d+:\\d\\d:\\d\\d[^,]*,"));
    }
};

} // namespace

class LiveDataTest : public QObject {
    Q_OBJECT
private slots:
    // A speed reply without a value: a rejected one empties the row, none at all leaves it
    // as it was; either logs an empty field, and the power row sees no speed.
    void speedWithoutValue_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("another controller") << QByteArray("7E9 03 41 0D 3C\r\r>") << true;
        QTest::newRow("negative answer") << QByteArray("7E8 03 7F 01 12\r\r>") << true;
        QTest::newRow("another parameter") << QByteArray("7E8 04 41 0C 2E E0\r\r>") << true;
        QTest::newRow("no reply") << QByteArray(">") << false;
    }
    void speedWithoutValue() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, rejected);
        LiveRig rig;
        rig.rows({12, 13, 998});
        rig.pass();
        const QString speed = rig.text(1);
        rig.answers["010D"] = reply;
        rig.startLog();
        rig.pass();
        QCOMPARE(rig.text(1), rejected ? QString() : speed);
        QCOMPARE(rig.live.row(1).number.has_value(), !rejected);
        QCOMPARE(rig.text(2), QStringLiteral("Enable Speed above to view HP"));
        QCOMPARE(rig.logged(), "3000,," + rig.text(2) + ",");
        QVERIFY(rig.live.history().speeds.isEmpty(1) && !rig.live.history().engineSpeeds.isEmpty(1));
        QCOMPARE(rig.session.link().linkLost(), !rejected);
    }

    // Derived rows see the inputs decoded above them in the pass, and earlier (faster) speeds.
    void derivedRows_data() {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("text"); // of the derived row
        QTest::newRow("economy above the air flow") << QList<int>{13, 999, 16} << "Enable Speed and MAF above for MPG";
        QTest::newRow("torque above the RPM") << QList<int>{13, 997, 12} << "Enable Speed and RPM above for Torque";
        QTest::newRow("economy below speed and air flow") << QList<int>{13, 16, 999} << "64.82";
        QTest::newRow("slowing down: no torque") << QList<int>{12, 13, 997} << "0";
    }
    void derivedRows() {
        QFETCH(QList<int>, codes);
        LiveRig rig;
        rig.rows(codes);
        rig.answers["010D"] = "7E8 03 41 0D A0\r\r>";
        for (int i = 0; i < 4; ++i)
            rig.pass();
        rig.answers["010D"] = "7E8 03 41 0D 60\r\r>";
        rig.pass();
        const int row = int(std::find_if(codes.begin(), codes.end(), [](int c) { return c > 995; }) - codes.begin());
        QTEST(rig.text(row), "text");
    }

    // Another function or a stop mid-pass skips the rows below; the pass ends with its rate and
    // a log row whose skipped rows are empty.
    void interruptedPass_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("another function") << false;
        QTest::newRow("stop") << true;
    }
    void interruptedPass() {
        QFETCH(bool, stop);
        LiveRig rig;
        rig.answers["0103"] = "7E8 04 41 03 02 00\r\r>";
        rig.rows({3, 13, 12});
        rig.startLog();
        rig.clock.onYield = [&](double) {
            if (rig.port.lines.size() == 2 && stop) rig.session.link().requestStop();
            if (rig.port.lines.size() == 2 && !stop) rig.session.navigation().setFunction(Function::GeneralInfo);
        };
        rig.pass();
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"0103", "010D"}));
        QCOMPARE(rig.logged(), QStringLiteral("S1: Closed Loop,60,,"));
        QVERIFY(rig.live.passRate().endsWith(QLatin1String(" /sec")));
    }

    // A row asked every 2nd pass: the passes between ask only the others, and the log row
    // carries its latest value, in its column, on every pass; a new channel in the row is
    // asked at once and logs nothing of the old one.
    void rowAskedEverySecondPass() {
        LiveRig rig;
        rig.rows({12, 13});
        rig.live.setRowInterval(1, 2);
        rig.startLog();
        QList<QByteArray> asked;
        for (int pass = 0; pass < 3; ++pass) {
            rig.port.lines.clear();
            rig.pass();
            asked += rig.port.lines;
            QCOMPARE(rig.logged(), QStringLiteral("3000,60,"));
        }
        QCOMPARE(asked, (QList<QByteArray>{"010C", "010D", "010C", "010C", "010D"}));
        rig.live.dataLog().stop();
        rig.live.chooseRowChannel(1, entryIndex(rig.live.row(1).channel, 5));
        rig.port.lines.clear();
        rig.pass();
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"010C", "0105"}));
    }

    // A replayed pass waits for nothing, so it measures no rate: the previous one stays.
    void replayedPassKeepsTheRate() {
        LiveRig rig;
        rig.rows({12});
        rig.pass();
        const QString rate = rig.live.passRate();
        QVERIFY(rig.write("log.txt", "F250\r\nS010C\r\nR7E8 04 41 0C 1A F8\r\nT 12:00:00\r\n"));
        QObject::connect(&rig.live, &LiveData::rowChanged, [&] { rig.clock.advance(0.003); }); // repaints take time
        TraceReplay& replay = rig.session.traceReplay();
        const auto pass = rig.session.connection().hooks().runPass;
        rig.session.connection().setPassRunner([&, pass] { // the engine a detection would have found
            rig.session.link().setSelectedController(QStringLiteral("E8"));
            rig.session.link().setHeaderLayout(HeaderLayout::Can11);
            pass();
        });
        replay.controls().setPlay(true);
        rig.clock.onYield = [&](double) {
            if (!replay.controls().play) replay.end();
        };
        replay.run();
        QCOMPARE(rig.text(0), QStringLiteral("1726 RPM"));
        QCOMPARE(rig.live.passRate(), rate);
    }

    // Row i takes the i-th channel of rebuilt lists where there is one; no request, no rate.
    void defaultSelectionOfAShortList() {
        LiveRig rig;
        rig.rows({12});
        rig.pass();
        rig.live.clearChannels();
        for (int code = 1; code <= 7; ++code)
            rig.live.addChannelLast({QString(), code});
        rig.pass();
        for (int row = 0; row < kLiveRows; ++row)
            QCOMPARE(rig.live.row(row).channel.index, row < 7 ? row : -1);
        QVERIFY(rig.port.lines == QList<QByteArray>{"0100"} && rig.live.passRate().isEmpty());
    }

    // A trace's "K" line brings the choices back on a fresh program; a damaged one changes nothing.
    void choicesRoundTrip() {
        LiveRig rig;
        rig.rows({12, 3});
        rig.live.setShowGauge(0, true);
        rig.live.chooseRowChannel(5, entryIndex(rig.live.row(5).channel, 999));
        rig.traces({-997, 5});
        const QString line = rig.live.choicesLine();
        LiveRig replay;
        replay.live.applyChoices(QStringLiteral("K1,1,1|5,1;5,1"));
        replay.live.applyChoices(line.left(line.size() - 4));
        QCOMPARE(replay.live.choicesLine(), LiveRig().live.choicesLine());
        replay.live.applyChoices(line);
        QCOMPARE(replay.live.choicesLine(), line);
        QCOMPARE(replay.live.graph().axisLabel(0).caption, rig.live.graph().axisLabel(0).caption);
    }

    // Speed is sampled once for any derived trace and RPM once for torque; a speed or RPM
    // trace reuses that sample. A rejected reply stores the trace's own last value.
    void graphPass_data() {
        QTest::addColumn<QList<int>>("traces");
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::addColumn<QString>("label"); // of the right trace
        QTest::addColumn<float>("sample");
        QTest::newRow("torque and RPM") << QList<int>{997, 12} << QList<QByteArray>{"010D", "010C"} << "3000 RPM"
                                        << 3000.0f;
        QTest::newRow("power and speed") << QList<int>{998, 13} << QList<QByteArray>{"010D"} << "96 km/h    59.7 MPH"
                                         << 60.0f;
        QTest::newRow("coolant and economy")
            << QList<int>{5, 999} << QList<QByteArray>{"010D", "0105", "0110"} << "64.82" << 64.82f;
        QTest::newRow("torque switched off")
            << QList<int>{-997, 12} << QList<QByteArray>{"010C"} << "3000 RPM" << 3000.0f;
        QTest::newRow("rejected reply") << QList<int>{12, 17} << QList<QByteArray>{"010C", "0111"} << "" << 0.0f;
        QTest::newRow("nothing on: keep-alive") << QList<int>{-12, -13} << QList<QByteArray>{"0100"} << "0.0" << 0.0f;
    }
    void graphPass() {
        QFETCH(QList<int>, traces);
        QFETCH(QList<QByteArray>, requests);
        LiveRig rig(Function::Graphs);
        rig.traces(traces);
        rig.pass();
        QCOMPARE(rig.port.lines, requests);
        QTEST(rig.live.trace(1).value, "label");
        QTEST(rig.live.graph().trace(1)[0], "sample");
        QCOMPARE(rig.live.graphPassRate().isEmpty(), requests == QList<QByteArray>{"0100"});
    }

    // The data log. Start does nothing before File, after a cancelled dialog or with no row
    // enabled; File does nothing while logging. An existing file is extended. Start / Mark while a
    // pass waits ends the row under way, writes a new header and drops the rest of that pass. A row
    // that cannot be written (the file may grow no further) stops the log with a box, keeping the
    // rows before (on the disk as each pass ended). A file that cannot be opened is reported.
    void dataLog() {
        LiveRig rig;
        DataLog& log = rig.live.dataLog();
        rig.live.startOrMarkLog();
        rig.host.saveAnswer.clear();
        log.chooseFile();
        rig.live.startOrMarkLog();
        QCOMPARE(log.title(), QStringLiteral("noname"));
        rig.startLog();
        QVERIFY(!log.logging() && !QFile::exists(rig.dir.filePath("drive.csv")));

        QVERIFY(rig.write("drive.csv", "Time,earlier drive,\r\n"));
        rig.rows({12, 13});
        rig.live.startOrMarkLog();
        rig.pass();
        log.chooseFile();
        QCOMPARE(rig.host.saveRequests.size(), 2);
        bool marked = false;
        rig.clock.onYield = [&](double) {
            if (rig.port.lines.size() == 2 && !std::exchange(marked, true)) rig.live.startOrMarkLog();
        };
        rig.pass();
        rig.pass();
        const QStringList lines = rig.csv();
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.mid(0, 2), (QStringList{"Time,earlier drive,", ""}));
        QCOMPARE(lines[5], lines[2]);
        QCOMPARE(rig.logged(3) + rig.logged(4) + rig.logged(6), QStringLiteral("3000,60,3000,3000,60,"));

        const QByteArray written = rig.file("drive.csv");
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = rlim_t(written.size());
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        rig.pass();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!log.logging());
        QVERIFY(rig.host.messages.last().text.startsWith("The data log could not be written"));
        rig.pass();
        QCOMPARE(rig.file("drive.csv"), written);

        rig.host.saveAnswer = rig.dir.filePath("missing/drive.CSV");
        log.chooseFile();
        rig.live.startOrMarkLog();
        QVERIFY(!log.logging() && log.title() == QLatin1String("drive.CSV"));
        QVERIFY(rig.host.messages.last().text.startsWith("The data log could not be opened:"));
        QCOMPARE(csvFileName(QStringLiteral("drive.txt")), QStringLiteral("drive.txt.csv"));
        QCOMPARE(rig.host.saveRequests.first().kind, FileKind::DataLog);
    }

    // Rows go only to a new file or a data log, whatever the file held when File chose it
    // or when Start opened it; another file is refused with a box that says what to do.
    void appendsOnlyToDataLogs_data() {
        QTest::addColumn<QByteArray>("before"); // "-": no file
        QTest::addColumn<bool>("writtenAfterFile");
        QTest::addColumn<bool>("appended");
        const QByteArray log = "\r\nTime,Engine RPM (RPM) [0~8000],\r\n7:23:08 PM,800,\r\n\r\n";
        const QByteArray report = "******* 12/5/2026 7:30:00 AM *******\r\n********\r\nP0133 O2 Sensor\r\n";
        QTest::newRow("missing") << QByteArray("-") << false << true;
        QTest::newRow("empty") << QByteArray() << false << true;
        QTest::newRow("blank lines") << QByteArray("\r\n\r\n") << false << true;
        QTest::newRow("data log") << log << false << true;
        QTest::newRow("code report") << report << false << false;
        QTest::newRow("another program's CSV") << QByteArray("Date,Speed\r\n1,2\r\n") << false << false;
        QTest::newRow("report written after File") << report << true << false;
    }
    void appendsOnlyToDataLogs() {
        QFETCH(QByteArray, before);
        QFETCH(bool, writtenAfterFile);
        QFETCH(bool, appended);
        LiveRig rig;
        rig.rows({12});
        const bool exists = before != "-";
        if (exists && !writtenAfterFile) QVERIFY(rig.write("drive.csv", before));
        rig.host.saveAnswer = rig.dir.filePath(QStringLiteral("drive"));
        rig.live.dataLog().chooseFile();
        if (writtenAfterFile) QVERIFY(rig.write("drive.csv", before));
        rig.live.startOrMarkLog();
        rig.pass();
        rig.live.dataLog().stop();
        const QByteArray after = rig.file("drive.csv");
        QCOMPARE(after.size() > (exists ? before.size() : 0), appended);
        QVERIFY(after.startsWith(exists ? before : QByteArray()));
        if (appended) return;
        QCOMPARE(after, before);
        const QString box = rig.host.messages.last().text;
        QVERIFY2(box.contains("is not a data log") && box.contains("File"), qPrintable(box));
    }
};

ZELCOR_TEST(LiveDataTest)
#include "livedata_test.moc"
