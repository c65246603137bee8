#include "sessionrig.h"
#include "testmain.h"

#include <QTest>
#include <functional>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// "V" without an adapter, on a trace of five keep-alive passes recorded two seconds apart.
struct Rig : SessionRig {
    TraceReplay& replay = session.traceReplay();
    QByteArray trace = "F255\r\n";
    QList<double> passEnds;

    Rig() : SessionRig(Offline{}) {
        for (int i = 0; i < 5; ++i)
            trace += "S0100\r\nR41 00 BE 3F A8 13\\r\\r>\r\nT2026-12-06 10:00:" + QByteArray::number(10 + 2 * i) +
                     ".000\r\n";
        write(QStringLiteral("log.txt"), trace);
        const auto pass = session.connection().hooks().runPass;
        session.connection().setPassRunner([this, pass] {
            pass();
            passEnds << clock.now();
        });
    }
    bool ended() { return !replay.running() && &session.link().port() == &port && !session.link().trace().held(); }
    // Plays at the fastest speed until the replay pauses by itself (20 passes at most);
    // `watch` looks on at every yield.
    void playToTheEnd(const std::function<void()>& watch = {}) {
        replay.controls().speedIndex = kReplaySpeeds - 1;
        replay.controls().setPlay(true);
        clock.onYield = [this, watch](double) {
            if (watch) watch();
            if (!replay.controls().play || passEnds.size() > 20) replay.end();
        };
        replay.run();
    }
};

} // namespace

class TraceReplayTest : public QObject {
    Q_OBJECT
private slots:
    // The trace answers as the adapter did: the search, set-up and wakeup as an adapter
    // that accepts every setting and a car that answers, every other command
    // with the next recorded reply ("L" lines on the way choose a list entry, a damaged one
    // nothing). Beyond the recorded pass NO DATA; after the trace's end the bare prompt,
    // and the replay is told. The trace is only read.
    void portAnswersFromTheTrace() {
        QTemporaryDir dir;
        const QByteArray trace =
            "ZELCOR\r\nM 12:00 C\r\nS0100\r\nWGI \r\n41 00 BE 3F A8 13\r\nF250\r\n"
            "RAUTO, ISO 15765-4 (CAN 11/500)\\r\\r>\r\nP AUTO\r\nL3\r\nL 1 0 0 6 4 1 2 0 0 6 4\r\nS0100\r\n"
            "R41 00 BE 3F A8 13\\r\\r>\r\nT2026-12-06 10:00:10.000\r\n";
        QVERIFY(writeText(dir.filePath("log.txt"), trace + "R41 0D 20\r\n"));
        TracePort port;
        int entry = -1;
        bool ended = false;
        port.setListLineHandler([&](int n) { entry = n; });
        port.setEndHandler([&] { ended = true; });
        QVERIFY(port.start(dir.filePath("log.txt")) && port.open(3));
        const auto ask = [&](const char* command) {
            port.write(QByteArray(command) + "\r\n");
            return port.readAll();
        };
        QCOMPARE(ask("ATWS"), QByteArray("\r\rELM327 (trace replay)\r\r>"));
        QCOMPARE(ask("ATE0"), QByteArray("OK\r\r>"));
        QCOMPARE(ask("0100"), QByteArray("41 00 00 00 00 00\r\r>")); // the wakeup's
        QCOMPARE(ask("ATDP"), QByteArray("AUTO, ISO 15765-4 (CAN 11/500)\r\r>"));
        QCOMPARE(ask("0100"), QByteArray("41 00 BE 3F A8 13\r\r>"));
        QCOMPARE(entry, 3);
        QCOMPARE(ask("010D"), QByteArray("NO DATA\r\r>"));
        QString line;
        while (port.trace().readLine(line) && !line.startsWith('T')) {
        }
        QCOMPARE(ask("010D"), QByteArray("41 0D 20>")); // a reply taken before its prompt
        QVERIFY(!ended);
        QCOMPARE(ask("010D"), QByteArray(">"));
        QVERIFY(ended);
        QCOMPARE(fileText(dir.filePath("log.txt")), trace + "R41 0D 20\r\n");
    }

    // Step lets one pass through and pauses again. At 2x a pass waits half its recorded time;
    // closing the replay window during a wait ends the replay at once, the port and the trace
    // untouched. Without a trace there is nothing to replay.
    void stepPlayAndClose() {
        Rig rig;
        QList<qsizetype> pauses; // the passes run at each pause
        rig.clock.onYield = [&](double) {
            const qsizetype passes = rig.passEnds.size();
            if (!rig.replay.controls().play && (pauses.isEmpty() || pauses.last() != passes)) pauses << passes;
            if (!rig.replay.controls().play && pauses.size() < 4) rig.replay.controls().setStep(true);
            if (!rig.replay.controls().play && pauses.size() == 4) {
                rig.replay.controls().speedIndex = 5; // 2x
                rig.replay.controls().setPlay(true);
            }
            if (passes == 4 && rig.clock.now() > rig.passEnds[3] + 0.5) rig.replay.end();
        };
        rig.replay.run();
        QCOMPARE(pauses, (QList<qsizetype>{0, 1, 2, 3}));
        QCOMPARE(rig.passEnds.size(), 5); // the pass under way when the window closed ends
        const double paced = rig.passEnds[3] - rig.passEnds[2];
        QVERIFY2(paced >= 1 && paced < 1.05, qPrintable(QString::number(paced)));
        QVERIFY(rig.passEnds[4] < rig.passEnds[3] + 0.55);
        QVERIFY(rig.ended());
        QVERIFY(rig.port.lines.isEmpty() && rig.file("log.txt") == rig.trace);
        QFile::remove(rig.dir.filePath("log.txt"));
        rig.replay.run();
        QVERIFY(rig.ended());
        QVERIFY(rig.host.messages.value(0).text.startsWith("There is no trace log to replay"));
    }

    // The end of the trace pauses the replay, also when the program that wrote it was killed
    // and left no closing line: it never starts over by itself.
    void endOfTracePauses() {
        Rig rig;
        rig.playToTheEnd();
        QCOMPARE(rig.passEnds.size(), 5);
    }

    // A trace written by a program that asked less: a request beyond its pass's recorded
    // replies reads as unanswered, and the link is not taken for lost.
    void requestsBeyondTheRecordedPass() {
        Rig rig;
        rig.write(QStringLiteral("log.txt"),
                  "F254\r\nS03\r\nR48 6B 10 43 01 33 00 00 00 00 00\\r\\r>\r\nS07\r\n"
                  "R48 6B 10 47 00 00 00 00 00 00 00\\r\\r>\r\nT2026-12-06 10:00:10.000\r\n");
        bool lost = true;
        rig.playToTheEnd([&] {
            if (rig.passEnds.size() == 1) lost = rig.session.link().linkLost(); // right after the pass
        });
        const CodesPanel& codes = rig.session.codes().codesPanel();
        QCOMPARE(codes.stored, closed(codeItems({"P0133"}, "16")));
        QCOMPARE(codes.permanent, closed({}));
        QCOMPARE(codes.permanentProblem, QString());
        QVERIFY(!lost);
    }

    // A damaged "F" line (a number no function has) leaves the function as it was.
    void damagedFunctionLine() {
        Rig rig;
        rig.write(QStringLiteral("log.txt"), rig.trace.replace("F255\r\n", "F255\r\nF1 10 06 41 2006412090\r\n"));
        QList<Function> functions;
        const auto pass = rig.session.connection().hooks().runPass;
        rig.session.connection().setPassRunner([&, pass] {
            pass();
            functions << rig.session.navigation().function();
        });
        rig.playToTheEnd();
        QCOMPARE(functions, QList<Function>(5, Function::Idle));
    }
};

ZELCOR_TEST(TraceReplayTest)
#include "tracereplay_test.moc"
