// The simulator behind a pseudo-terminal and a TCP port, talked to with plain POSIX
// calls. Real time, but bounded: every read waits in poll() with a deadline.

#include "sim/ptyserver.h"
#include "sim/tcpserver.h"
#include "testmain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
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

} // namespace

class TransportTest : public QObject {
    Q_OBJECT
private slots:
    void ptyRoundTrip() {
        sim::PtyServer server{sim::Options{}};
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        QVERIFY(server.devicePath().startsWith(QLatin1String("/dev/pts/")));
        const int fd = openDevice(server.devicePath());
        QVERIFY(fd >= 0);
        QCOMPARE(ask(fd, "ATZ\r"), QByteArray("ATZ\r\n\r\n\r\nELM327 v1.5\r\n\r\n>"));
        // Raw line: no CR/LF translation in either direction.
        QCOMPARE(ask(fd, "ATE0\rATL0\r"), QByteArray("ATE0\r\nOK\r\n\r\n>OK\r\r>"));
        ::close(fd);

        // The client closes and opens again: the adapter is still there, state and all.
        const int again = openDevice(server.devicePath());
        QVERIFY(again >= 0);
        QCOMPARE(ask(again, "ATI\r"), QByteArray("ELM327 v1.5\r\r>"));
        ::close(again);
    }

    void ptyUnplug_data() {
        QTest::addColumn<bool>("byFault");
        QTest::newRow("unplug()") << false;
        QTest::newRow("after one request") << true;
    }
    void ptyUnplug() {
        QFETCH(bool, byFault);
        sim::Options options;
        options.unplugAfter = byFault ? 1 : 0;
        sim::PtyServer server(options);
        QSignalSpy gone(&server, &sim::PtyServer::unplugged);
        QVERIFY(server.start());
        const int fd = openDevice(server.devicePath());
        QVERIFY(fd >= 0);
        if (byFault) {
            QVERIFY(ask(fd, "0100\r").contains("41 00"));
        } else {
            QCOMPARE(ask(fd, "ATI\r"), QByteArray("ATI\r\nELM327 v1.5\r\n\r\n>"));
            server.unplug();
        }
        QByteArray rest;
        QCOMPARE(readAnswer(fd, &rest), End::Closed);
        QCOMPARE(gone.count(), 1);
        QVERIFY(!server.isRunning());
        ::close(fd);
    }

    void ptyGoneWithServer() {
        // The server closes both of its sides: a client still holding the device sees it
        // hang up (the number itself may at once be reused by another pseudo-terminal).
        int fd = -1;
        {
            sim::PtyServer server{sim::Options{}};
            QVERIFY(server.start());
            fd = openDevice(server.devicePath());
            QVERIFY(fd >= 0);
            QCOMPARE(ask(fd, "ATI\r"), QByteArray("ATI\r\nELM327 v1.5\r\n\r\n>"));
        }
        QByteArray rest;
        QCOMPARE(readAnswer(fd, &rest, 1), End::Closed);
        ::close(fd);
    }

    void tcpRoundTrip() {
        sim::TcpServer server{sim::Options{}};
        QString error;
        QVERIFY2(server.listen(0, &error), qPrintable(error));
        const int fd = connectTo(server.port());
        QVERIFY(fd >= 0);
        QCOMPARE(ask(fd, "ATZ\r"), QByteArray("ATZ\r\n\r\n\r\nELM327 v1.5\r\n\r\n>"));
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
        ::close(third);
    }
};

ZELCOR_TEST(TransportTest)
#include "transport_test.moc"
