// The adapter's command handling: AT commands, echo and line ends, resets, the protocol
// search, several commands in one write, and requests stopped by new input.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class AdapterTest : public QObject {
    Q_OBJECT
private slots:
    void lineEnds_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("power-up defaults echo, LF")
            << "" << QByteArray("ATZ\r") << QByteArray("ATZ\r\n\r\n\r\nELM327 v1.5\r\n\r\n>");
        QTest::newRow("warm start restores line feeds")
            << "ATE0 ATL0" << QByteArray("ATWS\r") << QByteArray("\r\n\r\nELM327 v1.5\r\n\r\n>");
        QTest::newRow("echo before the reset")
            << "ATL0" << QByteArray("ATZ\r") << QByteArray("ATZ\r\r\n\r\nELM327 v1.5\r\n\r\n>");
        QTest::newRow("echo as typed, case kept")
            << "ATL0" << QByteArray("ati\r") << QByteArray("ati\rELM327 v1.5\r\r>");
        QTest::newRow("echo off") << "ATE0 ATL0" << QByteArray("ATI\r") << QByteArray("ELM327 v1.5\r\r>");
        QTest::newRow("line feed after CR ignored")
            << "ATE0 ATL0" << QByteArray("ATI\r\n") << QByteArray("ELM327 v1.5\r\r>");
        QTest::newRow("blanks and case ignored") << "ATE0 ATL0" << QByteArray("a t d p n\r") << QByteArray("A0\r\r>");
        QTest::newRow("backspace") << "ATE0 ATL0" << QByteArray("ATIX\bZ\b\r") << QByteArray("ELM327 v1.5\r\r>");
        QTest::newRow("client's double warm start")
            << "" << QByteArray("ATWS\r\nATWS\r\n")
            << QByteArray("ATWS\r\n\r\n\r\nELM327 v1.5\r\n\r\n>ATWS\r\n\r\n\r\nELM327 v1.5\r\n\r\n>");
        QTest::newRow("several commands in one write")
            << "" << QByteArray("ATE0\r\nATL0\r\nATH1\r\n") << QByteArray("ATE0\r\nOK\r\n\r\n>OK\r\r>OK\r\r>");
        QTest::newRow("OBD requests in one write")
            << "ATE0 ATL0 ATSP6" << QByteArray("010D1\r010D1\r") << QByteArray("41 0D 00\r\r>41 0D 00\r\r>");
        QTest::newRow("bare CR repeats") << "ATE0 ATL0 ATI" << QByteArray("\r") << QByteArray("ELM327 v1.5\r\r>");
        QTest::newRow("bare CR after reset") << "ATE0 ATL0 ATI ATWS" << QByteArray("\r") << QByteArray("\r\n>");
    }

    void lineEnds() {
        QFETCH(QString, setup);
        QFETCH(QByteArray, written);
        test::SimHarness car;
        car.setup(setup);
        QByteArray got;
        car.sim.input(written, car.now);
        for (int i = 0; i < 20; ++i)
            got += car.sim.output(car.now += 1);
        QTEST(got, "expected");
    }

    void commands_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("identify") << "" << QByteArray("ATI") << QByteArray("ELM327 v1.5");
        QTest::newRow("device description") << "" << QByteArray("AT@1") << QByteArray("OBDII to RS232 Interpreter");
        QTest::newRow("voltage, engine running") << "" << QByteArray("ATRV") << QByteArray("14.4V");
        QTest::newRow("protocol, nothing chosen") << "" << QByteArray("ATDP") << QByteArray("AUTO");
        QTest::newRow("protocol, fixed") << "ATSP6" << QByteArray("ATDP") << QByteArray("ISO 15765-4 (CAN 11/500)");
        QTest::newRow("protocol, fixed number") << "ATSP6" << QByteArray("ATDPN") << QByteArray("6");
        QTest::newRow("protocol, automatic from 3") << "ATSPA3" << QByteArray("ATDP") << QByteArray("AUTO, ISO 9141-2");
        QTest::newRow("automatic with a blank") << "" << QByteArray("ATSP A3") << QByteArray("OK");
        QTest::newRow("automatic written together") << "ATSPA3" << QByteArray("ATDPN") << QByteArray("A3");
        QTest::newRow("protocol A is J1939") << "ATSPA" << QByteArray("ATDP") << QByteArray("SAE J1939 (CAN 29/250)");
        QTest::newRow("try protocol") << "ATTP5" << QByteArray("ATDP") << QByteArray("ISO 14230-4 (KWP FAST)");
        QTest::newRow("set protocol acknowledged") << "" << QByteArray("ATSP 0") << QByteArray("OK");
        QTest::newRow("no protocol D") << "" << QByteArray("ATSPD") << QByteArray("?");
        QTest::newRow("timeout") << "" << QByteArray("ATST 19") << QByteArray("OK");
        QTest::newRow("timeout needs two digits") << "" << QByteArray("ATST5") << QByteArray("?");
        QTest::newRow("adaptive timing") << "" << QByteArray("ATAT2") << QByteArray("OK");
        QTest::newRow("no adaptive mode 3") << "" << QByteArray("ATAT3") << QByteArray("?");
        QTest::newRow("headers flag needs 0 or 1") << "" << QByteArray("ATH2") << QByteArray("?");
        QTest::newRow("unknown") << "" << QByteArray("ATFOO") << QByteArray("?");
        QTest::newRow("bare AT") << "" << QByteArray("AT") << QByteArray("?");
        QTest::newRow("not hex") << "" << QByteArray("01ZZ") << QByteArray("?");
        QTest::newRow("eight data bytes") << "" << QByteArray("0102030405060708") << QByteArray("?");
        QTest::newRow("lone digit") << "" << QByteArray("0") << QByteArray("?");
        QTest::newRow("answer count 0") << "" << QByteArray("01000") << QByteArray("?");
    }

    void commands() {
        QFETCH(QString, setup);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, expected);
        test::SimHarness car;
        car.setup(QStringLiteral("ATE0 ATL0 ") + setup);
        QCOMPARE(car.ask(command), expected + "\r\r>");
    }

    void settingsLastUntilReset_data() {
        QTest::addColumn<QByteArray>("reset");
        QTest::newRow("full reset") << QByteArray("ATZ");
        QTest::newRow("warm start") << QByteArray("ATWS");
        QTest::newRow("defaults") << QByteArray("ATD");
    }

    void settingsLastUntilReset() {
        QFETCH(QByteArray, reset);
        test::SimHarness car;
        car.setup("ATE0 ATL0 ATH1 ATS0 ATSP6 ATTP7");
        QCOMPARE(car.ask("ATDPN"), QByteArray("7\r\r>"));
        car.setup("ATTP6");
        QVERIFY(car.ask("0100").startsWith("7E8064100"));
        QVERIFY(car.ask("ATI").startsWith("ELM327")); // survives other commands
        QVERIFY(car.ask("0100").startsWith("7E8064100"));
        car.ask(reset);
        car.setup("ATE0 ATL0");
        // Echo, line feeds, headers and spaces are back to their defaults; the protocol
        // set with ATSP was stored, the one tried with ATTP was not.
        QCOMPARE(car.ask("ATDPN"), QByteArray("6\r\r>"));
        QCOMPARE(car.ask("0100"), QByteArray("41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>"));
    }

    void search_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QByteArray>("choice");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("describe");
        QTest::addColumn<QByteArray>("number");
        const QByteArray can = "41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>";
        const QByteArray legacy = "41 00 BE 3E B8 13\r41 00 88 18 00 10\r\r>";
        QTest::newRow("CAN from 3") << "can11" << 0 << QByteArray("ATSPA3") << "SEARCHING...\r" + can
                                    << QByteArray("AUTO, ISO 15765-4 (CAN 11/500)") << QByteArray("A6");
        QTest::newRow("CAN 29 from 6") << "can29" << 0 << QByteArray("ATSPA6") << "SEARCHING...\r" + can
                                       << QByteArray("AUTO, ISO 15765-4 (CAN 29/500)") << QByteArray("A7");
        QTest::newRow("ISO 9141 from 0") << "legacy" << 0 << QByteArray("ATSP0")
                                         << "SEARCHING...\rBUS INIT: ...OK\r" + legacy << QByteArray("AUTO, ISO 9141-2")
                                         << QByteArray("A3");
        QTest::newRow("PWM car") << "legacy" << 1 << QByteArray("ATSPA3") << "SEARCHING...\r" + legacy
                                 << QByteArray("AUTO, SAE J1850 PWM") << QByteArray("A1");
        QTest::newRow("VPW car") << "legacy" << 2 << QByteArray("ATSPA3") << "SEARCHING...\r" + legacy
                                 << QByteArray("AUTO, SAE J1850 VPW") << QByteArray("A2");
        QTest::newRow("KWP five-baud car")
            << "legacy" << 4 << QByteArray("ATSPA3") << "SEARCHING...\rBUS INIT: ...OK\r" + legacy
            << QByteArray("AUTO, ISO 14230-4 (KWP 5BAUD)") << QByteArray("A4");
        QTest::newRow("KWP fast car") << "legacy" << 5 << QByteArray("ATSPA3")
                                      << "SEARCHING...\rBUS INIT: ...OK\r" + legacy
                                      << QByteArray("AUTO, ISO 14230-4 (KWP FAST)") << QByteArray("A5");
        QTest::newRow("no car") << "nocar" << 0 << QByteArray("ATSPA3")
                                << QByteArray("SEARCHING...\rUNABLE TO CONNECT\r\r>") << QByteArray("AUTO, ISO 9141-2")
                                << QByteArray("A3");
        QTest::newRow("fixed ISO, car there") << "legacy" << 0 << QByteArray("ATSP3") << "BUS INIT: ...OK\r" + legacy
                                              << QByteArray("ISO 9141-2") << QByteArray("3");
        QTest::newRow("fixed ISO, no car")
            << "nocar" << 0 << QByteArray("ATSP3") << QByteArray("BUS INIT: ...ERROR\r\r>") << QByteArray("ISO 9141-2")
            << QByteArray("3");
        QTest::newRow("fixed ISO on a CAN car")
            << "can11" << 0 << QByteArray("ATSP4") << QByteArray("BUS INIT: ...ERROR\r\r>")
            << QByteArray("ISO 14230-4 (KWP 5BAUD)") << QByteArray("4");
        QTest::newRow("fixed CAN on a legacy car")
            << "legacy" << 0 << QByteArray("ATSP6") << QByteArray("CAN ERROR\r\r>")
            << QByteArray("ISO 15765-4 (CAN 11/500)") << QByteArray("6");
        QTest::newRow("CAN at the wrong bit rate")
            << "can11" << 0 << QByteArray("ATSP8") << QByteArray("CAN ERROR\r\r>")
            << QByteArray("ISO 15765-4 (CAN 11/250)") << QByteArray("8");
        QTest::newRow("29-bit request to an 11-bit car")
            << "can11" << 0 << QByteArray("ATSP7") << QByteArray("NO DATA\r\r>")
            << QByteArray("ISO 15765-4 (CAN 29/500)") << QByteArray("7");
        QTest::newRow("J1850 on a CAN car") << "can11" << 0 << QByteArray("ATSP1") << QByteArray("NO DATA\r\r>")
                                            << QByteArray("SAE J1850 PWM") << QByteArray("1");
    }

    void search() {
        QFETCH(QString, profile);
        QFETCH(int, protocol);
        QFETCH(QByteArray, choice);
        QFETCH(QByteArray, describe);
        QFETCH(QByteArray, number);
        sim::Options options;
        options.profile = profile;
        options.protocol = protocol;
        test::SimHarness car(options);
        car.setup("ATE0 ATL0 " + choice);
        QTEST(car.ask("0100"), "first");
        QCOMPARE(car.ask("ATDP"), describe + "\r\r>");
        QCOMPARE(car.ask("ATDPN"), number + "\r\r>");
    }

    void searchOnlyOnce() {
        test::SimHarness car;
        car.setup("ATE0 ATL0 ATSPA3");
        QVERIFY(car.ask("0100").startsWith("SEARCHING..."));
        QVERIFY(car.ask("0100").startsWith("41 00"));
        QVERIFY(car.ask("03").startsWith("43 02"));
        car.setup("ATWS ATE0 ATL0");
        QVERIFY(car.ask("0100").startsWith("SEARCHING..."));
    }

    void newInputStopsRequest() {
        sim::Options options;
        options.realTiming = true;
        test::SimHarness car(options);
        car.setup("ATE0 ATL0 ATSP6 0100");
        car.sim.input("0100\r", car.now);
        car.wait(0.003); // before the first controller answers
        // The first character stops the running request and is used up by it.
        const test::Answer second = car.exchange("0101\r");
        QCOMPARE(second.text, QByteArray("STOPPED\r\r>"));
        car.wait(1);
        QCOMPARE(car.ask("010D"), QByteArray("41 0D 00\r41 0D 00\r\r>"));
    }

    void typedAheadDoesNotStop() {
        sim::Options options;
        options.realTiming = true;
        test::SimHarness car(options);
        car.setup("ATE0 ATL0 ATSP6 0100");
        const test::Answer both = car.exchange("01001\r010D1\r");
        QVERIFY(both.text.startsWith("41 00 BE 3F A8 13\r\r>"));
        car.now = both.finished;
        QCOMPARE(car.exchange("").text, QByteArray("41 0D 00\r\r>"));
    }
};

ZELCOR_TEST(AdapterTest)
#include "adapter_test.moc"
