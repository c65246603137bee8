// Why zelcor --scan could not reach the car, through the real serial and TCP code: the
// first line on stderr names the cause, and the exit code says adapter (2) or car (3).

#include "runzelcor.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QProcess>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelcor::test;

namespace {

// The user "nobody": root may open any file, so a permission test runs zelcor as another user.
constexpr uid_t kOtherUser = 65534;

} // namespace

class ConnectFailureTest : public QObject {
    Q_OBJECT
private slots:
    void cause_data() {
        QTest::addColumn<QString>("peer");
        QTest::addColumn<QString>("cause"); // in the first line on stderr
        const auto row = [](const char* name, const char* peer, const char* cause) {
            QTest::newRow(name) << peer << cause;
        };
        row("no such device", "missing", "/dev/zelcor-no-such-device does not exist");
        row("permission denied", "unreadable",
            "add your user to the 'dialout' group with \"sudo usermod -aG dialout $USER\", then log out and in again");
        row("device busy", "busy", "is busy: another program holds it");
        row("connection refused", "closed", "refused the connection");
        row("not an ELM327", "echo", "answered, but it is not an ELM327 adapter (it said \"ATWS");
        row("silent adapter", "silent", "nothing answered on /dev/");
    }
    void cause() {
        QFETCH(QString, peer);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        QProcess sim;
        QSerialPort holder;
        QTcpServer server;
        QString device;
        bool asOtherUser = false;
        if (peer == "missing") {
            device = "/dev/zelcor-no-such-device";
        } else if (peer == "unreadable") {
            device = dir.filePath("ttyUSB0");
            QFile file(device);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setPermissions({}));
            asOtherUser = ::geteuid() == 0;
        } else if (peer == "busy") {
            device = startSimulator(sim, {});
            holder.setPortName(device);
            QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
        } else if (peer == "closed" || peer == "echo") {
            QVERIFY(server.listen(QHostAddress::LocalHost));
            device = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
            if (peer == "closed") {
                server.close(); // nothing listens there any more
            } else {
                connect(&server, &QTcpServer::newConnection, &server, [&server] {
                    QTcpSocket* client = server.nextPendingConnection();
                    connect(client, &QTcpSocket::readyRead, client, [client] { client->write(client->readAll()); });
                });
            }
        } else {
            device = startSimulator(sim, {"--silent-adapter"});
        }
        QVERIFY(!device.isEmpty());
        const auto [status, out, err] =
            runZelcor({"--scan", "--device", device, "--data-dir", dir.path()},
                      QProcessEnvironment::systemEnvironment(), asOtherUser ? kOtherUser : 0, dir.path());
        QCOMPARE(status, 2);
        const QString firstLine = QString::fromLocal8Bit(err).section('\n', 0, 0);
        QVERIFY2(firstLine.contains(cause), err.constData());
        QVERIFY2(firstLine.contains("ERROR NUMBER 0"), qPrintable(firstLine));
    }
};

ZELCOR_TEST(ConnectFailureTest)
#include "connectfailure_test.moc"
