// The command exchange: prompt waits, the reply of the selected controller, parsed
// replies, the trace lines, the poller.

#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The link on an open port whose adapter gives `reply` to every command.
struct Rig : LinkRig {
    QByteArray reply;

    Rig() {
        port.respond = [this](const QByteArray&) { return reply; };
        port.open(1);
        link.clearStopRequest();
        link.setPollerEnabled(true);
    }
    Reply exchange(const QByteArray& answer) {
        reply = answer;
        return link.request(QStringLiteral("0100"));
    }
    double timed(const std::function<void()>& action) {
        const double start = clock.now();
        action();
        return clock.now() - start;
    }
};

// Controller, service, parameter, data bytes and whether the selected controller sent it.
QString parsed(const Reply& r) {
    const QString data = r.data.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(r.data.toHex());
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(r.controller, 0, 16)
        .arg(r.service, 0, 16)
        .arg(r.parameter, 0, 16)
        .arg(data)
        .arg(r.fromSelected);
}

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    // A doubtful command the adapter refused ("?", echoed or not) is answered "?" by the link
    // from then on without reaching the adapter; its other forms too. Any other answer
    // means it works; a command that is not doubtful is never held back.
    void refusedCommandsAreNotSentAgain_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("then");
        QTest::addColumn<bool>("sentAgain");
        QTest::newRow("ATAT refused") << "ATAT2" << QByteArray("?\r\r>") << "ATAT1" << false;
        QTest::newRow("refused with its echo") << "ATCAF1" << QByteArray("ATCAF1\r?\r\r>") << "ATCAF0" << false;
        QTest::newRow("ATST taken") << "ATST19" << QByteArray("OK\r\r>") << "ATST32" << true;
        QTest::newRow("ATDPN answered") << "ATDPN" << QByteArray("A6\r\r>") << "ATDPN" << true;
        QTest::newRow("three-byte header apart from three digits")
            << "ATSHDB33F1" << QByteArray("?\r\r>") << "ATSH7E0" << true;
        QTest::newRow("ATS apart from ATST") << "ATS0" << QByteArray("?\r\r>") << "ATST32" << true;
        QTest::newRow("a request is never held back") << "0100" << QByteArray("?\r\r>") << "0100" << true;
    }
    void refusedCommandsAreNotSentAgain() {
        QFETCH(QString, first);
        QFETCH(QByteArray, answer);
        QFETCH(QString, then);
        QFETCH(bool, sentAgain);
        Rig rig;
        rig.reply = answer;
        rig.link.send(first);
        rig.link.takeReceived();
        rig.port.lines.clear();
        rig.link.send(then);
        QCOMPARE(!rig.port.lines.isEmpty(), sentAgain);
        if (!sentAgain) QCOMPARE(rig.link.takeReceived(), QStringLiteral("?\r\r>"));
    }

    // The selected controller's line, its header normalised and parsed; everything when
    // it did not answer; nothing at all is a lost link. A byte pair that is not two hex
    // digits ends the data.
    void receive_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<HeaderLayout>("layout");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // empty: not read as a reply
        const auto row = [](const char* name, const char* selected, HeaderLayout layout, const char* raw,
                            const char* text, const char* parsed = "") {
            QTest::newRow(name) << selected << layout << QByteArray(raw) << text << parsed;
        };
        const HeaderLayout legacy = HeaderLayout::Legacy, can11 = HeaderLayout::Can11;
        row("blanks, CRs and prompt go", "", legacy, "41 00 BE 3F A8 13\r\r>", "4100BE3FA813");
        row("line feeds go", "", legacy, "41 00\r\n41 00\r\n\r\n>", "41004100");
        row("11-bit CAN, first", "E8", can11, "7E8 06 41 00 BE 3F A8 13\r7E9 06 41 00 BE 3F A8 11\r\r>",
            "0706E84100BE3FA813", "e8 41 0 be3fa813 1");
        row("11-bit CAN, second", "E9", can11, "7E8064100BE3FA813\r7E9064100BE3FA811\r\r>", "0706E94100BE3FA811",
            "e9 41 0 be3fa811 1");
        row("29-bit CAN", "10", HeaderLayout::Can29, "18 DA F1 10 06 41 00 BE 3E B8 13\r\r>", "1806104100BE3EB813",
            "10 41 0 be3eb813 1");
        row("legacy", "18", legacy, "48 6B 10 41 00 BE 3E B8 13 C4\r48 6B 18 41 00 80 00 00 00 1E\r\r>",
            "486B184100800000001E", "18 41 0 800000001e 1");
        row("controller silent: everything", "E8", can11, "7E9 06 41 00 BE 3F A8 11\rNO DATA\r\r>",
            "7E9064100BE3FA811NODATA");
        row("short lines skipped", "E8", can11, "7E8\r7E8 03 41 0D 20\r\r>", "0703E8410D20", "e8 41 d 20 1");
        row("no data bytes", "E8", can11, "7E8 02 41 0D\r\r>", "0702E8410D", "e8 41 d - 1");
        row("damaged pair: not read at all", "E8", can11, "7E8 06 41 00 BE 8Z A8 13\r\r>", "0706E84100BE8ZA813",
            "-1 -1 -1 - 0");
        row("adapter text", "E8", can11, "NO DATA\r\r>", "NODATA", "-1 -1 -1 - 0");
        row("nothing", "", legacy, "", "");
        row("prompt only", "E8", can11, ">", "");
        row("blank lines", "", legacy, "\r\n \r>", "");
    }
    void receive() {
        QFETCH(QString, selected);
        QFETCH(HeaderLayout, layout);
        QFETCH(QByteArray, raw);
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        Rig rig;
        rig.link.setSelectedController(selected);
        rig.link.setHeaderLayout(layout);
        const Reply reply = rig.exchange(raw);
        QCOMPARE(reply.text, text);
        if (!parsed.isEmpty()) QCOMPARE(::parsed(reply), parsed);
        QCOMPARE(rig.link.linkLost(), text.isEmpty());
    }

    // A reply is checked against the command it answers; what fails is rejected (never
    // read with missing bytes as 0) and the trace says why. Lowercase hex is sound.
    void rejected_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("why"); // empty: the reply answers the command
        QTest::newRow("sound") << "010C" << QByteArray("7E8 04 41 0C 1A F8\r\r>") << "";
        QTest::newRow("lowercase") << "010C" << QByteArray("7e8 04 41 0c 1a f8\r\r>") << "";
        QTest::newRow("echo that stays on") << "010C" << QByteArray("010C\r7E8 04 41 0C 1A F8\r\r>") << "";
        QTest::newRow("padding after the length") << "010D" << QByteArray("7E8 03 41 0D 20 55 55 55 55\r\r>") << "";
        QTest::newRow("no data bytes") << "010C" << QByteArray("7E8 02 41 0C\r\r>")
                                       << "0 data bytes where 2 were expected";
        QTest::newRow("one byte of two") << "010C" << QByteArray("7E8 03 41 0C 1A\r\r>")
                                         << "1 data bytes where 2 were expected";
        QTest::newRow("odd digit count") << "010C" << QByteArray("7E8 04 41 0C 1A F\r\r>")
                                         << "an odd number of hex digits";
        QTest::newRow("not hex") << "010C" << QByteArray("7E8 04 41 0C 1A 8Z\r\r>") << "\"Z\" is not a hex digit";
        QTest::newRow("length beyond the data")
            << "010C" << QByteArray("7E8 06 41 0C 1A F8\r\r>") << "the length byte announces 6 bytes, 4 follow";
        QTest::newRow("another PID") << "010C" << QByteArray("7E8 03 41 0D 20\r\r>")
                                     << "the reply answers 41 0D, not 41 0C";
        QTest::newRow("refused") << "010C" << QByteArray("7E8 03 7F 01 12\r\r>")
                                 << "the reply answers 7F 01, not 41 0C";
        QTest::newRow("another controller")
            << "010C" << QByteArray("7E9 04 41 0C 1A F8\r\r>") << "another controller answered (E9)";
        QTest::newRow("adapter error word") << "010C" << QByteArray("CAN ERROR\r\r>") << "the adapter said CAN ERROR";
        QTest::newRow("freeze frame parameter, frame number first")
            << "020C00" << QByteArray("7E8 04 42 0C 00 1A\r\r>") << "2 data bytes where 3 were expected";
    }
    void rejected() {
        QFETCH(QString, command);
        QFETCH(QByteArray, raw);
        QFETCH(QString, why);
        Rig rig;
        rig.link.setSelectedController(QStringLiteral("E8"));
        rig.link.setHeaderLayout(HeaderLayout::Can11);
        rig.settings.debugTrace = true;
        rig.link.openTrace();
        rig.reply = raw;
        const Reply reply = rig.link.request(command);
        const int service = command.left(2).toInt(), pid = command.mid(2, 2).toInt(nullptr, 16);
        QCOMPARE(reply.answers(service, pid), why.isEmpty());
        QCOMPARE(reply.whyNotAnswer(service, pid), why);
        const QByteArray log = rig.log();
        QCOMPARE(log.contains("\r\nX "), !why.isEmpty());
        if (!why.isEmpty()) QVERIFY2(log.contains("X " + why.toLatin1() + "\r\n"), log.constData());
    }

    void sendWaits_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<double>("promptDelay");
        QTest::addColumn<double>("took");
        QTest::newRow("prompt, then the prompt delay") << QByteArray("OK\r\r>") << 0.25 << 0.30;
        QTest::newRow("no prompt: a second") << QByteArray("41 00") << 0.0 << 1.0;
    }
    void sendWaits() {
        QFETCH(QByteArray, reply);
        QFETCH(double, promptDelay);
        QFETCH(double, took);
        Rig rig;
        rig.port.delay = 0.05;
        rig.settings.promptDelay = promptDelay;
        rig.reply = reply;
        rig.port.deliverAt(rig.clock.now(), "stale>"); // old input goes before the command
        rig.clock.yield();
        const double waited = rig.timed([&] { rig.link.send(QStringLiteral("ATE0")); });
        QVERIFY2(waited > took && waited < took + 0.01, qPrintable(QString::number(waited)));
        QCOMPARE(rig.port.lines.last(), QByteArray("ATE0"));
        QVERIFY(!rig.link.received().contains("stale"));
    }

    void receiveAllKeepsLinesAndWaitsFully() {
        Rig rig;
        rig.reply = "7E8 06 43 01 01 33\r7E9 06 43 01 07 00\r\r>";
        rig.link.send(QStringLiteral("03"));
        QString all;
        QVERIFY(rig.timed([&] { all = rig.link.receiveAll(1.5); }) > 1.5);
        QCOMPARE(all, QStringLiteral("7E80643010133\r7E90643010700\r\r"));
    }

    // With Debug off the exchange writes no trace lines (with Debug on they are in
    // tests/golden/data/*/log.txt); the log is only ever appended to.
    void traceLines() {
        Rig rig;
        QVERIFY(writeText(rig.dir.filePath("log.txt"), "earlier\r\n"));
        rig.link.openTrace();
        rig.exchange("41 00 BE 3F A8 13\r\r>");
        rig.link.receiveAll();
        rig.link.traceLine(QStringLiteral("M"));
        rig.settings.debugTrace = true;
        {
            TracePause pause(rig.link);
            rig.exchange("OK\r\r>");
        }
        rig.link.closeTrace();
        QCOMPARE(rig.log(), QByteArray("earlier\r\nM\r\n"));
    }

    // An "R" line holds a reply on one line and gives it back unchanged.
    void replyLines_data() {
        QTest::addColumn<QString>("reply");
        QTest::newRow("empty") << "";
        QTest::newRow("several lines") << "7E8 10 13 43 06 01 43\r\n7E8 21 01 96\r\r>";
        QTest::newRow("backslashes") << "\\r\\\\n\\";
        QTest::newRow("looks like the support tag") << "M";
    }
    void replyLines() {
        QFETCH(QString, reply);
        const QString line = Link::replyLine(reply);
        QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        QVERIFY(isReplyLine(line));
        QCOMPARE(Link::replyFromLine(line), reply);
    }

    // The poller moves input only while enabled; the reception time is when it took it.
    void poller() {
        Rig rig;
        rig.reply = "41 00\r\r>";
        rig.link.setPollerEnabled(false);
        rig.link.send(QStringLiteral("0100"));
        QVERIFY(rig.link.received().isEmpty());
        QCOMPARE(rig.port.bytesWaiting(), qint64(8));
        rig.link.setPollerEnabled(true);
        QCOMPARE(rig.link.received(), QStringLiteral("41 00\r\r>"));
        rig.clock.advance(0.25);
        rig.link.receive();
        QVERIFY2(rig.link.timeAfterReceive().startsWith("0.25"), qPrintable(rig.link.timeAfterReceive()));
    }

    void removedDeviceReportedOncePerConnection() {
        Rig rig;
        rig.port.unplug();
        rig.link.poll();
        QVERIFY(rig.link.stopRequested());
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages[0].text.startsWith("ERROR NUMBER 8021\r\n\r\nCheck the connection at the USB port"));
        rig.link.resetDeviceRemovedReport();
        rig.link.poll();
        QCOMPARE(rig.host.messages.size(), 2);
    }
};

ZELCOR_TEST(ExchangeTest)
#include "exchange_test.moc"
