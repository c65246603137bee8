// The test port on the simulator: port numbers, errors, delivery on the test clock,
// the write log, and the device going away.

#include "simport.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace zelcor;

class SimPortTest : public QObject {
    Q_OBJECT
private slots:
    void opening_data() {
        QTest::addColumn<int>("simulatorPort");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("opens"); // else error 8002, invalid port
        QTest::newRow("default port") << 1 << 1 << true;
        QTest::newRow("no such port") << 1 << 2 << false;
        QTest::newRow("moved port") << 4 << 4 << true;
        QTest::newRow("old number after move") << 4 << 1 << false;
    }
    void opening() {
        QFETCH(int, simulatorPort);
        QFETCH(int, number);
        QFETCH(bool, opens);
        test::FakeClock clock;
        test::SimPort port(clock);
        port.setSimulatorPort(simulatorPort);
        QCOMPARE(port.open(number), opens);
        QCOMPARE(port.isOpen(), opens);
        QCOMPARE(port.errorNumber(), opens ? 0 : int(PortErrorInvalidPort));
        QCOMPARE(port.errorDescription().isEmpty(), opens);
        QCOMPARE(port.deviceName(simulatorPort), QStringLiteral("sim"));
        QCOMPARE(port.deviceName(simulatorPort + 1), QString());
    }

    void collectsAnswerUpToPrompt() {
        test::FakeClock clock;
        sim::Options options;
        options.realTiming = true;
        test::SimPort port(clock, options);
        QSignalSpy ready(&port, &Port::readyRead);
        QVERIFY(port.open(1));
        port.write("ATWS\r\nATWS\r\n");
        QCOMPARE(port.bytesWaiting(), 0); // nothing before the clock moves
        QByteArray got;
        QVERIFY(clock.waitUntil(1, [&] {
            got += port.readAll();
            return got.count('>') == 2;
        }));
        QCOMPARE(got.count("ELM327 v1.5"), 2);
        QVERIFY(ready.count() > 0);
        const double start = clock.now();
        port.write("ATE0\r\n0100\r\n");
        got.clear();
        QVERIFY(clock.waitUntil(10, [&] {
            got += port.readAll();
            return got.count('>') == 2;
        }));
        QVERIFY(got.contains("SEARCHING...") && got.contains("41 00 BE 3F A8 13"));
        QVERIFY(clock.now() - start > 1); // the search takes its time on the test clock too
        QCOMPARE(port.written(), QByteArray("ATWS\r\nATWS\r\nATE0\r\n0100\r\n"));
        QCOMPARE(port.writes(), (QList<QByteArray>{"ATWS\r\nATWS\r\n", "ATE0\r\n0100\r\n"}));
    }

    void closedPortDropsOutput() {
        test::FakeClock clock;
        test::SimPort port(clock);
        QVERIFY(port.open(1));
        port.write("ATI\r");
        port.close();
        clock.yield();
        QCOMPARE(port.bytesWaiting(), 0);
        port.write("ATI\r"); // not open: nothing sent
        QCOMPARE(port.errorNumber(), 8018);
        QCOMPARE(port.written(), QByteArray("ATI\r"));
    }

    void clockOutlivesPort() {
        test::FakeClock clock;
        auto port = std::make_unique<test::SimPort>(clock);
        QVERIFY(port->open(1));
        port->write("ATI\r");
        port.reset();
        clock.yield(); // the ticker must not touch the deleted port
        QCOMPARE(clock.yields(), 1);
    }
};

ZELCOR_TEST(SimPortTest)
#include "simport_test.moc"
