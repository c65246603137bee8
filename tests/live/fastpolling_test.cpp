// Fast polling against the simulated cars: the requests a live pass makes, that every
// value shown is its own PID's, the header that moves to the selected controller and
// back, and the choices the trace log keeps.

#include "obd/parameters.h"
#include "sessionrig.h"
#include "sim/drive.h"
#include "testmain.h"

#include <QTest>
#include <cmath>

using namespace zelcor;
using namespace zelcor::test;

namespace {

bool isDerivedCode(int code) {
    return code >= kTorqueCode && code <= kFuelEconomyCode;
}

// The simulated car with live data on its first ten channels after detection; `onPass`
// runs after every live pass and says whether to go on.
struct LiveCar : CarRig {
    LiveCar(const QString& profile, bool fast, int rowInterval = 1) : CarRig(profile), interval(rowInterval) {
        session.fastPolling().setEnabled(fast);
        session.settings().debugTrace = true;
    }
    int interval; // every row's (0: each row by itself)
    void run(int livePasses, const std::function<void()>& onPass = {}) {
        int done = 0;
        afterPass = [this, livePasses, onPass, &done](Function served) {
            if (served == Function::Detection && session.navigation().function() == Function::GeneralInfo) {
                LiveData& live = session.live();
                for (int i = 0; i < kLiveRows; ++i) {
                    live.chooseRowChannel(i, i < live.row(i).channel.entries.size() ? i : -1);
                    live.setRowEnabled(i, live.row(i).channel.index >= 0);
                    live.setRowInterval(i, interval);
                }
                session.navigation().setFunction(Function::LiveData);
                port.clearWritten();
                return false;
            }
            if (served != Function::LiveData) return false;
            if (onPass) onPass();
            port.clearWritten();
            return ++done >= livePasses;
        };
        session.connection().run();
    }
    // Requests for service 01 written since the last pass.
    QStringList requests() const {
        QStringList out;
        for (const QByteArray& line : port.written().split('\r'))
            if (line.trimmed().startsWith("01")) out << QString::fromLatin1(line.trimmed());
        return out;
    }
    // Rows whose value is not the engine's own value for the row's PID right now, as
    // "row: shown / expected"; derived rows left out.
    // `numbersOnly`: rows without a number (a rejected or missing answer) are not wrong.
    QStringList wrongValues(bool numbersOnly = false) {
        QStringList wrong;
        sim::Simulator& car = port.simulator();
        const sim::DriveState drive = sim::driveAt(clock.now() - car.keyOnTime());
        for (int i = 0; i < kLiveRows; ++i) {
            const LiveRow& row = session.live().row(i);
            const int code = row.channel.code();
            if (!row.enabled || code == 0 || isDerivedCode(code) || (numbersOnly && !row.number)) continue;
            const auto data = car.vehicle().controllers().first().pidData(code, drive);
            const Decoded expected = decodeParameter(code, data.value_or(QByteArray()), session.settings());
            const double shown = row.number.value_or(NAN);
            const double want = expected.value.value_or(NAN);
            // The drive moves on a little between the request and now; text values must match.
            const bool right = expected.value ? std::abs(shown - want) <= 0.03 * std::abs(want) + 2
                                              : !expected.text.isEmpty() && row.value == expected.text;
            if (!right) wrong << QStringLiteral("%1 (%2): %3 / %4").arg(i).arg(code).arg(row.value, expected.text);
        }
        return wrong;
    }
    // The PIDs the pass's requests asked for.
    QList<int> askedPids() const {
        QList<int> pids;
        for (const QString& request : requests())
            for (qsizetype at = 2; at + 1 < request.size(); at += 2)
                pids << request.mid(at, 2).toInt(nullptr, 16);
        return pids;
    }
    int parameterRows() const {
        int n = 0;
        for (const LiveRow& row : session.live().rows())
            n += row.enabled && row.channel.code() != 0 && !isDerivedCode(row.channel.code()) ? 1 : 0;
        return n;
    }
};

} // namespace

class FastPollingTest : public QObject {
    Q_OBJECT
private slots:
    // Per car and adapter, three passes of ten channels: the requests of each pass, the
    // lamps lit together, and every value its own PID's. The choice the trace records is in
    // tests/golden/data/*/log.txt; plain polling records none.
    void livePasses_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<bool>("fast");
        QTest::addColumn<int>("pidsPerRequest");
        QTest::newRow("can11") << "can11" << true << 6;
        QTest::newRow("can29") << "can29" << true << 6;
        QTest::newRow("legacy") << "legacy" << true << 1;
        QTest::newRow("clone") << "clone" << true << 1;
        QTest::newRow("can11, plain") << "can11" << false << 1;
        QTest::newRow("legacy, plain") << "legacy" << false << 1;
    }
    void livePasses() {
        QFETCH(QString, profile);
        QFETCH(bool, fast);
        QFETCH(int, pidsPerRequest);
        LiveCar car(profile, fast);
        QStringList problems;
        int passes = 0;
        // Each row's lamp is lit while the request carrying its PID is in flight: as many
        // together as one request carries.
        int litTogether = 0;
        QObject::connect(&car.session.live(), &LiveData::rowChanged, [&] {
            int lit = 0;
            for (const LiveRow& row : car.session.live().rows())
                lit += row.lamp ? 1 : 0;
            litTogether = std::max(litTogether, lit);
        });
        car.run(3, [&] {
            ++passes;
            const QStringList requests = car.requests();
            const int rows = car.parameterRows();
            // (The first fast pass tries the adapter first.)
            if (passes > 1 && requests.size() != (rows + pidsPerRequest - 1) / pidsPerRequest)
                problems
                    << QStringLiteral("pass %1: %2 requests for %3 rows").arg(passes).arg(requests.size()).arg(rows);
            for (const QString& request : requests)
                if (!fast && request.size() != 4) problems << QStringLiteral("plain request ") + request;
            for (const QString& wrong : car.wrongValues())
                problems << QStringLiteral("pass %1 row %2").arg(passes).arg(wrong);
        });
        QCOMPARE(passes, 3);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        // (The PIDs are shared out for the fewest frames: not always six in the first request.)
        QVERIFY(litTogether <= pidsPerRequest && (litTogether > 1) == (pidsPerRequest > 1));
        if (!fast) QVERIFY(!QString::fromLatin1(fileText(car.dir.filePath("log.txt"))).contains("\r\nQ "));
    }

    // Damaged answers to requests for six PIDs, switched on once the adapter was tried:
    // a value shown is always its own PID's, and a PID whose bytes did not come whole
    // shows none.
    void damagedAnswers_data() {
        QTest::addColumn<QString>("fault");
        // Rows without a number after the last pass (one row always shows a text): what
        // came whole in a damaged answer is still shown.
        QTest::addColumn<int>("emptyRows");
        QTest::newRow("none") << "none" << 1;
        QTest::newRow("segmented answers cut after the first frame") << "segments" << 7;
        QTest::newRow("short data") << "short" << 10;
        QTest::newRow("last digit lost") << "odd" << 7;
        QTest::newRow("non-hex digits") << "nonhex" << 7;
        // (Fast polling asks for them: the answers read the same.)
        QTest::newRow("answers without headers") << "noheaders" << 1;
        QTest::newRow("every other answer late") << "late" << 1;
    }
    void damagedAnswers() {
        QFETCH(QString, fault);
        QFETCH(int, emptyRows);
        LiveCar car(QStringLiteral("can11"), true);
        sim::Options& options = car.port.simulator().options();
        QStringList problems;
        int passes = 0;
        car.run(4, [&] {
            if (++passes == 1) {
                if (fault == QLatin1String("segments")) options.segmentFrames = 1;
                if (fault == QLatin1String("short")) options.shortDataEvery = 1;
                if (fault == QLatin1String("odd")) options.oddDigitsEvery = 1;
                if (fault == QLatin1String("nonhex")) options.nonHexEvery = 1;
                if (fault == QLatin1String("noheaders")) options.ignoreHeaders = true;
                if (fault == QLatin1String("late")) {
                    options.lateEvery = 2;
                    options.lateSeconds = 0.03;
                }
                return;
            }
            for (const QString& wrong : car.wrongValues(true))
                problems << QStringLiteral("pass %1 row %2").arg(passes).arg(wrong);
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        int empty = 0;
        for (const LiveRow& row : car.session.live().rows())
            empty += row.enabled && !isDerivedCode(row.channel.code()) && !row.number ? 1 : 0;
        QCOMPARE(empty, emptyRows);
    }

    // The header moves to the selected controller for live data, back to every
    // controller before the codes are read and before detection, to the other controller
    // once the user picks it, and back for good when fast polling is switched off; the
    // replies come without headers only while the one controller is heard.
    // Steps after detection: live, codes, controller 1, off, on.
    void headerMoves_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        // (The connection sets ATH1 and its adapter probe tries ATCRA first; 0120 is asked by detection and
        // by the fast polling probe; 0111 is row 0 on the engine, 010D on the gearbox.)
        QTest::newRow("codes, then another controller")
            << QStringList{"live", "codes", "live", "controller 1", "live"}
            << QStringList{"ATH1",    "ATCRA",   "ATDP",  "0120",    "ATSH7E0",  "ATCRA7E8", "0120", "ATH0",  "01111",
                           "ATH1",    "ATSH7DF", "ATCRA", "03",      "ATSH7E0",  "ATCRA7E8", "ATH0", "01111", "ATH1",
                           "ATSH7DF", "ATCRA",   "ATDP",  "ATSH7E1", "ATCRA7E9", "ATH0",     "010D1"};
        QTest::newRow("switched off and on again")
            << QStringList{"live", "off", "live", "on", "live"}
            << QStringList{"ATH1",    "ATCRA", "ATDP", "0120", "ATSH7E0", "ATCRA7E8", "0120", "ATH0",  "01111", "ATH1",
                           "ATSH7DF", "ATCRA", "0111", "0111", "ATSH7E0", "ATCRA7E8", "ATH0", "01111", "01111"};
    }
    void headerMoves() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        LiveCar car(QStringLiteral("can11"), true);
        Session& s = car.session;
        QStringList pending;
        qsizetype step = 0;
        s.connection().setPassRunner([&] {
            s.runPass();
            if (step >= steps.size()) {
                s.link().requestStop();
                return;
            }
            if (pending.isEmpty()) pending = s.codes().codesPanel().pending;
            const QString what = steps[step++];
            if (what == QLatin1String("live")) {
                s.live().chooseRowChannel(0, 0);
                s.live().setRowEnabled(0, true);
                s.navigation().setFunction(Function::LiveData);
            } else if (what == QLatin1String("codes")) {
                s.navigation().setFunction(Function::TroubleCodes);
            } else if (what == QLatin1String("controller 1")) {
                s.chooseController(1);
            } else {
                s.fastPolling().setEnabled(what == QLatin1String("on"));
            }
        });
        s.connection().run();
        QStringList commands;
        for (const QByteArray& line : car.port.written().split('\r')) {
            const QString command = QString::fromLatin1(line.trimmed());
            if (command.startsWith(QLatin1String("ATSH")) || command.startsWith(QLatin1String("ATCRA")) ||
                command.startsWith(QLatin1String("ATH")) || command == QLatin1String("03") ||
                command == QLatin1String("ATDP") ||
                (command.startsWith(QLatin1String("01")) && !command.startsWith(QLatin1String("0100"))))
                commands << command;
        }
        QCOMPARE(commands, expected);
        // Read from every controller: the gearbox's pending code is there.
        if (steps.contains(QLatin1String("codes")))
            QVERIFY2(pending.join(QLatin1Char('|')).contains(QLatin1String("P0741")), qPrintable(pending.join('|')));
    }

    // Rows at their own rates on the simulated car, over 40 passes: how often each PID
    // was asked, every value its own PID's on every pass, also when the adapter
    // goes back to blanks after taking ATS0, and when the user changes a row's interval
    // or channel while its request is in flight.
    void ownRates_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("disturbance");
        QTest::addColumn<QList<int>>("everyPass"); // PIDs asked on every pass after the first
        QTest::addColumn<QList<int>>("seldom");    // PIDs asked on at most a third of them
        const QList<int> fast{0x0C, 0x0D, 0x11, 0x04};
        const QList<int> slow{0x05, 0x0F, 0x03};
        QTest::newRow("by themselves") << 0 << "none" << fast << slow;
        QTest::newRow("blanks back after ATS0") << 0 << "blanks" << fast << slow;
        QTest::newRow("changed while in flight") << 0 << "in flight" << QList<int>{0x0C, 0x0D} << QList<int>{};
        QTest::newRow("every 10th chosen") << 10 << "none" << QList<int>{} << (fast + slow);
    }
    void ownRates() {
        QFETCH(int, interval);
        QFETCH(QString, disturbance);
        QFETCH(QList<int>, everyPass);
        QFETCH(QList<int>, seldom);
        LiveCar car(QStringLiteral("can11"), true, interval);
        LiveData& live = car.session.live();
        if (disturbance == QLatin1String("in flight")) {
            // Row 0 to every 10th and row 2 to another channel as soon as row 0's lamp lights.
            QObject::connect(&live, &LiveData::rowChanged, [&](int row) {
                if (row != 0 || !live.row(0).lamp || live.schedule().choice(0) == 10) return;
                live.setRowInterval(0, 10);
                live.chooseRowChannel(2, live.row(2).channel.index + 7);
            });
        }
        QHash<int, int> asked;
        QStringList problems;
        int passes = 0;
        car.run(40, [&] {
            if (++passes == 1) {
                if (disturbance == QLatin1String("blanks")) car.session.link().send(QStringLiteral("ATS1"));
                return;
            }
            for (const int pid : car.askedPids())
                ++asked[pid];
            for (const QString& wrong : car.wrongValues(true))
                problems << QStringLiteral("pass %1 row %2").arg(passes).arg(wrong);
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        for (const int pid : everyPass)
            QVERIFY2(asked.value(pid) == passes - 1,
                     qPrintable(QStringLiteral("%1: %2").arg(pid).arg(asked.value(pid))));
        for (const int pid : seldom)
            QVERIFY2(asked.value(pid) * 3 <= passes - 1,
                     qPrintable(QStringLiteral("%1: %2").arg(pid).arg(asked.value(pid))));
        // The trace keeps the replies as they came: its last one with blanks only where they came back.
        const QString trace = QString::fromLatin1(fileText(car.dir.filePath("log.txt")));
        QString last;
        for (const QString& line : trace.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1Char('R')) && line.contains(QLatin1String("41"))) last = line;
        QVERIFY2(!last.isEmpty(), qPrintable(trace.right(500)));
        QCOMPARE(last.contains(QLatin1Char(' ')), disturbance == QLatin1String("blanks"));
    }
};

ZELCOR_TEST(FastPollingTest)
#include "fastpolling_test.moc"
