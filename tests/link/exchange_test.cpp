#include "link/link.h"
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
        link.stopflag = false;
        link.setPollerEnabled(true);
    }
    QString exchange(const QByteArray& answer) {
        reply = answer;
        link.send(QStringLiteral("0100"));
        return link.receive();
    }
};

} // namespace

class ExchangeTest : public QObject {
    Q_OBJECT
private slots:
    void receiveNormalises_data() {
        QTest::addColumn<QString>("ecuaddr");
        QTest::addColumn<int>("hdrformat");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks, CRs and prompt go") << "" << 5 << QByteArray("41 00 BE 3F A8 13\r\r>") << "4100BE3FA813";
        QTest::newRow("line feeds go") << "" << 5 << QByteArray("41 00\r\n41 00\r\n\r\n>") << "41004100";
        QTest::newRow("11-bit CAN picks the controller")
            << "E8" << 2 << QByteArray("7E8 06 41 00 BE 3F A8 13\r7E9 06 41 00 BE 3F A8 11\r\r>")
            << "0706E84100BE3FA813";
        QTest::newRow("11-bit CAN second controller")
            << "E9" << 2 << QByteArray("7E8064100BE3FA813\r7E9064100BE3FA811\r\r>") << "0706E94100BE3FA811";
        QTest::newRow("29-bit CAN") << "10" << 7 << QByteArray("18 DA F1 10 06 41 00 BE 3E B8 13\r\r>")
                                    << "1806104100BE3EB813";
        QTest::newRow("legacy header kept")
            << "18" << 5 << QByteArray("48 6B 10 41 00 BE 3E B8 13 C4\r48 6B 18 41 00 80 00 00 00 1E\r\r>")
            << "486B184100800000001E";
        QTest::newRow("no matching line returns everything")
            << "E8" << 2 << QByteArray("7E9 06 41 00 BE 3F A8 11\rNO DATA\r\r>") << "7E9064100BE3FA811NODATA";
        QTest::newRow("short lines skipped") << "E8" << 2 << QByteArray("7E8\r7E8 03 41 0D 20\r\r>") << "0703E8410D20";
        QTest::newRow("adapter text passes through") << "" << 5 << QByteArray("NO DATA\r\r>") << "NODATA";
        // Nothing left: the link needs setting up again.
        QTest::newRow("nothing") << "" << 5 << QByteArray() << "";
        QTest::newRow("prompt only") << "" << 5 << QByteArray(">") << "";
        QTest::newRow("blank lines") << "" << 5 << QByteArray("\r\n \r>") << "";
    }
    void receiveNormalises() {
        QFETCH(QString, ecuaddr);
        QFETCH(int, hdrformat);
        QFETCH(QByteArray, raw);
        QFETCH(QString, expected);
        Rig rig;
        rig.link.ecuaddr = ecuaddr;
        rig.link.hdrformat = hdrformat;
        QCOMPARE(rig.exchange(raw), expected);
        QCOMPARE(rig.link.needinit, expected.isEmpty());
    }

    void sendWaitsForPromptThenSrTime() {
        Rig rig;
        rig.port.delay = 0.05;
        rig.link.settings.srtime = 0.25;
        rig.reply = "OK\r\r>";
        const double start = rig.clock.now();
        rig.link.send(QStringLiteral("ATE0"));
        const double took = rig.clock.now() - start;
        QVERIFY2(took > 0.3 && took < 0.31, qPrintable(QString::number(took)));
        QCOMPARE(rig.port.lines.last(), QByteArray("ATE0"));
    }

    void sendGivesUpAfterOneSecond() {
        Rig rig;
        rig.reply = "41 00"; // never a prompt
        const double start = rig.clock.now();
        rig.link.send(QStringLiteral("0100"));
        const double took = rig.clock.now() - start;
        QVERIFY(took > 1.0 && took < 1.01);
        QCOMPARE(rig.link.receive(), QStringLiteral("4100"));
    }

    void sendEmptiesOldInput() {
        Rig rig;
        rig.link.rxbuf = QStringLiteral("stale>");
        QCOMPARE(rig.exchange("41 0D 20\r\r>"), QStringLiteral("410D20"));
    }

    void receiveMultiKeepsLinesAndWaitsFully() {
        Rig rig;
        rig.reply = "7E8 06 43 01 01 33\r7E9 06 43 01 07 00\r\r>";
        rig.link.send(QStringLiteral("03"));
        const double start = rig.clock.now();
        const QString s = rig.link.ReceiveMulti(1.5);
        QVERIFY(rig.clock.now() - start > 1.5);
        QCOMPARE(s, QStringLiteral("7E80643010133\r7E90643010700\r\r"));
    }

    void traceLines_data() {
        QTest::addColumn<bool>("recording");
        QTest::newRow("Debug on") << true;
        QTest::newRow("Debug off") << false;
    }
    void traceLines() {
        QFETCH(bool, recording);
        Rig rig;
        rig.link.settings.recording = recording;
        rig.link.openlog();
        rig.exchange("41 00 BE 3F A8 13\r\r>");
        rig.reply = "7E8 03 41 0D 20\r\r>";
        rig.link.send(QStringLiteral("010D"));
        rig.link.ReceiveMulti();
        rig.link.closelog();
        QCOMPARE(rig.log(), recording ? QByteArray("S0100\r\nR41 00 BE 3F A8 13\\r\\r>\r\nGI\r\n4100BE3FA813\r\n"
                                                   "S010D\r\nR7E8 03 41 0D 20\\r\\r>\r\nRM\r\n7E803410D20\r\r\r\n")
                                      : QByteArray());
    }

    void logIsAppendedNeverTruncated() {
        Rig rig;
        for (int i = 0; i < 2; ++i) {
            rig.link.openlog();
            rig.link.logline(QStringLiteral("line %1").arg(i));
            rig.link.closelog();
        }
        QCOMPARE(rig.log(), QByteArray("line 0\r\nline 1\r\n"));
    }

    void replayingTouchesNoPortAndNoLog() {
        Rig rig;
        QVERIFY(writeText(rig.dir.filePath("log.txt"), "S0100\r\nL3\r\nR4100BE3FA813\r\nS010D\r\n"));
        int listLine = -1;
        rig.link.onReplayListLine = [&](int n) { listLine = n; };
        rig.link.settings.recording = true;
        rig.link.replaying = true;
        QVERIFY(rig.link.trace.openForReplay());
        const int written = rig.port.lines.size();
        const double start = rig.clock.now();
        rig.link.send(QStringLiteral("0100"));
        QCOMPARE(rig.clock.now(), start); // no wait at all
        QCOMPARE(rig.port.lines.size(), written);
        QCOMPARE(rig.link.receive(), QStringLiteral("4100BE3FA813"));
        QCOMPARE(listLine, 3);
        QCOMPARE(rig.link.receive(), QString()); // no further reply: position kept
        QVERIFY(rig.link.needinit);
        rig.link.trace.closelog();
        QCOMPARE(rig.log(), QByteArray("S0100\r\nL3\r\nR4100BE3FA813\r\nS010D\r\n"));
    }

    void pollerRecordsReceptionTime() {
        Rig rig;
        rig.port.delay = 0.1;
        const double sent = rig.clock.now();
        rig.exchange("41 0D 20\r\r>");
        QVERIFY(rig.link.lastrxtime >= sent + 0.1 && rig.link.lastrxtime < sent + 0.102);
        QVERIFY(!rig.link.timeAfterReceive.isEmpty());
    }

    void pollerIdleWhenDisabled() {
        Rig rig;
        rig.link.setPollerEnabled(false);
        rig.reply = "OK\r\r>";
        rig.link.send(QStringLiteral("ATE0"));
        QVERIFY(rig.link.rxbuf.isEmpty());
        QCOMPARE(rig.port.bytesWaiting(), qint64(5));
    }

    void removedDeviceReportedOncePerConnection() {
        Rig rig;
        rig.port.unplug();
        rig.clock.yield();
        rig.link.poll();
        rig.link.poll();
        QVERIFY(rig.link.stopflag);
        QCOMPARE(rig.host.messages.size(), 1);
        QCOMPARE(rig.host.messages[0].title, QStringLiteral("Error"));
        QVERIFY(rig.host.messages[0].text.startsWith("ERROR NUMBER 8021\r\n\r\nCheck the connection at the USB port"));
        rig.link.resetDeviceRemovedReport();
        rig.link.poll();
        QCOMPARE(rig.host.messages.size(), 2);
    }
};

ZELCOR_TEST(ExchangeTest)
#include "exchange_test.moc"
