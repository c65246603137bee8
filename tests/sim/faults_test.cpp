// Faults switched on for tests: silent adapter or vehicle, junk, lost prompts, unplugging.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    void silentAdapter() {
        sim::Options options;
        options.silentAdapter = true;
        sim::Simulator simulator(options);
        simulator.input("ATZ\r0100\r", 1);
        QCOMPARE(simulator.output(100), QByteArray());
        QCOMPARE(simulator.nextOutputTime(), qInf());
    }

    void silentVehicle() {
        sim::Options options;
        options.silentVehicle = true;
        test::SimHarness car(options);
        car.setup("ATE0 ATL0");
        QCOMPARE(car.ask("0100"), QByteArray("SEARCHING...\rUNABLE TO CONNECT\r\r>"));
        car.sim.options().silentVehicle = false;
        QVERIFY(car.ask("0100").startsWith("SEARCHING...\r41 00"));
        car.sim.options().silentVehicle = true; // the car goes quiet after the link is up
        QCOMPARE(car.ask("0100"), QByteArray("NO DATA\r\r>"));
        QCOMPARE(car.ask("ATI"), QByteArray("ELM327 v1.5\r\r>"));
    }

    void everyNth_data() {
        QTest::addColumn<int>("garbage");
        QTest::addColumn<int>("noPrompt");
        QTest::addColumn<QList<bool>>("junked");
        QTest::addColumn<QList<bool>>("prompted");
        QTest::newRow("junk always") << 1 << 0 << QList<bool>{true, true, true} << QList<bool>{true, true, true};
        QTest::newRow("junk every 2nd") << 2 << 0 << QList<bool>{false, true, false} << QList<bool>{true, true, true};
        QTest::newRow("prompt lost every 2nd")
            << 0 << 2 << QList<bool>{false, false, false} << QList<bool>{true, false, true};
        QTest::newRow("both on the 3rd") << 3 << 3 << QList<bool>{false, false, true} << QList<bool>{true, true, false};
    }
    void everyNth() {
        QFETCH(int, garbage);
        QFETCH(int, noPrompt);
        QFETCH(QList<bool>, junked);
        QFETCH(QList<bool>, prompted);
        sim::Options options;
        options.garbageEvery = garbage;
        options.missingPromptEvery = noPrompt;
        sim::Simulator simulator(options);
        const QList<QByteArray> commands{"ATE0\r", "ATI\r", "0100\r"};
        for (int i = 0; i < commands.size(); ++i) {
            simulator.input(commands[i], i);
            const QByteArray got = simulator.output(i);
            QCOMPARE(got.contains('\xFF'), junked[i]);
            QCOMPARE(got.endsWith('>'), prompted[i]);
            QVERIFY(got.contains(i == 0 ? "OK" : i == 1 ? "ELM327" : "41 00"));
        }
    }

    void unplugAfterRequests_data() {
        QTest::addColumn<bool>("realTiming");
        QTest::newRow("instant") << false;
        QTest::newRow("timed") << true;
    }
    void unplugAfterRequests() {
        QFETCH(bool, realTiming);
        sim::Options options;
        options.realTiming = realTiming;
        options.unplugAfter = 2;
        test::SimHarness car(options);
        car.setup("ATE0 ATL0 ATI"); // adapter commands do not count
        QVERIFY(car.ask("0100").contains("41 00"));
        QVERIFY(!car.sim.unplugged(car.now));
        const test::Answer last = car.exchange("0101\r", 5);
        QVERIFY(last.text.endsWith("\r\r>")); // the second answer still arrives whole
        QVERIFY(car.sim.unplugged(last.finished));
        QCOMPARE(car.sim.requestCount(), 2);
        car.sim.input("ATI\r", car.now + 1);
        QCOMPARE(car.sim.output(car.now + 10), QByteArray());
        QCOMPARE(car.sim.nextOutputTime(), qInf());
    }

    void unplugCutsTheAnswer() {
        sim::Options options;
        options.realTiming = true;
        sim::Simulator simulator(options);
        simulator.input("ATZ\r", 0);
        simulator.unplug(0.1); // during the reset
        QVERIFY(!simulator.unplugged(0.05));
        QVERIFY(simulator.unplugged(0.1));
        const QByteArray got = simulator.output(5);
        QVERIFY(!got.contains("ELM327"));
    }
};

ZELCOR_TEST(FaultsTest)
#include "faults_test.moc"
