// The simulated adapter's faults: what it sends for a request under each, switched on by
// the same command-line options zelcor-sim takes, and switched on and off while it runs.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using test::Answer;
using test::SimHarness;
using test::simOptions;
using B = QByteArray;

using test::parsed;

class FaultsTest : public QObject {
    Q_OBJECT
private slots:
    // Everything the adapter sends for the bytes written after a set-up (answers dropped)
    // whose 0100 was OBD request number 1.
    void answers_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char* name, const QString& profile, const QStringList& faults, const QString& setup,
                      const B& written, const B& expected) {
            QTest::newRow(name) << profile << faults << "ATE0 ATL0 " + setup + " 0100" << written << expected;
        };
        const B none = "NO DATA\r\r>";
        // The manycodes car's 15 stored codes: a first frame and four consecutive frames.
        const B segmented = "020\r0: 43 0F 01 01 01 13\r1: 01 28 01 33 01 71 03\r2: 00 03 01 03 02 03 03\r"
                            "3: 03 04 04 20 04 42 04\r4: 55 14 56 C1 00 00 00\r43 00\r\r>";
        const B headedCodes = "7E8 10 20 43 0F 01 01 01 13\r7E8 21 01 28 01 33 01 71 03\r7E8 22 00 03 01 03 02 03 03\r"
                              "7E8 23 03 04 04 20 04 42 04\r7E8 24 55 14 56 C1 00 00 00\r7E9 02 43 00\r\r>";
        // Short data: the framing the car sent stays, the data bytes are lost.
        row("short, CAN headers", "can11", {"--short-data-every", "1"}, "ATH1", "010D\r",
            "7E8 03 41 0D\r7E9 03 41 0D\r\r>");
        row("short, freeze frame", "can11", {"--short-data-every", "1"}, "ATH1", "020200\r", "7E8 05 42 02 00\r\r>");
        row("short, segmented", "manycodes", {"--short-data-every", "1"}, "ATH1", "03\r",
            "7E8 10 20 43\r7E9 02 43\r\r>");
        row("short, ISO 9141", "legacy", {"--short-data-every", "1"}, "ATH1", "010D\r",
            "48 6B 10 41 0D\r48 6B 18 41 0D\r\r>");
        row("short, ISO 9141 without headers", "legacy", {"--short-data-every", "1"}, "", "010D\r",
            "41 0D\r41 0D\r\r>");
        // The last data byte loses a digit, or gets a non-hex one.
        row("odd digits", "can11", {"--odd-digits-every", "1"}, "ATH1", "010C\r",
            "7E8 04 41 0C 10 E\r7E9 04 41 0C 10 E\r\r>");
        row("odd digits, segmented", "manycodes", {"--odd-digits-every", "1"}, "", "03\r",
            B(segmented).replace("C1 00 00 00", "C1 0 00 00").replace("43 00", "43 0"));
        row("odd digits, ISO 9141", "legacy", {"--odd-digits-every", "1"}, "ATH1", "010C\r",
            "48 6B 10 41 0C 10 E 0D\r48 6B 18 41 0C 10 E 16\r\r>");
        row("non-hex digit", "can11", {"--non-hex-every", "1"}, "", "010C\r", "41 0C 10 EZ\r41 0C 10 EZ\r\r>");
        row("non-hex byte", "can11", {"--non-hex-every", "1", "--non-hex-digits", "2"}, "ATH1", "020200\r",
            "7E8 05 42 02 00 01 ZZ\r\r>");
        // Lower case, ignored headers.
        row("lowercase", "can11", {"--lowercase"}, "ATH1", "0100\r",
            "7e8 06 41 00 be 3f a8 13\r7e9 06 41 00 88 18 00 10\r\r>");
        row("lowercase, words as usual", "can11", {"--lowercase"}, "", "0108\r", none);
        row("headers ignored", "can11", {"--ignore-headers"}, "ATH1", "0100\r",
            "41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>");
        // Error words once detection is done.
        row("error word", "can11", {"--error-word", "CAN ERROR", "--error-after", "1"}, "ATH1",
            "010D\r03\r07\r020200\r", "7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>" + B("CAN ERROR\r\r>").repeated(3));
        row("error word after 2", "can11", {"--error-word", "<rx error", "--error-after", "2"}, "", "03\r03\r",
            "43 02 01 33 01 71\r43 00\r\r><RX ERROR\r\r>");
        row("error word on all", "can11", {"--error-word", "BUFFER FULL", "--error-on-all"}, "", "010D\r",
            "BUFFER FULL\r\r>");
        // Segmented answers that end early.
        row("first frame announces 4095", "manycodes", {"--segment-announce", "4095"}, "ATH1", "03\r",
            "7E8 1F FF" + headedCodes.mid(9));
        row("segments stop", "manycodes", {"--segment-frames", "2"}, "ATH1", "03\r",
            headedCodes.left(56) + "7E9 02 43 00\r\r>");
        row("4095 announced, first frame alone", "manycodes", {"--segment-announce", "4095", "--segment-frames", "1"},
            "", "03\r", "FFF\r0: 43 0F 01 01 01 13\r43 00\r\r>");
        // Junk before every 2nd answer, a prompt lost on every 2nd: the set-up's three
        // answers count, so the ATI's is the 4th.
        const B junk("\xFF\0\x8A\x7F#\xC3", 6), speed = "41 0D 00\r41 0D 00\r\r>";
        row("junk every 2nd", "can11", {"--garbage-every", "2"}, "", "ATI\r010D\r", junk + "ELM327 v1.5\r\r>" + speed);
        row("prompt lost every 2nd", "can11", {"--missing-prompt-every", "2"}, "", "ATI\r010D\r",
            "ELM327 v1.5\r" + speed);
        row("silent adapter", "can11", {"--silent-adapter"}, "", "ATZ\r0100\r", "");
        // A late answer comes after the next one.
        row("late", "can11", {"--late-every", "2", "--late-seconds", "5"}, "", "010C\r010D\r",
            "41 0D 00\r41 0D 00\r\r>41 0C 10 EB\r41 0C 10 EC\r\r>");
    }
    void answers() {
        QFETCH(QString, profile);
        QFETCH(QStringList, faults);
        QFETCH(QString, setup);
        QFETCH(QByteArray, written);
        QString error;
        const sim::Options options = parsed(profile, faults, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        SimHarness car(options), twin(options);
        car.setup(setup);
        twin.setup(setup);
        const QByteArray got = car.writeAndCollect(written);
        QTEST(got, "expected");
        QCOMPARE(twin.writeAndCollect(written), got);
    }

    void refusedOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("negative count") << QStringList{"--garbage-every", "-1"};
        QTest::newRow("three non-hex digits") << QStringList{"--non-hex-digits", "3"};
        QTest::newRow("not a number") << QStringList{"--flood", "lots"};
        QTest::newRow("late for ever") << QStringList{"--late-seconds", "inf"};
        QTest::newRow("no such word") << QStringList{"--error-word", "OOPS"};
        QTest::newRow("version 1.5") << QStringList{"--command-set", "1.5"};
        QTest::newRow("not an AT command") << QStringList{"--refuse", "STPX"};
        QTest::newRow("no such count") << QStringList{"--response-count", "twice"};
        QTest::newRow("no such sleep") << QStringList{"--sleep-word", "NO DATA"};
        QTest::newRow("seconds for ever") << QStringList{"--sleep-after", "inf"};
        QTest::newRow("rate too low") << QStringList{"--baud", "300"};
    }
    void refusedOptions() {
        QFETCH(QStringList, arguments);
        QString error;
        parsed(QStringLiteral("can11"), arguments, &error);
        QVERIFY2(error.startsWith(arguments.first()), qPrintable(error));
    }

    // Faults switched on and off while the adapter runs apply from the next answer on.
    void switchedWhileRunning() {
        SimHarness car;
        car.setup(QStringLiteral("ATE0 ATL0 ATH1 0100"));
        sim::Options& options = car.sim.options();
        const B speed = "7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>";
        options.lowercase = true;
        QCOMPARE(car.ask("010D"), B(speed).toLower());
        options.lowercase = false;
        options.errorWord = "NO DATA";
        options.errorOnAll = true;
        QCOMPARE(car.ask("010D"), B("NO DATA\r\r>"));
        options.errorWord.clear();
        options.lateEvery = 1;
        options.lateSeconds = 3;
        const Answer late = car.exchange("010D\r", 10);
        QCOMPARE(late.text, speed);
        QCOMPARE(late.first - late.sent, 3.0);
        options.lateEvery = 0;
        QCOMPARE(car.exchange("010D\r").took(), 0.0);
    }

    // A flood: the request's answer over and over at the chosen rate, never a prompt, until
    // the client writes again; on a timed line no faster than the line carries it.
    void flood_data() {
        QTest::addColumn<bool>("realTiming");
        QTest::addColumn<int>("kilobytes");
        QTest::addColumn<int>("least"); // bytes in two seconds
        QTest::addColumn<int>("most");
        QTest::newRow("1 kB/s") << false << 1 << 2000 << 2010;
        QTest::newRow("10 kB/s on a 3.84 kB/s line") << true << 10 << 6000 << 7680;
    }
    void flood() {
        QFETCH(bool, realTiming);
        QFETCH(int, kilobytes);
        QFETCH(int, least);
        QFETCH(int, most);
        sim::Options options = simOptions(QStringLiteral("can11"), 0, realTiming);
        options.floodKilobytes = kilobytes;
        options.floodAfter = 1;
        SimHarness car(options), twin(options);
        car.setup(QStringLiteral("ATE0 ATL0 0100"));
        twin.setup(QStringLiteral("ATE0 ATL0 0100"));
        const B got = car.writeAndCollect("010D\r", 2);
        QVERIFY2(got.size() >= least && got.size() <= most, qPrintable(QString::number(got.size())));
        QVERIFY(got.startsWith("41 0D 00\r41 0D 00\r41 0D 00\r") && !got.contains('>'));
        QCOMPARE(twin.writeAndCollect("010D\r", 2), got);
        // A character stops it; switched off, the next request is answered as usual.
        QVERIFY(car.ask("").endsWith("STOPPED\r\r>"));
        car.sim.options().floodKilobytes = 0;
        QCOMPARE(car.ask("010D"), B("41 0D 00\r41 0D 00\r\r>"));
    }

    // The hostile peer: bytes at its rate whatever is written (no serial line slows them),
    // the banner, a 0100 answer and a prompt opening every 64 KiB, the same on every run;
    // a peer far behind does not catch up at once.
    void garbageFlood() {
        sim::Options options = parsed(QStringLiteral("can11"), {"--flood-garbage"});
        QVERIFY(options.garbageFlood);
        options.realTiming = true;
        options.garbageFloodKilobytes = 1000;
        sim::Simulator car(options), twin(options);
        B got, again;
        for (int step = 0; step <= 2000; ++step) {
            if (step == 5) {
                car.input("ATZ\r0100\r", 10 + step * 0.001);
                twin.input("ATZ\r0100\r", 10 + step * 0.001);
            }
            got += car.output(10 + step * 0.001);
            again += twin.output(10 + step * 0.001);
        }
        QVERIFY2(got.size() >= 2000000 && got.size() <= 2010000, qPrintable(QString::number(got.size())));
        QCOMPARE(again, got);
        const B opening = "\rELM327 v1.5\r7E8 06 41 00 BE 3F A8 13\r\r>";
        QCOMPARE(got.count(opening), (got.size() + 65535) / 65536);
        QCOMPARE(got.indexOf(opening, 1), 65536);
        QVERIFY(car.output(1000).size() <= 8 * 10000);
    }

    // The adapter and the car.
    void silentVehicle() {
        sim::Options options;
        options.silentVehicle = true;
        SimHarness car(options);
        car.setup("ATE0 ATL0");
        QCOMPARE(car.ask("0100"), B("SEARCHING...\rUNABLE TO CONNECT\r\r>"));
        car.sim.options().silentVehicle = false;
        QVERIFY(car.ask("0100").startsWith("SEARCHING...\r41 00"));
        car.sim.options().silentVehicle = true; // the car goes quiet after the link is up
        QCOMPARE(car.ask("0100"), B("NO DATA\r\r>"));
        QCOMPARE(car.ask("ATI"), B("ELM327 v1.5\r\r>"));
    }

    void unplugAfterRequests_data() {
        QTest::addColumn<bool>("realTiming");
        QTest::newRow("instant") << false;
        QTest::newRow("timed") << true;
    }
    void unplugAfterRequests() {
        QFETCH(bool, realTiming);
        sim::Options options = simOptions(QStringLiteral("can11"), 0, realTiming);
        options.unplugAfter = 2;
        SimHarness car(options);
        car.setup("ATE0 ATL0 ATI"); // adapter commands do not count
        QVERIFY(car.ask("0100").contains("41 00"));
        QVERIFY(!car.sim.unplugged(car.now));
        const Answer last = car.exchange("0101\r", 5);
        QVERIFY(last.text.endsWith("\r\r>")); // the second answer still arrives whole
        QVERIFY(car.sim.unplugged(last.finished));
        QCOMPARE(car.sim.requestCount(), 2);
        car.sim.input("ATI\r", car.now + 1);
        QCOMPARE(car.sim.output(car.now + 10), B());
        QCOMPARE(car.sim.nextOutputTime(), qInf());
    }

    void unplugCutsTheAnswer() {
        sim::Simulator simulator(simOptions(QStringLiteral("can11"), 0, true));
        simulator.input("ATZ\r", 0);
        simulator.unplug(0.1); // during the reset
        QVERIFY(!simulator.unplugged(0.05));
        QVERIFY(simulator.unplugged(0.1));
        QVERIFY(!simulator.output(5).contains("ELM327"));
    }
};

ZELCOR_TEST(FaultsTest)
#include "faults_test.moc"
