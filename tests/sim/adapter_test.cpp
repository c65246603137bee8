// The simulated adapter: command handling (AT commands, echo and line ends, resets, the
// protocol search, the request header and receive filter, several PIDs in one request,
// the cheap copy), how it prints answers in the formats and on the buses the session
// goldens do not show (they show headers and blanks on each car's own bus), and its
// timing with real timing on.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using B = QByteArray;

namespace {

using test::Answer;
using test::SimHarness;
using test::simOptions;

constexpr double character = 10.0 / 38400; // one character on the serial line
constexpr double timeoutStep = 0.004096;   // ATST counts these
// The engine's vehicle identification in three frames, with headers.
const QByteArray vinFrames =
    "7E8 10 14 49 02 01 31 5A 43\r7E8 21 34 53 31 4D 30 58 4E\r7E8 22 31 30 30 30 33 32 37\r\r>";

SimHarness timedCar(const QString& profile = QStringLiteral("can11")) {
    return SimHarness(simOptions(profile, 0, true));
}

} // namespace

#define VERIFY_WITHIN(value, low, high)                                                                                \
    QVERIFY2((value) >= (low) && (value) <= (high), qPrintable(QString::number(value)))

class AdapterTest : public QObject {
    Q_OBJECT
private slots:
    // Bytes written after a set-up (answers dropped) and everything the adapter sends back.
    void exchanges_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QByteArray>("expected");
        auto line = [](const char* name, const QString& setup, const B& written, const B& expected) {
            QTest::newRow(name) << QStringLiteral("can11") << 0 << setup << written << expected;
        };
        auto command = [&](const char* name, const QString& setup, const B& command, const B& expected) {
            line(name, "ATE0 ATL0 " + setup, command + "\r", expected + "\r\r>");
        };
        // The answer to `request` once the first 0100 has opened the bus.
        auto reply = [](const char* name, const QString& profile, int protocol, const QString& setup, const B& request,
                        const B& expected) {
            QTest::newRow(name) << profile << protocol << "ATE0 ATL0 " + setup + " 0100" << request + "\r" << expected;
        };
        // The first request opens the bus the way ATSP chose; ATDPN then tells the protocol.
        auto found = [](const char* name, const QString& profile, int protocol, const QString& choice, const B& first,
                        const B& number) {
            QTest::newRow(name) << profile << protocol << "ATE0 ATL0 " + choice << B("0100\rATDPN\r")
                                << first + number + "\r\r>";
        };
        const B banner = "\r\n\r\nELM327 v1.5\r\n\r\n>", id = "ELM327 v1.5\r\r>";
        const B can = "41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>", legacy = "41 00 BE 3E B8 13\r41 00 88 18 00 10\r\r>";
        const B search = "SEARCHING...\r", init = "BUS INIT: ...OK\r", none = "NO DATA\r\r>";
        line("power-up defaults echo, LF", "", "ATZ\r", "ATZ\r\n" + banner);
        line("warm start restores line feeds", "ATE0 ATL0", "ATWS\r", banner);
        line("echo before the reset", "ATL0", "ATZ\r", "ATZ\r\r\n\r\nELM327 v1.5\r\n\r\n>");
        line("echo as typed, case kept", "ATL0", "ati\r", "ati\r" + id);
        // Echo off; a line feed after the CR, blanks and case ignored; backspace.
        line("echo off", "ATE0 ATL0", "ATI\r\na t d p n\rATIX\bZ\b\r", id + "A0\r\r>" + id);
        line("client's double warm start", "", "ATWS\r\nATWS\r\n", "ATWS\r\n" + banner + "ATWS\r\n" + banner);
        line("several commands in one write", "", "ATE0\r\nATL0\r\nATH1\r\n", "ATE0\r\nOK\r\n\r\n>OK\r\r>OK\r\r>");
        line("OBD requests in one write", "ATE0 ATL0 ATSP6", "010D1\r010D1\r", "41 0D 00\r\r>41 0D 00\r\r>");
        line("bare CR repeats", "ATE0 ATL0 ATI", "\r", id);
        line("bare CR after reset", "ATE0 ATL0 ATI ATWS", "\r", "\r\n>");
        // Echo, line feeds, headers and spaces go back to their defaults; the protocol set
        // with ATSP was stored, the one tried with ATTP was not.
        for (const char* reset : {"ATZ", "ATWS", "ATD"})
            line(qPrintable(QStringLiteral("settings until %1").arg(reset)),
                 QStringLiteral("ATE0 ATL0 ATH1 ATS0 ATSP6 ATTP7 0100 %1 ATE0 ATL0").arg(reset), "ATDPN\r0100\r",
                 "6\r\r>" + can);
        // The device, the voltage with the engine running, the protocol before any is chosen.
        line("descriptions", "ATE0 ATL0", "AT@1\rATRV\rATDP\r", "OBDII to RS232 Interpreter\r\r>14.4V\r\r>AUTO\r\r>");
        line("protocol, automatic from 3", "ATE0 ATL0", "ATSP A3\rATDP\rATDPN\r",
             "OK\r\r>AUTO, ISO 9141-2\r\r>A3\r\r>");
        command("protocol A is J1939", "ATSPA", "ATDP", "SAE J1939 (CAN 29/250)");
        command("try protocol", "ATTP5", "ATDP", "ISO 14230-4 (KWP FAST)");
        // Refused: no protocol D, a one-digit time-out, adaptive mode 3, headers 2, unknown,
        // bare AT, malformed header and filter, not hex, eight bytes, a lone digit, count 0.
        line("refused", "ATE0 ATL0",
             "ATSPD\rATST5\rATAT3\rATH2\rATFOO\rAT\rATSH12\rATCRA7E\r01ZZ\r0102030405060708\r0\r01000\r",
             B("?\r\r>").repeated(12));
        reply("CAN 11 headers, no spaces", "can11", 0, "ATH1 ATS0", "0100",
              "7E8064100BE3FA813\r7E906410088180010\r\r>");
        reply("CAN 11 no headers, no spaces", "can11", 0, "ATS0", "0100", "4100BE3FA813\r410088180010\r\r>");
        reply("CAN 29 headers, no spaces", "can29", 0, "ATH1 ATS0", "0100",
              "18DAF110064100BE3FA813\r18DAF11806410088180010\r\r>");
        // 15 codes: 32 bytes in a first frame and four consecutive frames.
        reply("segmented without headers", "manycodes", 0, "", "03",
              "020\r0: 43 0F 01 01 01 13\r1: 01 28 01 33 01 71 03\r2: 00 03 01 03 02 03 03\r"
              "3: 03 04 04 20 04 42 04\r4: 55 14 56 C1 00 00 00\r43 00\r\r>");
        reply("segmented without headers or spaces", "manycodes", 0, "ATS0", "03",
              "020\r0:430F01010113\r1:01280133017103\r2:00030103020303\r3:03040420044204\r4:551456C1000000\r4300\r\r>");
        reply("several parameters in one request, each controller's filler", "can11", 0, "ATH1", "010C0D05",
              "7E8 10 08 41 0C 10 EB 0D 00\r7E8 21 05 3E 00 00 00 00 00\r"
              "7E9 10 08 41 0C 10 EC 0D 00\r7E9 21 05 3E 55 55 55 55 55\r\r>");
        reply("vehicle identification", "can11", 0, "ATH1", "0902", vinFrames);
        // Legacy: three header bytes and the check byte.
        reply("ISO 9141-2 no spaces", "legacy", 0, "ATH1 ATS0", "0100",
              "486B104100BE3EB813CB\r486B18410088180010BC\r\r>");
        reply("J1850 PWM", "legacy", 1, "ATH1", "0100",
              "41 6B 10 41 00 BE 3E B8 13 AA\r41 6B 18 41 00 88 18 00 10 3E\r\r>");
        reply("J1850 VPW", "legacy", 2, "ATH1", "0100",
              "48 6B 10 41 00 BE 3E B8 13 C0\r48 6B 18 41 00 88 18 00 10 54\r\r>");
        reply("ISO 14230-4", "legacy", 5, "ATH1", "0100",
              "86 F1 10 41 00 BE 3E B8 13 8F\r86 F1 18 41 00 88 18 00 10 80\r\r>");
        reply("legacy identification", "legacy", 0, "", "0902",
              "49 02 01 00 00 00 32\r49 02 02 5A 43 39 4B\r49 02 03 34 31 41 31\r49 02 04 34 31 30 30\r"
              "49 02 05 35 30 39 33\r\r>");
        reply("supported information, the gearbox without VIN", "can11", 0, "", "0900",
              "49 00 55 40 00 00\r49 00 14 40 00 00\r\r>");
        reply("legacy supported information with message counts", "legacy", 0, "", "0900", "49 00 01 FF 00 00 00\r\r>");
        reply("legacy in-use counters: eight messages", "legacy", 0, "", "0907", "49 07 08\r\r>");
        reply("legacy calibration ID, numbered and padded", "legacy", 0, "", "0904",
              "49 04 01 5A 43 30 34\r49 04 02 4B 39 41 31\r49 04 03 00 00 00 00\r49 04 04 00 00 00 00\r\r>");
        reply("permanent codes", "manycodes", 0, "ATH1", "0A", "7E8 06 4A 02 03 01 04 20\r7E9 02 4A 00\r\r>");
        reply("supported monitors", "can11", 0, "", "0600", "46 00 C0 00 00 01\r\r>");
        reply("one monitor's failing test", "can11", 0, "ATH1", "0621",
              "7E8 10 0A 46 21 84 03 00 78\r7E8 21 00 00 00 64 00 00 00\r\r>");
        // Requests no controller answers: an unsupported parameter or monitor, an unknown
        // service, service 03 with data, freeze frame 1, several parameters on a legacy bus,
        // permanent codes and test results on an older car, a frame where none is stored.
        reply("nobody answers", "can11", 0, "", "0108\r08\r0631\r0300\r020C01", none.repeated(5));
        reply("nobody answers, legacy", "legacy", 0, "", "010C0D\r0A\r0600\r0140", none.repeated(4));
        reply("nothing frozen", "nofreeze", 0, "", "020C00", none);
        // The request header (AT SH) and the receive filter (AT CRA).
        const B speeds = "7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>", engineSpeed = "7E8 03 41 0D 00\r\r>";
        reply("engine's header", "can11", 0, "ATH1 ATSH7E0", "010D", engineSpeed);
        reply("gearbox's header", "can11", 0, "ATH1 ATSH7E1", "010D", "7E9 03 41 0D 00\r\r>");
        reply("nobody's header", "can11", 0, "ATH1 ATSH7E5", "010D", none);
        reply("functional again", "can11", 0, "ATH1 ATSH7E0 ATSH7DF", "010D", speeds);
        reply("reset forgets the header", "can11", 0, "ATH1 ATSH7E0 ATZ ATE0 ATL0 ATH1", "010D", speeds);
        reply("filter alone", "can11", 0, "ATH1 ATCRA7E9", "010D", "7E9 03 41 0D 00\r\r>");
        reply("filter shuts out the one asked", "can11", 0, "ATH1 ATSH7E0 ATCRA7E9", "010D", none);
        reply("filter cleared", "can11", 0, "ATH1 ATCRA7E9 ATCRA", "010D", speeds);
        reply("29-bit header and filter", "can29", 0, "ATH1 ATSHDA10F1 ATCRA18DAF110", "010D",
              "18 DA F1 10 03 41 0D 00\r\r>");
        reply("29-bit header in full", "can29", 0, "ATH1 ATSH18DA18F1", "010D", "18 DA F1 18 03 41 0D 00\r\r>");
        reply("legacy ignores the header", "legacy", 0, "ATH1 ATSH686AF1", "010D",
              "48 6B 10 41 0D 00 11\r48 6B 18 41 0D 00 19\r\r>");
        // Several PIDs in one request, with the response count.
        reply("several PIDs, one frame", "can11", 0, "ATH1 ATSH7E0", "010D1C1", "7E8 05 41 0D 00 1C 01\r\r>");
        reply("several PIDs, segmented", "can11", 0, "ATH1 ATSH7E0", "01000D1C1",
              "7E8 10 0A 41 00 BE 3F A8 13\r7E8 21 0D 00 1C 01 00 00 00\r\r>");
        reply("only the PIDs it has", "can11", 0, "ATH1 ATSH7E1", "01000D0B",
              "7E9 10 08 41 00 88 18 00 10\r7E9 21 0D 00 55 55 55 55 55\r\r>");
        // The cheap copy: one PID per request, no adaptive timing.
        reply("clone: several PIDs refused", "clone", 0, "ATH1 ATSH7E0", "010D1C", "?\r\r>");
        reply("clone: one PID", "clone", 0, "ATH1 ATSH7E0", "010D1", engineSpeed);
        reply("clone: no adaptive timing", "clone", 0, "", "ATAT2", "?\r\r>");
        // Values the session goldens never read.
        reply("barometer, 101 kPa", "can11", 0, "", "0133", "41 33 65\r\r>");
        reply("module voltage, 14.401 V", "can11", 0, "", "0142", "41 42 38 41\r\r>");
        // Clearing the codes (the car keeps its state through a reset of the adapter).
        const QString cleared = QStringLiteral("ATH1 0100 04 ATZ ATE0 ATL0 ATH1");
        reply("no frame after clearing", "can11", 0, cleared, "020200", "7E8 05 42 02 00 00 00\r\r>");
        reply("no frame data after clearing", "can11", 0, cleared, "021100", none);
        reply("distance with the lamp on cleared", "can11", 0, cleared, "0121", "7E8 04 41 21 00 00\r\r>");
        found("CAN 29 from 6", "can29", 0, "ATSPA6", search + can, "A7");
        found("ISO 9141 from 0", "legacy", 0, "ATSP0", search + init + legacy, "A3");
        found("PWM car", "legacy", 1, "ATSPA3", search + legacy, "A1");
        found("VPW car", "legacy", 2, "ATSPA3", search + legacy, "A2");
        found("KWP five-baud car", "legacy", 4, "ATSPA3", search + init + legacy, "A4");
        found("KWP fast car", "legacy", 5, "ATSPA3", search + init + legacy, "A5");
        found("fixed ISO, car there", "legacy", 0, "ATSP3", init + legacy, "3");
        found("fixed ISO, no car", "nocar", 0, "ATSP3", "BUS INIT: ...ERROR\r\r>", "3");
        found("fixed ISO on a CAN car", "can11", 0, "ATSP4", "BUS INIT: ...ERROR\r\r>", "4");
        found("fixed CAN on a legacy car", "legacy", 0, "ATSP6", "CAN ERROR\r\r>", "6");
        found("CAN at the wrong bit rate", "can11", 0, "ATSP8", "CAN ERROR\r\r>", "8");
        found("29-bit request to an 11-bit car", "can11", 0, "ATSP7", none, "7");
        found("J1850 on a CAN car", "can11", 0, "ATSP1", none, "1");
        line("searched once, again after a reset", "ATE0 ATL0 ATSPA3", "0100\r0100\rATWS\rATE0\rATL0\r0100\r",
             search + can + can + banner + "ATE0\r\nOK\r\n\r\n>OK\r\r>" + search + can);
    }
    void exchanges() {
        QFETCH(QString, profile);
        QFETCH(int, protocol);
        QFETCH(QString, setup);
        QFETCH(QByteArray, written);
        SimHarness car(simOptions(profile, protocol));
        car.setup(setup);
        QTEST(car.writeAndCollect(written), "expected");
    }

    // How long an answer takes with real timing on, on made-up time: the ATST wait after
    // the last controller's answer (after the request when none answers), adaptive timing,
    // the answer-count digit, the search and the bus initialisation (each said at once),
    // the serial line. The same calls at the same times give the same answers.
    void answerTimes_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("start"); // of the answer
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        auto row = [](const char* name, const QString& setup, const B& request, const B& start, double low, double high,
                      const QString& profile = QStringLiteral("can11")) {
            QTest::newRow(name) << profile << "ATE0 ATL0 ATSP6 0100 " + setup << request << start << low << high;
        };
        // The controllers answer within a few ms, the serial line adds under 20 ms.
        const double standard = 0x32 * timeoutStep, shorter = 0x19 * timeoutStep, longest = 0xFF * timeoutStep;
        const B both = "41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>", engine = "7E8 06 41 00 BE 3F A8 13\r";
        const B headed = engine + "7E9 06 41 00 88 18 00 10\r\r>", engineSpeed = "7E8 03 41 0D 00\r\r>";
        row("default timeout", "ATAT0", "0100", both, standard + 0.01, standard + 0.045);
        row("long timeout", "ATAT0 ATSTFF", "0100", both, longest + 0.01, longest + 0.045);
        row("00 restores the default", "ATAT0 ATST19 ATST00", "0100", both, standard + 0.01, standard + 0.045);
        row("no answer", "ATAT0", "0108", "NO DATA\r\r>", standard, standard + 0.01);
        row("adaptive, nothing learned", "ATSP6 ATAT1", "0100", both, 0.2, 0.25);
        row("adaptive, normal", "ATAT1 0100 0100 0100", "0100", both, 0.03, 0.08);
        row("adaptive, aggressive", "ATAT2 0100 0100 0100", "0100", both, 0.02, 0.045);
        row("one answer wanted", "ATAT0 ATH1", "01001", engine + "\r>", 0.0, 0.025);
        row("two answers wanted", "ATAT0 ATH1", "01002", headed, 0.0, 0.035);
        row("more wanted than answer", "ATAT0 ATH1", "01003", headed, standard, 0.26);
        row("segmented counts once", "ATAT0 ATH1", "0902 1", vinFrames, 0.0, 0.05);
        row("search", "ATSPA3", "0100", "SEARCHING...\r41 00", 3.0, 7.0);
        row("bus initialisation", "ATSP3", "0100", "BUS INIT: ...OK\r41 00", 2.0, 4.0, QStringLiteral("legacy"));
        row("initialised once", "ATSP3 0100", "0100", "41 00", 0.0, 0.4, QStringLiteral("legacy"));
        // Four characters in, the answer out, one after another at 38400 baud.
        row("serial line", "", "ATI", "ELM327 v1.5\r\r>", 18 * character, 18 * character + 0.01);
        // The copy waits out its whole time-out all the same, shortened only by AT ST.
        row("clone ignores the count", "ATH1 ATSH7E0", "010D1", engineSpeed, standard, standard + 0.03,
            QStringLiteral("clone"));
        row("clone, shorter time-out", "ATH1 ATSH7E0 ATST19", "010D1", engineSpeed, shorter, shorter + 0.03,
            QStringLiteral("clone"));
    }
    void answerTimes() {
        QFETCH(QString, profile);
        QFETCH(QString, setup);
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, start);
        auto car = timedCar(profile), twin = timedCar(profile);
        car.setup(setup);
        const Answer answer = car.exchange(request + "\r", 20);
        QVERIFY2(answer.text.startsWith(start) && answer.text.endsWith("\r\r>"), answer.text.constData());
        QFETCH(double, low);
        QFETCH(double, high);
        VERIFY_WITHIN(answer.took(), low, high);
        if (start.contains("...")) QVERIFY(answer.first - answer.sent < 0.01); // said at once
        twin.setup(setup);
        const Answer again = twin.exchange(request + "\r", 20);
        QCOMPARE(again.text, answer.text);
        QCOMPARE(again.took(), answer.took());
    }

    // Output with no timing comes all at once; latency delays it, timed or not.
    void latency_data() {
        QTest::addColumn<bool>("realTiming");
        QTest::addColumn<double>("latencyMs");
        QTest::newRow("instant adapter") << false << 0.0;
        QTest::newRow("instant adapter, latency") << false << 50.0;
        QTest::newRow("timed adapter, latency") << true << 50.0;
    }
    void latency() {
        QFETCH(bool, realTiming);
        QFETCH(double, latencyMs);
        sim::Options options = simOptions(QStringLiteral("can11"), 0, realTiming);
        options.latencyMs = latencyMs;
        sim::Simulator simulator(options);
        simulator.input("ATE0\r0100\r", 10);
        const double due = 10 + latencyMs / 1000;
        QCOMPARE(simulator.output(due - 0.001), B());
        QVERIFY(simulator.nextOutputTime() >= due);
        const B got = simulator.output(due + (realTiming ? 10 : 0));
        QVERIFY(got.startsWith("ATE0\r\nOK\r\n\r\n>SEARCHING...\r\n41 00 BE 3F A8 13\r\n"));
        QVERIFY(got.endsWith("41 00 88 18 00 10\r\n\r\n>"));
        QCOMPARE(simulator.nextOutputTime(), qInf());
        QCOMPARE(simulator.requestCount(), 1);
    }

    void newInputStopsRequest() {
        auto car = timedCar();
        car.setup("ATE0 ATL0 ATSP6 0100");
        car.sim.input("0100\r", car.now);
        car.wait(0.003); // before the first controller answers
        // The first character stops the running request and is used up by it.
        QCOMPARE(car.exchange("0101\r").text, B("STOPPED\r\r>"));
        car.wait(1);
        QCOMPARE(car.ask("010D"), B("41 0D 00\r41 0D 00\r\r>"));
        // What is written together with a request waits for its prompt.
        const Answer both = car.exchange("01001\r010D1\r");
        QVERIFY(both.text.startsWith("41 00 BE 3F A8 13\r\r>"));
        car.now = both.finished;
        QCOMPARE(car.exchange("").text, B("41 0D 00\r\r>"));
    }
};

ZELCOR_TEST(AdapterTest)
#include "adapter_test.moc"
