// The adapter's timing on injected time: answer times, the ATST wait after the last
// answer, adaptive timing, the answer-count digit, the serial line, the search.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

constexpr double character = 10.0 / 38400;
constexpr double timeoutStep = 0.004096;

test::SimHarness timedCar(const QString& profile = QStringLiteral("can11")) {
    sim::Options options;
    options.profile = profile;
    options.realTiming = true;
    return test::SimHarness(options);
}

} // namespace

class TimingTest : public QObject {
    Q_OBJECT
private slots:
    void waitAfterLastAnswer_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<double>("wait"); // after the last controller's answer
        QTest::newRow("default timeout") << "ATAT0" << 0x32 * timeoutStep;
        QTest::newRow("short timeout") << "ATAT0 ATST19" << 0x19 * timeoutStep;
        QTest::newRow("long timeout") << "ATAT0 ATSTFF" << 0xFF * timeoutStep;
        QTest::newRow("00 restores the default") << "ATAT0 ATST19 ATST00" << 0x32 * timeoutStep;
    }
    void waitAfterLastAnswer() {
        QFETCH(QString, setup);
        QFETCH(double, wait);
        auto car = timedCar();
        car.setup(QStringLiteral("ATE0 ATL0 ATSP6 0100 ") + setup);
        const test::Answer answer = car.exchange("0100\r", 5);
        QVERIFY(answer.text.endsWith("\r\r>"));
        // The controllers answer within a few ms, the serial line adds under 20 ms.
        const double took = answer.finished - answer.sent;
        QVERIFY2(took > wait + 0.010 && took < wait + 0.045, qPrintable(QString::number(took)));
        QVERIFY(answer.first - answer.sent < 0.030);
    }

    void noDataAfterTimeout() {
        auto car = timedCar();
        car.setup("ATE0 ATL0 ATSP6 0100 ATAT0");
        const test::Answer answer = car.exchange("0108\r", 5);
        QCOMPARE(answer.text, QByteArray("NO DATA\r\r>"));
        const double took = answer.finished - answer.sent;
        QVERIFY(took > 0x32 * timeoutStep && took < 0x32 * timeoutStep + 0.010);
    }

    void adaptiveTiming_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("off") << "ATAT0" << 0.22 << 0.25;
        QTest::newRow("normal") << "ATAT1" << 0.03 << 0.08;
        QTest::newRow("aggressive") << "ATAT2" << 0.02 << 0.045;
    }
    void adaptiveTiming() {
        QFETCH(QString, mode);
        QFETCH(double, low);
        QFETCH(double, high);
        auto car = timedCar();
        car.setup(QStringLiteral("ATE0 ATL0 ATSP6 ") + mode);
        const test::Answer learning = car.exchange("0100\r", 5);
        QVERIFY(learning.finished - learning.sent > 0.2); // nothing learned yet
        for (int i = 0; i < 5; ++i) {
            const test::Answer answer = car.exchange("0100\r", 5);
            QCOMPARE(answer.text.count("41 00"), 2); // both controllers still heard
            const double took = answer.finished - answer.sent;
            QVERIFY2(took >= low && took <= high, qPrintable(QString::number(took)));
        }
    }

    void answerCountEndsTheWait_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("lines");
        QTest::addColumn<double>("high");
        QTest::newRow("one") << QByteArray("01001") << 1 << 0.025;
        QTest::newRow("two") << QByteArray("01002") << 2 << 0.035;
        QTest::newRow("more than answer") << QByteArray("01003") << 2 << 0.26;
        QTest::newRow("segmented counts once") << QByteArray("0902 1") << 3 << 0.05;
    }
    void answerCountEndsTheWait() {
        QFETCH(QByteArray, request);
        QFETCH(int, lines);
        QFETCH(double, high);
        auto car = timedCar();
        car.setup("ATE0 ATL0 ATSP6 ATH1 ATAT0 0100");
        const test::Answer answer = car.exchange(request + "\r", 5);
        QCOMPARE(answer.text.count('\r'), lines + 1);
        QVERIFY2(answer.finished - answer.sent < high, qPrintable(QString::number(answer.finished - answer.sent)));
    }

    void serialLineTakesItsTime() {
        auto car = timedCar();
        const test::Answer answer = car.exchange("ATI\r", 5);
        QCOMPARE(answer.text, QByteArray("ATI\r\nELM327 v1.5\r\n\r\n>"));
        // Four characters in, the echo and the answer out, one after another at 38400 baud.
        const double line = double(4 + answer.text.size()) * character;
        QVERIFY(answer.finished - answer.sent >= line);
        QVERIFY(answer.finished - answer.sent < line + 0.01);
    }

    void searchTakesSeconds() {
        auto car = timedCar();
        car.setup("ATE0 ATL0 ATSPA3");
        const test::Answer answer = car.exchange("0100\r", 20);
        QVERIFY(answer.text.startsWith("SEARCHING...\r41 00"));
        QVERIFY(answer.first - answer.sent < 0.01); // "SEARCHING..." at once
        const double took = answer.finished - answer.sent;
        QVERIFY2(took > 3 && took < 7, qPrintable(QString::number(took)));
    }

    void busInitTakesSeconds() {
        auto car = timedCar(QStringLiteral("legacy"));
        car.setup("ATE0 ATL0 ATSP3");
        const test::Answer answer = car.exchange("0100\r", 20);
        QVERIFY(answer.text.startsWith("BUS INIT: ...OK\r41 00"));
        QVERIFY(answer.finished - answer.sent > 2);
        const test::Answer next = car.exchange("0100\r", 20);
        QVERIFY(next.finished - next.sent < 0.4); // initialised once
    }

    void latencyDelaysEverything_data() {
        QTest::addColumn<bool>("realTiming");
        QTest::newRow("instant adapter") << false;
        QTest::newRow("timed adapter") << true;
    }
    void latencyDelaysEverything() {
        QFETCH(bool, realTiming);
        sim::Options options;
        options.realTiming = realTiming;
        options.latencyMs = 50;
        sim::Simulator simulator(options);
        simulator.input("ATE0\r", 10);
        QCOMPARE(simulator.output(10.049), QByteArray());
        QVERIFY(simulator.nextOutputTime() >= 10.05);
        QVERIFY(simulator.output(10.1).endsWith(">"));
    }

    void instantWithoutTiming() {
        sim::Simulator simulator;
        simulator.input("ATE0\r0100\r", 10);
        QCOMPARE(simulator.nextOutputTime(), 10.0);
        QCOMPARE(simulator.output(10), QByteArray("ATE0\r\nOK\r\n\r\n>SEARCHING...\r\n41 00 BE 3F A8 13\r\n"
                                                  "41 00 88 18 00 10\r\n\r\n>"));
        QCOMPARE(simulator.nextOutputTime(), qInf());
        QCOMPARE(simulator.requestCount(), 1);
    }
};

ZELCOR_TEST(TimingTest)
#include "timing_test.moc"
