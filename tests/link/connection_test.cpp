#include "link/connection.h"
#include "link/helptexts.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// A connection over the in-process simulated adapter and car.
struct SimRig {
    QTemporaryDir dir;
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Link link{clock, port, host, dir.path()};
    Connection connection{link, QStringLiteral("ZELCOR  v2.52")};
    int passes = 0;
    QList<bool> enabledDuring; // CONNECT's enabled state seen from inside the connection

    explicit SimRig(const QString& profile = QStringLiteral("can11"), sim::Options options = {})
        : port(clock, carOptions(profile, options)) {
        connection.hooks.runPass = [this] {
            ++passes;
            enabledDuring << connection.panel.connectEnabled;
            link.send(QStringLiteral("0100"));
            link.receive();
        };
    }
    void stopAfterPasses(int n) {
        connection.hooks.runPass = [this, n] {
            ++passes;
            enabledDuring << connection.panel.connectEnabled;
            if (passes >= n) connection.DISCONNECT();
        };
    }
    QByteArray log() const { return fileText(dir.filePath("log.txt")); }
    void buttonsEnabled() const {
        QVERIFY(connection.panel.connectEnabled);
        QVERIFY(connection.panel.setupEnabled);
        QVERIFY(connection.panel.exitEnabled);
        QVERIFY(connection.panel.traceReplayEnabled);
        QCOMPARE(connection.panel.lamp, Lamp::Black);
        QVERIFY(!connection.running());
    }
};

} // namespace

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void fullConnectionWritesConnectAndDisconnectLines() {
        SimRig rig;
        QList<Lamp> lamps;
        connect(&rig.connection, &Connection::panelChanged, this, [&] {
            if (lamps.isEmpty() || lamps.last() != rig.connection.panel.lamp) lamps << rig.connection.panel.lamp;
        });
        rig.stopAfterPasses(3);
        rig.connection.CONNECT();
        QCOMPARE(rig.passes, 3);
        QCOMPARE(rig.connection.lastError, -1);
        QVERIFY(lamps.contains(Lamp::Yellow) && lamps.contains(Lamp::Green));
        QCOMPARE(lamps.last(), Lamp::Black);
        const QList<QByteArray> lines = rig.log().split('\n');
        QCOMPARE(lines[0], QByteArray("ZELCOR  v2.52\r"));
        QVERIFY(lines[1].startsWith("M ") && lines[1].endsWith(" C\r"));
        QVERIFY(rig.log().contains("WGI \r\n"));
        QVERIFY(!rig.log().contains("SEARCHING"));
        QVERIFY(lines[lines.size() - 2].startsWith("M ") && lines[lines.size() - 2].endsWith(" D\r"));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(rig.port.written().endsWith("ATWS\r\n")); // the adapter is left reset
        QVERIFY(!rig.enabledDuring.contains(true));
        rig.buttonsEnabled();
        // The wake-up set the adapter up and put its answer to 0100 on the clipboard.
        const QByteArray written = rig.port.written();
        for (const char* command : {"ATE0", "ATL0", "ATSPA3", "ATH1"})
            QVERIFY2(written.contains(command), command);
        QVERIFY(rig.host.clipboard.first().contains("41 00"));
    }

    // The search starts at the set port, goes on through 1 to 16 once, and stops at the
    // first adapter; busy and missing ports are only logged when nothing is found.
    void adapterSearch_data() {
        QTest::addColumn<bool>("noportsearch");
        QTest::addColumn<QList<int>>("tried");
        QTest::addColumn<int>("found");
        QTest::addColumn<QByteArray>("logged"); // empty: no log at all
        QList<int> all{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 2};
        QTest::newRow("search wraps to the adapter") << false << all << 2 << QByteArray();
        QTest::newRow("search disabled") << true << QList<int>{3} << 0 << QByteArray("GD0:COM3: ?\r\r>?\r\r>\r\n");
    }
    void adapterSearch() {
        QFETCH(bool, noportsearch);
        QFETCH(int, found);
        QFETCH(QByteArray, logged);
        LinkRig rig;
        rig.port.present = {1, 2, 3, 5};
        rig.port.busy = {5};
        rig.port.respond = [&](const QByteArray& line) {
            return rig.port.openNumber() == 2 && line == "ATWS" ? QByteArray("\r\rELM327 v1.5\r\r>")
                                                                : QByteArray("?\r\r>");
        };
        rig.link.setPollerEnabled(true);
        rig.link.settings.comport = 3;
        rig.link.settings.noportsearch = noportsearch;
        Connection connection(rig.link, QString());
        QCOMPARE(connection.findinterface(), found);
        QTEST(rig.port.opened, "tried");
        if (found) QVERIFY(rig.port.isOpen() && rig.port.openNumber() == found);
        QVERIFY2(rig.log().startsWith(logged), rig.log().constData());
        QCOMPARE(QFile::exists(rig.dir.filePath("log.txt")), !logged.isEmpty());
    }

    // Nothing at any port: every number is tried once and the log says why.
    void noPortAtAll() {
        LinkRig rig;
        rig.port.present = {};
        rig.link.settings.comport = 20;
        Connection connection(rig.link, QString());
        QCOMPARE(connection.findinterface(), 0);
        QCOMPARE(rig.port.opened.size(), 17); // port 20, then 1..16 once each
        QVERIFY(rig.log().contains("COM16: Invalid port number\r\n"));
    }

    void errorZero_data() {
        QTest::addColumn<bool>("noportsearch");
        QTest::newRow("with port search") << false;
        QTest::newRow("without port search") << true;
    }
    void errorZero() {
        QFETCH(bool, noportsearch);
        SimRig rig;
        rig.port.setSimulatorPort(9);
        rig.link.settings.noportsearch = noportsearch;
        rig.link.settings.comport = 1;
        rig.host.onMessage = [&](const RecordedMessage&) { QVERIFY(!rig.connection.panel.connectEnabled); };
        rig.stopAfterPasses(1);
        rig.connection.CONNECT();
        QCOMPARE(rig.connection.lastError, noportsearch ? 0 : -1);
        if (!noportsearch) {
            QCOMPARE(rig.passes, 1); // the search went on to port 9
            return;
        }
        QCOMPARE(rig.host.messages.size(), 1);
        const RecordedMessage& box = rig.host.messages.first();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QVERIFY(box.text.startsWith("Can not find ZELCOR interface.  ERROR NUMBER 0\r\n\r\n1)  Make sure the key"));
        QVERIFY(
            box.text.contains("\r\n7) UNcheck 'Disable automatic port search' in setup.\r\n\r\n8)  If all else fails"));
        QVERIFY(rig.connection.panel.statusError);
        QVERIFY(rig.connection.panel.status.startsWith("To solve this ERROR 0 problem,\r\n"));
        QVERIFY(rig.log().contains("M Can not find ZELCOR interface!  E#0\r\n"));
        rig.buttonsEnabled();
    }

    void helpItemsWithSearch() {
        const QString help = interfaceNotFoundHelp(false);
        QVERIFY(!help.contains("UNcheck"));
        QVERIFY(help.contains("\r\n7)  If all else fails, please email "));
    }

    void errorOneAfterFourFailedWakeups() {
        SimRig rig(QStringLiteral("nocar"));
        const double start = rig.clock.now();
        rig.connection.CONNECT();
        QCOMPARE(rig.connection.lastError, 1);
        QCOMPARE(rig.connection.retrycount, 4);
        QCOMPARE(rig.passes, 0);
        const double took = rig.clock.now() - start;
        QVERIFY2(took > 4 * 5.0 && took < 4 * 15.0, qPrintable(QString::number(took)));
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages.first().text.startsWith(
            "ERROR NUMBER 1.  Trouble trying to communicate with vehicle\r\n"));
        QVERIFY(rig.connection.panel.status.startsWith("To solve this ERROR 1 problem,"));
        rig.buttonsEnabled();
    }

    void disconnectDuringRetryWaitEndsAtOnce() {
        SimRig rig(QStringLiteral("nocar"));
        double pressedAt = 0;
        rig.clock.onYield = [&](double now) {
            if (pressedAt == 0 && rig.connection.panel.status == "Trying to communicate with vehicle, please wait." &&
                rig.connection.panel.lamp == Lamp::Red) {
                pressedAt = now;
                rig.connection.DISCONNECT();
            }
        };
        rig.connection.CONNECT();
        QVERIFY(pressedAt > 0);
        QVERIFY2(rig.clock.now() - pressedAt < 0.1, qPrintable(QString::number(rig.clock.now() - pressedAt)));
        QVERIFY(rig.host.messages.isEmpty());
        QVERIFY(rig.log().endsWith(" D\r\n"));
        QVERIFY(!rig.port.isOpen());
        rig.buttonsEnabled();
    }

    void unplugDuringConnectionReportsOnceAndEnds() {
        sim::Options options;
        options.unplugAfter = 5;
        SimRig rig(QStringLiteral("can11"), options);
        rig.connection.CONNECT();
        QCOMPARE(rig.connection.lastError, int(PortErrorDeviceRemoved));
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY2(rig.host.messages.first().text.startsWith("ERROR NUMBER 8021"),
                 qPrintable(rig.host.messages.first().text.left(200)));
        rig.buttonsEnabled();
    }

    void protocolCommands_data() {
        QTest::addColumn<int>("initmode");
        QTest::addColumn<QString>("command");
        QTest::newRow("default") << 0 << "ATSPA3";
        QTest::newRow("one") << 1 << "ATSPA3";
        QTest::newRow("automatic") << -1 << "ATSPA0";
        QTest::newRow("automatic from 1") << -2 << "ATSPA1";
        QTest::newRow("search") << -3 << "ATSP0";
        QTest::newRow("fixed VPW") << -99 << "ATSP2";
        QTest::newRow("other") << 7 << "ATSPA7";
    }
    void protocolCommands() {
        QFETCH(int, initmode);
        QTEST(Connection::protocolCommand(initmode), "command");
    }

    void wakeupAcceptsASearchingAnswer() {
        LinkRig rig;
        rig.port.respond = [](const QByteArray& line) -> QByteArray {
            if (line == "ATWS") return "\r\rELM327 v1.5\r\r>";
            if (line == "0100") return "SEARCHING...\r41 00 BE 3F A8 13\r\r>";
            return "OK\r\r>";
        };
        rig.port.open(1);
        rig.link.stopflag = false;
        Connection connection(rig.link, QString());
        QVERIFY(connection.wakeup());
        rig.link.closelog();
        QCOMPARE(rig.log(), QByteArray("WGI \r\n\r41 00 BE 3F A8 13\r\r>\r\n"));
    }

    void wakeupWhileReplayingSendsNothing() {
        SimRig rig;
        rig.link.replaying = true;
        QVERIFY(rig.connection.wakeup());
        QVERIFY(rig.port.written().isEmpty());
    }
};

ZELCOR_TEST(ConnectionTest)
#include "connection_test.moc"
