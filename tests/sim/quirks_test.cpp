// The quirks of adapters as they are sold, switched on by zelcor-sim's options: what the
// adapter sends, step by step on made-up time, for what a client writes.

#include "sim/outputqueue.h"
#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using B = QByteArray;

namespace {

// What the client does at `delay` seconds after the step before: writes `written` (a
// "rate N" step sets its line's rate instead), and all it receives until the next step
// (the last: for five seconds).
struct Step {
    double delay;
    B written;
    B expected;
};
using Steps = QList<Step>;

} // namespace

Q_DECLARE_METATYPE(Steps)

class QuirksTest : public QObject {
    Q_OBJECT
private slots:
    void steps_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("realTiming");
        QTest::addColumn<Steps>("steps");
        auto row = [](const char* name, const QStringList& arguments, const Steps& steps, bool realTiming = false,
                      const QString& profile = QStringLiteral("can11")) {
            QTest::newRow(name) << profile << arguments << realTiming << steps;
        };
        const B quiet = "ATE0\rATL0\r", acknowledged = "ATE0\r\nOK\r\n\r\n>OK\r\r>";
        const B banner = "\r\n\r\nELM327 v1.5\r\n\r\n>";
        const B both = "41 00 BE 3F A8 13\r41 00 88 18 00 10\r\r>", engine = "7E8 06 41 00 BE 3F A8 13\r";
        row("a lying banner over the commands of 1.1", {"--banner", "ELM327 v2.2", "--command-set", "1.1"},
            {{0, quiet + "ATI\rATAT1\rATBRD45\rATS0\rATCRA7E8\rATDPN\rATCAF0\r",
              acknowledged + "ELM327 v2.2\r\r>" + B("?\r\r>").repeated(4) + "A0\r\r>OK\r\r>"}});
        row("refused commands", {"--refuse", "ATAT,ATST,ATCRA,ATSH3,ATDPN,ATBRD,ATCAF"},
            {{0, quiet + "ATAT1\rATST19\rATCRA7E8\rATSHDB33F1\rATSH7E0\rATDPN\rATCAF0\rATBRD23\rATDP\r",
              acknowledged + B("?\r\r>").repeated(4) + "OK\r\r>" + B("?\r\r>").repeated(3) + "AUTO\r\r>"}});
        row("stray bytes around the banner",
            {"--stray-before", "\\xFC\\x00+CONNECTING<<00:1D>>\\r\\n", "--stray-after", "\\x00"},
            {{0, quiet + "ATWS\r",
              acknowledged + "\r\n\r\n" + B("\xFC\0+CONNECTING<<00:1D>>\r\n", 24) + "ELM327 v1.5\r\n" + B(1, '\0') +
                  "\r\n>"}});
        row("settings without OK, echo and line feeds that stay",
            {"--silent-settings", "--sticky-echo", "--sticky-linefeeds"},
            {{0, "ATE0\rATL0\rATH1\rATI\r",
              "ATE0\r\n\r\n\r\n>ATL0\r\n\r\n\r\n>ATH1\r\n\r\n\r\n>ATI\r\nELM327 v1.5\r\n\r\n>"}});
        const B count = "ATE0\rATL0\rATH1\r01001\r", counted = acknowledged + "OK\r\r>SEARCHING...\r" + engine;
        row("response count honoured", {}, {{0, count, counted + "\r>"}});
        row("response count ignored", {"--response-count", "ignored"},
            {{0, count, counted + "7E9 06 41 00 88 18 00 10\r\r>"}});
        row("response count one more", {"--response-count", "one-more"},
            {{0, count, counted + "7E9 06 41 00 88 18 00 10\r\r>"}});
        row("ATZ silent for 1.5 s", {"--reset-silence", "1.5"},
            {{0, "ATZ\r", "ATZ\r\n"}, {1.4, "", banner}, {0.2, "ATWS\r", "ATWS\r\n" + banner}});
        row("searching for 5 s", {"--search-seconds", "5"},
            {{0, quiet + "0100\r", acknowledged + "SEARCHING...\r"}, {4.9, "", both}});
        row("the first bus initialisation fails", {"--bus-init-failures", "1"},
            {{0, quiet + "0100\r", acknowledged + "SEARCHING...\rBUS INIT: ...ERROR\r\r>"},
             {1, "0100\r", "SEARCHING...\rBUS INIT: ...OK\r41 00 BE 3E B8 13\r41 00 88 18 00 10\r\r>"}},
            false, QStringLiteral("legacy"));
        row("a line feed after the request stops it", {"--stop-on-any"},
            {{0, quiet + "ATSP6\r0100\r", acknowledged + "OK\r\r>" + both}, {1, "0100\r\n", "STOPPED\r\r>"}}, true);
        const B vin = "ATE0\rATL0\rATH1\r0100\r0902\r",
                vinStart = acknowledged + "OK\r\r>SEARCHING...\r" + engine +
                           "7E9 06 41 00 88 18 00 10\r\r>7E8 10 14 49 02 01 31 5A 43\r";
        row("a full buffer", {"--buffer-full", "60"},
            {{0, vin, vinStart + "7E8 21 34 53 31 4D 30 58 4E\rBUFFER FULL\r\r>"}});
        row("the STN's buffer holds it", {"--buffer-full", "60"},
            {{0, vin, vinStart + "7E8 21 34 53 31 4D 30 58 4E\r7E8 22 31 30 30 30 33 32 37\r\r>"}}, false,
            QStringLiteral("stn"));
        row("the STN's own commands", {},
            {{0, quiet + "ATH1\rSTI\rSTDI\rATI\rSTPXH:7E1,D:010D,R:1\rSTPX D:010D\rSTFOO\r",
              acknowledged + "OK\r\r>STN1110 v4.2.7\r\r>Serial OBD interface r1.2\r\r>ELM327 v1.4b\r\r>"
                             "SEARCHING...\r7E9 03 41 0D 00\r\r>7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>?\r\r>"}},
            false, QStringLiteral("stn"));
        row("asleep after 30 s, woken 10 s later",
            {"--sleep-after", "30", "--asleep-seconds", "10", "--sleep-word", "LV RESET"},
            {{0, quiet, acknowledged},
             {25, "ATI\r", "ELM327 v1.5\r\r>\rLV RESET\r"},
             {10, "ATI\r", ""},
             {6, "ATI\r", banner},
             {1, "ATI\r", "ATI\r\nELM327 v1.5\r\n\r\n>"}});
        row("asleep when idle", {"--sleep-after", "5", "--sleep-when-idle", "--sleep-word", "ACT ALERT"},
            {{0, quiet, acknowledged},
             {4, "ATI\r", "ELM327 v1.5\r\r>\rACT ALERT\r"},
             {8, "\r", banner + "\r\nACT ALERT\r\n"}});
        row("the ignition comes on after 10 s", {"--ignition-after", "10"},
            {{0, quiet + "0100\r", acknowledged + "SEARCHING...\rUNABLE TO CONNECT\r\r>"},
             {10, "0100\r", "SEARCHING...\r" + both}});
        // The adapter at 115200 baud: a client at 38400 reads junk, and the adapter hears it.
        const B junkEcho = sim::misread(sim::misread("ATI\r"));
        row("another rate", {"--baud", "115200"},
            {{0, "ATI\r", junkEcho}, {1, "rate 115200", ""}, {0, "\r", "\r\n?\r\n\r\n>"}});
        // AT BRD 23: OK at the old rate, the banner at the new one, confirmed by a carriage
        // return at the new rate in time, else back to the old one.
        const B handshake = acknowledged + "OK\r" + sim::misread("ELM327 v1.5\r");
        row("rate switch confirmed", {},
            {{0, quiet + "ATBRD23\r", handshake},
             {0.01, "rate 115200", ""},
             {0, "\r", ">"},
             {1, "ATI\r", "ELM327 v1.5\r\r>"},
             {0, "ATZ\r", sim::misread(banner)}});
        row("rate switch unconfirmed", {},
            {{0, quiet + "ATBRD23\r", handshake + ">"}, {1, "ATI\r", "ELM327 v1.5\r\r>"}});
        row("refused rate switch", {"--refuse", "ATBRD"}, {{0, quiet + "ATBRD23\r", acknowledged + "?\r\r>"}});
    }
    void steps() {
        QFETCH(QString, profile);
        QFETCH(QStringList, arguments);
        QFETCH(bool, realTiming);
        QFETCH(Steps, steps);
        QString error;
        sim::Options options = test::parsed(profile, arguments, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        options.realTiming = realTiming;
        sim::Simulator car(options);
        double now = 100;
        for (qsizetype k = 0; k < steps.size(); ++k) {
            const Step& step = steps[k];
            now += step.delay;
            if (step.written.startsWith("rate "))
                car.setClientRate(step.written.mid(5).toInt());
            else if (!step.written.isEmpty())
                car.input(step.written, now);
            const double until = k + 1 < steps.size() ? now + steps[k + 1].delay : now + 5;
            QCOMPARE(car.output(until), step.expected);
        }
    }

    // A reset that drops the Wi-Fi client, and a client dropped when idle: each once, for
    // the TCP server to close its connection; what was on its way goes with it.
    void hangUps() {
        sim::Options options;
        options.resetHangsUp = true;
        options.idleHangUp = 20;
        sim::Simulator car(options);
        car.input("ATI\r", 10);
        QVERIFY(!car.takeHangUp(11));
        QCOMPARE(car.nextHangUpTime(), 30.0);
        car.input("ATZ\r", 12);
        QVERIFY(car.takeHangUp(12));
        QVERIFY(!car.takeHangUp(13));
        QVERIFY(!car.output(20).contains("ELM327"));
        QVERIFY(car.takeHangUp(32)); // idle since 12
        QVERIFY(!car.takeHangUp(33));
    }
};

ZELCOR_TEST(QuirksTest)
#include "quirks_test.moc"
