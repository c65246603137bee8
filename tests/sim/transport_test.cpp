// The simulator behind its transports: a pseudo-terminal and a TCP port, talked to with
// plain POSIX calls (real time, but every read waits in poll() with a deadline), and the
// in-process test port on the test clock.

#include "sim/ptyserver.h"
#include "sim/tcpserver.h"
#include "simport.h"
#include "testmain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

using namespace zelcor;

namespace {

enum class End { Prompt, Closed, Timeout };

// Reads from `fd` until the prompt, the end of the stream or `seconds`, running the
// server's events in between.
End readAnswer(int fd, QByteArray* got, double seconds = 5) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < seconds * 1000) {
        QCoreApplication::processEvents();
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5) <= 0) continue;
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got->append(buffer, n);
            if (got->endsWith('>')) return End::Prompt;
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            return End::Closed;
        }
    }
    return End::Timeout;
}

QByteArray ask(int fd, const QByteArray& command) {
    [[maybe_unused]] const ssize_t n = ::write(fd, command.constData(), size_t(command.size()));
    QByteArray got;
    return readAnswer(fd, &got) == End::Prompt ? got : QByteArray("(no prompt) " + got);
}

int openDevice(const QString& path) {
    return ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

int connectTo(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

const QByteArray resetAnswer = "ATZ\r\n\r\n\r\nELM327 v1.5\r\n\r\n>";

} // namespace

class TransportTest : public QObject {
    Q_OBJECT
private slots:
    // The device keeps the adapter while clients come and go, and hangs up on unplug(),
    // on the unplug fault and when the server goes.
    void pseudoTerminal_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("unplug()") << "unplug";
        QTest::newRow("after one request") << "fault";
        QTest::newRow("server gone") << "gone";
    }
    void pseudoTerminal() {
        QFETCH(QString, end);
        sim::Options options;
        options.unplugAfter = end == QLatin1String("fault") ? 1 : 0;
        auto server = std::make_unique<sim::PtyServer>(options);
        QSignalSpy unplugged(server.get(), &sim::PtyServer::unplugged);
        QString error;
        QVERIFY2(server->start(&error), qPrintable(error));
        QVERIFY(server->devicePath().startsWith(QLatin1String("/dev/pts/")));
        int fd = openDevice(server->devicePath());
        QVERIFY(fd >= 0);
        QCOMPARE(ask(fd, "ATZ\r"), resetAnswer);
        // Raw line: no CR/LF translation in either direction.
        QCOMPARE(ask(fd, "ATE0\rATL0\r"), QByteArray("ATE0\r\nOK\r\n\r\n>OK\r\r>"));
        ::close(fd);
        fd = openDevice(server->devicePath()); // the adapter is still there, state and all
        QVERIFY(fd >= 0);
        QCOMPARE(ask(fd, "ATI\r"), QByteArray("ELM327 v1.5\r\r>"));
        if (end == QLatin1String("fault")) QVERIFY(ask(fd, "0100\r").contains("41 00"));
        if (end == QLatin1String("unplug")) server->unplug();
        // A server that goes closes both of its sides (the device number itself may at
        // once be reused by another pseudo-terminal).
        if (end == QLatin1String("gone")) server.reset();
        QByteArray rest;
        QCOMPARE(readAnswer(fd, &rest, 1), End::Closed);
        ::close(fd);
        QCOMPARE(unplugged.count(), server ? 1 : 0);
        QVERIFY(!server || !server->isRunning());
    }

    // One client at a time; the adapter keeps its state between them, and may drop one.
    void tcpRoundTrip() {
        sim::TcpServer server{sim::Options{}};
        QString error;
        QVERIFY2(server.listen(0, &error), qPrintable(error));
        const int fd = connectTo(server.port());
        QVERIFY(fd >= 0);
        QCOMPARE(ask(fd, "ATZ\r"), resetAnswer);
        QCOMPARE(ask(fd, "ATE0\r"), QByteArray("ATE0\r\nOK\r\n\r\n>"));
        // One client at a time: a second one is turned away.
        const int second = connectTo(server.port());
        QVERIFY(second >= 0);
        QByteArray refused;
        QCOMPARE(readAnswer(second, &refused), End::Closed);
        ::close(second);
        // After the first leaves, the next client finds the adapter as it was left.
        ::close(fd);
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        const int third = connectTo(server.port());
        QVERIFY(third >= 0);
        QByteArray answer;
        for (int attempt = 0; attempt < 100 && !answer.endsWith('>'); ++attempt)
            answer = ask(third, "ATI\r"); // the old connection may still be closing
        QCOMPARE(answer, QByteArray("ELM327 v1.5\r\n\r\n>"));
        // An adapter whose reset restarts its Wi-Fi module drops the client, and takes the next.
        server.simulator().options().resetHangsUp = true;
        [[maybe_unused]] const ssize_t n = ::write(third, "ATZ\r", 4);
        QByteArray rest;
        QCOMPARE(readAnswer(third, &rest, 2), End::Closed);
        QVERIFY(!rest.contains("ELM327"));
        ::close(third);
        const int fourth = connectTo(server.port());
        QCOMPARE(ask(fourth, "ATI\r"), QByteArray("ATI\r\nELM327 v1.5\r\n\r\n>"));
        ::close(fourth);
    }

    // The adapter hears a client only at its own rate: the pseudo-terminal reads the rate
    // the client set on the line.
    void pseudoTerminalRate() {
        sim::Options options = sim::realTimeOptions();
        options.baud = 115200;
        sim::PtyServer server(options);
        QVERIFY(server.start());
        const int fd = openDevice(server.devicePath());
        QVERIFY(fd >= 0);
        [[maybe_unused]] const ssize_t n = ::write(fd, "ATI\r", 4);
        QByteArray junk;
        QCOMPARE(readAnswer(fd, &junk, 0.5), End::Timeout);
        QVERIFY(!junk.isEmpty() && !junk.contains("AT"));
        termios settings{};
        ::tcgetattr(fd, &settings);
        ::cfsetspeed(&settings, B115200);
        QCOMPARE(::tcsetattr(fd, TCSANOW, &settings), 0);
        QCOMPARE(ask(fd, "\r"), QByteArray("\r\n?\r\n\r\n>")); // the junk it heard was no command
        QCOMPARE(ask(fd, "ATI\r"), QByteArray("ATI\r\nELM327 v1.5\r\n\r\n>"));
        ::close(fd);
    }

    // A flood reaches a TCP client as fast as it reads, and its next character stops it.
    void tcpFlood() {
        sim::Options options;
        options.floodKilobytes = 1000;
        sim::TcpServer server{options};
        QVERIFY(server.listen(0));
        const int fd = connectTo(server.port());
        QVERIFY(fd >= 0);
        QByteArray flood;
        [[maybe_unused]] const ssize_t n = ::write(fd, "ATE0\r0100\r", 10);
        QElapsedTimer timer;
        timer.start();
        while (flood.size() < 100000 && timer.elapsed() < 5000)
            readAnswer(fd, &flood, 0.05);
        QVERIFY2(flood.size() >= 100000, qPrintable(QString::number(flood.size())));
        QCOMPARE(flood.count('>'), 1); // the ATE0's
        QVERIFY(ask(fd, "\r").endsWith("STOPPED\r\n\r\n>"));
        ::close(fd);
    }

    // The in-process port: its number, output only as the test clock moves, the write log,
    // a closed port, and a port deleted while its clock goes on.
    void testPort() {
        test::FakeClock clock;
        auto port = std::make_unique<test::SimPort>(clock, sim::realTimeOptions());
        QSignalSpy ready(port.get(), &Port::readyRead);
        QVERIFY(!port->open(2)); // only port 1 is there
        QCOMPARE(port->errorNumber(), int(PortError::InvalidPort));
        QCOMPARE(port->deviceName(1) + port->deviceName(2), QStringLiteral("sim"));
        QVERIFY(port->open(1));
        port->write("ATWS\r\n");
        port->write("ATI\r\n");
        QCOMPARE(port->bytesWaiting(), 0);
        QByteArray got;
        QVERIFY(clock.waitUntil(1, [&] { return (got += port->readAll()).count('>') == 2; }));
        QVERIFY(got.endsWith("ELM327 v1.5\r\n\r\n>ATI\r\nELM327 v1.5\r\n\r\n>"));
        QVERIFY(ready.count() > 0);
        QCOMPARE(port->writes(), (QList<QByteArray>{"ATWS\r\n", "ATI\r\n"}));
        port->write("ATI\r");
        port->close();
        clock.yield();
        QCOMPARE(port->bytesWaiting(), 0);
        port->write("ATI\r"); // not open: nothing sent
        QCOMPARE(port->errorNumber(), 8018);
        QCOMPARE(port->written(), QByteArray("ATWS\r\nATI\r\nATI\r"));
        QVERIFY(port->open(1));
        port->write("ATI\r");
        port.reset();
        clock.yield(); // the ticker must not touch the deleted port (the sanitizer would see it)
    }
};

ZELCOR_TEST(TransportTest)
#include "transport_test.moc"
