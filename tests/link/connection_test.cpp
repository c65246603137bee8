// The connection: the adapter search, its confirmation, the wakeup and its retries, and
// the numbered errors. The normal connection's trace lines and panels are in the golden
// outputs (tests/golden/data/*/log.txt, panels.txt, nocar/scan.txt for ERROR NUMBER 1).

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
    Settings settings;
    Link link{clock, port, host, settings, dir.path()};
    Connection connection{link, QStringLiteral("ZELCOR  v2.52")};
    int passes = 0; // each asks for 0100; the first ends the connection

    explicit SimRig(const QString& profile = QStringLiteral("can11")) : port(clock, carOptions(profile)) {
        connection.setPassRunner([this] {
            link.request(QStringLiteral("0100"));
            if (++passes == 1) connection.requestDisconnect();
        });
    }
    QByteArray log() const { return fileText(dir.filePath("log.txt")); }
    // Everything is usable again once the connection has ended.
    void ended() const {
        const ConnectionPanelState& panel = connection.panel();
        QVERIFY(panel.connectEnabled && panel.setupEnabled && panel.exitEnabled && panel.traceReplayEnabled);
        QCOMPARE(panel.lamp, Lamp::Black);
        QVERIFY(!connection.running());
        QVERIFY(!port.isOpen());
    }
};

} // namespace

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    // The search starts at the set port, goes on through 1 to 16 once, and stops at the
    // first adapter; busy and missing ports are only logged when nothing is found.
    void adapterSearch_data() {
        QTest::addColumn<int>("startPort");
        QTest::addColumn<bool>("noPortSearch");
        QTest::addColumn<QList<int>>("tried");
        QTest::addColumn<int>("found");
        QTest::addColumn<QByteArray>("logged"); // empty: no log at all
        QTest::newRow("search wraps to the adapter")
            << 3 << false << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 2} << 2 << QByteArray();
        QTest::newRow("search disabled") << 3 << true << QList<int>{3} << 0 << QByteArray("GD0:COM3: ?\r\r>?\r\r>\r\n");
        QTest::newRow("port beyond 16: 1 to 16 once")
            << 20 << false << QList<int>{20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16} << 0
            << QByteArray("GD0:COM20: Invalid port number\r\nCOM1: ?\r\r>?\r\r>\r\nCOM2: ?\r\r>?\r\r>\r\nCOM3: "
                          "?\r\r>?\r\r>\r\n"
                          "COM4: Invalid port number\r\nCOM5: Port already open\r\n");
    }
    void adapterSearch() {
        QFETCH(int, startPort);
        QFETCH(bool, noPortSearch);
        QFETCH(int, found);
        QFETCH(QByteArray, logged);
        LinkRig rig;
        rig.port.present = {1, 2, 3, 5};
        rig.port.busy = {5};
        const int adapterAt = found ? found : 99;
        rig.port.respond = [&](const QByteArray& line) {
            return rig.port.openNumber() == adapterAt && line == "ATWS" ? QByteArray("\r\rELM327 v1.5\r\r>")
                                                                        : QByteArray("?\r\r>");
        };
        rig.link.setPollerEnabled(true);
        rig.settings.startPort = qint16(startPort);
        rig.settings.noPortSearch = noPortSearch;
        Connection connection(rig.link, QString());
        QCOMPARE(connection.findAdapter(), found);
        QTEST(rig.port.opened, "tried");
        if (found) QVERIFY(rig.port.isOpen() && rig.port.openNumber() == found);
        QVERIFY2(rig.log().startsWith(logged), rig.log().constData());
        QCOMPARE(QFile::exists(rig.dir.filePath("log.txt")), !logged.isEmpty());
    }

    // ERROR NUMBER 0: the box (item 7 only when the search is disabled), the status and
    // the log line; CONNECT stays locked while the box shows.
    void adapterNotFound_data() {
        QTest::addColumn<bool>("noPortSearch");
        QTest::addColumn<int>("simulatorPort");
        QTest::addColumn<QString>("item7"); // empty: the search found the adapter
        QTest::addColumn<QString>("cause");
        QTest::newRow("search finds port 9") << false << 9 << ""
                                             << "";
        QTest::newRow("search disabled") << true << 9 << "\r\n7) UNcheck 'Disable automatic port search' in setup."
                                         << "port 1 has no device, and the automatic port search is disabled";
        QTest::newRow("nothing anywhere") << false << 99 << "\r\n7)  If all else fails, please email "
                                          << "no serial device was found: is the adapter plugged in?";
    }
    void adapterNotFound() {
        QFETCH(bool, noPortSearch);
        QFETCH(int, simulatorPort);
        QFETCH(QString, item7);
        QFETCH(QString, cause);
        SimRig rig;
        rig.port.setSimulatorPort(simulatorPort);
        rig.settings.noPortSearch = noPortSearch;
        rig.host.onMessage = [&](const RecordedMessage&) { QVERIFY(!rig.connection.panel().connectEnabled); };
        rig.connection.run();
        rig.ended();
        if (item7.isEmpty()) {
            QCOMPARE(rig.connection.lastError(), ConnectionError::None);
            QCOMPARE(rig.passes, 1);
            return;
        }
        QCOMPARE(rig.connection.lastError(), ConnectionError::AdapterNotFound);
        QCOMPARE(rig.host.messages.size(), 1);
        const RecordedMessage& box = rig.host.messages.first();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, MessageIcon::Critical);
        QVERIFY(box.text.startsWith("Can not find ZELCOR interface (" + cause +
                                    ").  ERROR NUMBER 0\r\n\r\n1)  Make sure the key"));
        QVERIFY2(box.text.contains(item7), qPrintable(box.text));
        QVERIFY(rig.connection.panel().statusError);
        QCOMPARE(rig.connection.panel().status, cause + "\r\n" + errorStatusText(0));
        QVERIFY(rig.log().contains("M Can not find ZELCOR interface!  E#0\r\n"));
    }

    // The port answered as the adapter during the search, then never again.
    void adapterNotConfirmed() {
        LinkRig rig;
        int resets = 0;
        rig.port.respond = [&](const QByteArray& line) {
            return line == "ATWS" && ++resets <= 2 ? QByteArray("ELM327 v1.5\r\r>") : QByteArray("?\r\r>");
        };
        Connection connection(rig.link, QString());
        bool passed = false;
        connection.setPassRunner([&] { passed = true; });
        connection.run();
        QVERIFY(!passed);
        QCOMPARE(connection.lastError(), ConnectionError::AdapterNotConfirmed);
        QCOMPARE(connection.panel().status, QStringLiteral("ZELCOR Tesselar interface not found."));
        QCOMPARE(rig.host.messages.size(), 1);
        QCOMPARE(rig.host.messages[0].title, QStringLiteral("ZELCOR Tesselar interface not found."));
        QCOMPARE(rig.host.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(!rig.port.isOpen());
    }

    // A Wi-Fi adapter that refuses the second connection: said at once, with the cause.
    void reopenRefused() {
        LinkRig rig;
        rig.port.respond = [&](const QByteArray& line) {
            if (line != "ATWS") return QByteArray("?\r\r>");
            rig.port.busy.insert(1); // from now on another program holds it
            return QByteArray("ELM327 v1.5\r\r>");
        };
        Connection connection(rig.link, QString());
        connection.run();
        QCOMPARE(connection.lastError(), ConnectionError::AdapterNotConfirmed);
        QVERIFY2(rig.clock.now() < 1000 + 5, qPrintable(QString::number(rig.clock.now())));
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY2(rig.host.messages[0].text.contains("Its port could not be opened again: Port already open"),
                 qPrintable(rig.host.messages[0].text));
    }

    // Between wakeups the vehicle gets one second and four more.
    void retryPause() {
        SimRig rig(QStringLiteral("nocar"));
        QList<double> shown; // when "Trying to communicate" came and went
        rig.clock.onYield = [&](double now) {
            const bool trying = rig.connection.panel().status.startsWith("Trying");
            if (trying != (shown.size() % 2 == 1)) shown << now;
            if (shown.size() == 2) rig.connection.requestDisconnect();
        };
        rig.connection.run();
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown[1] - shown[0] > 5 && shown[1] - shown[0] < 5.1,
                 qPrintable(QString::number(shown[1] - shown[0])));
    }

    // ERROR NUMBER 1 after the fourth wakeup the vehicle did not answer, each followed by
    // a pause of five seconds.
    void vehicleSilentAfterFourWakeups() {
        SimRig rig(QStringLiteral("nocar"));
        const double start = rig.clock.now();
        rig.connection.run();
        const double took = rig.clock.now() - start;
        QCOMPARE(rig.connection.lastError(), ConnectionError::VehicleSilent);
        QCOMPARE(rig.port.written().count("0100\r"), 4);
        QCOMPARE(rig.passes, 0);
        QVERIFY2(took > 4 * 5.0 && took < 4 * 15.0, qPrintable(QString::number(took)));
        QCOMPARE(rig.host.messages.size(), 1); // its text: tests/golden/data/nocar/scan.txt
        QCOMPARE(rig.connection.failureCause(),
                 "the adapter answered, but the vehicle did not (the adapter said \"UNABLE TO CONNECT\"); is the "
                 "ignition on?");
        QVERIFY(rig.connection.panel().status.startsWith(rig.connection.failureCause() + "\r\n"));
        rig.ended();
    }

    void disconnectDuringRetryWaitEndsAtOnce() {
        SimRig rig(QStringLiteral("nocar"));
        double pressedAt = 0;
        QList<Lamp> lamps;
        rig.clock.onYield = [&](double now) {
            const ConnectionPanelState& panel = rig.connection.panel();
            if (lamps.isEmpty() || lamps.last() != panel.lamp) lamps << panel.lamp;
            if (pressedAt == 0 && panel.status == "Trying to communicate with vehicle, please wait." &&
                panel.lamp == Lamp::Red) {
                pressedAt = now;
                rig.connection.requestDisconnect();
            }
        };
        rig.connection.run();
        QVERIFY(pressedAt > 0);
        QCOMPARE(lamps, (QList<Lamp>{Lamp::Black, Lamp::Yellow, Lamp::Red})); // waking, then retrying
        QVERIFY2(rig.clock.now() - pressedAt < 0.1, qPrintable(QString::number(rig.clock.now() - pressedAt)));
        QVERIFY(rig.host.messages.isEmpty());
        QCOMPARE(rig.connection.lastError(), ConnectionError::None);
        QVERIFY(rig.log().endsWith(" D\r\n"));
        QVERIFY(rig.port.written().endsWith("ATWS\r")); // the adapter is left reset
        rig.ended();
    }

    void wakeupAcceptsASearchingAnswer() {
        LinkRig rig;
        rig.port.respond = [](const QByteArray& line) -> QByteArray {
            if (line == "ATWS") return "\r\rELM327 v1.5\r\r>";
            if (line == "0100") return "SEARCHING...\r41 00 BE 3F A8 13\r\r>";
            return "OK\r\r>";
        };
        rig.port.open(1);
        rig.link.clearStopRequest();
        Connection connection(rig.link, QString());
        QVERIFY(connection.wakeup());
        rig.link.closeTrace();
        QCOMPARE(rig.log(), QByteArray("WGI \r\n\r41 00 BE 3F A8 13\r\r>\r\n"));
        QCOMPARE(rig.host.clipboard, QStringList{"SEARCHING...\r41 00 BE 3F A8 13\r\r>"});
    }
};

ZELCOR_TEST(ConnectionTest)
#include "connection_test.moc"
