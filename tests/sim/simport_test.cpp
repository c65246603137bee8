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
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("error");
        QTest::newRow("default port") << 1 << false << 1 << 0;
        QTest::newRow("no such port") << 1 << false << 2 << int(PortErrorInvalidPort);
        QTest::newRow("moved port") << 4 << false << 4 << 0;
        QTest::newRow("old number after move") << 4 << false << 1 << int(PortErrorInvalidPort);
        QTest::newRow("busy") << 1 << true << 1 << int(PortErrorPortOpen);
        QTest::newRow("busy, other number") << 1 << true << 3 << int(PortErrorInvalidPort);
    }
    void opening() {
        QFETCH(int, simulatorPort);
        QFETCH(bool, busy);
        QFETCH(int, number);
        QFETCH(int, error);
        test::FakeClock clock;
        test::SimPort port(clock);
        port.setSimulatorPort(simulatorPort);
        port.setBusy(busy);
        QCOMPARE(port.open(number), error == 0);
        QCOMPARE(port.isOpen(), error == 0);
        QCOMPARE(port.errorNumber(), error);
        QCOMPARE(port.errorDescription().isEmpty(), error == 0);
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

    void deviceGoesAway() {
        test::FakeClock clock;
        sim::Options options;
        options.unplugAfter = 1;
        test::SimPort port(clock, options);
        QSignalSpy removed(&port, &Port::removed);
        QVERIFY(port.open(1));
        port.write("0100\r");
        clock.yield();
        QVERIFY(port.readAll().contains("41 00"));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(port.errorNumber(), int(PortErrorDeviceRemoved));
        QVERIFY(!port.isOpen());
        clock.yield();
        QCOMPARE(removed.count(), 1);
        QVERIFY(!port.open(1));
        QCOMPARE(port.errorNumber(), int(PortErrorInvalidPort));
        QCOMPARE(port.deviceName(1), QString());
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
