#include "testmain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The real programs: zelcor-sim serves a pseudo-terminal, zelcor --scan talks to it
// through its serial port code.
class EndToEndTest : public QObject {
    Q_OBJECT
private:
    QProcess simulator;
    QString device;

private slots:
    void init() {
        simulator.start(QStringLiteral(ZELCOR_BINARY_DIR "/sim/zelcor-sim"),
                        {QStringLiteral("--profile"), QStringLiteral("legacy"), QStringLiteral("--no-timing")});
        QVERIFY(simulator.waitForStarted(5000));
        QVERIFY(simulator.waitForReadyRead(5000));
        device = QString::fromLocal8Bit(simulator.readLine()).trimmed();
        QVERIFY2(device.startsWith("/dev/"), qPrintable(device));
    }
    void cleanup() {
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    void scanOverAPseudoTerminal() {
        QTemporaryDir dir;
        QProcess zelcor;
        zelcor.start(QStringLiteral(ZELCOR_BINARY_DIR "/zelcor"),
                     {"--scan", "--json", "--device", device, "--data-dir", dir.path()});
        QVERIFY(zelcor.waitForFinished(60000));
        QCOMPARE(zelcor.exitCode(), 0);
        const QJsonObject report = QJsonDocument::fromJson(zelcor.readAllStandardOutput()).object();
        QVERIFY2(report["protocol"].toString().contains("ISO 9141-2"), qPrintable(report["protocol"].toString()));
        QCOMPARE(report["controllers"].toArray().size(), 2);
        QCOMPARE(report["selected"].toString(), QStringLiteral("16"));
        // The program made its settings file and wrote the connection lines to its log.
        QFile settings(dir.filePath("setup.cfg"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), QByteArray("1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n"));
        QFile log(dir.filePath("log.txt"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray trace = log.readAll();
        QVERIFY(trace.startsWith("ZELCOR  v2.52\r\nM "));
        QVERIFY(trace.endsWith(" D\r\n"));
    }

    void simulatorGoneIsNoAdapter() {
        cleanup();
        QTemporaryDir dir;
        QProcess zelcor;
        zelcor.start(QStringLiteral(ZELCOR_BINARY_DIR "/zelcor"),
                     {"--scan", "--device", device, "--data-dir", dir.path()});
        QVERIFY(zelcor.waitForFinished(60000));
        QCOMPARE(zelcor.exitCode(), 2);
        QVERIFY(zelcor.readAllStandardError().contains("To solve this ERROR 0 problem,"));
    }
};

ZELCOR_TEST(EndToEndTest)
#include "endtoend_test.moc"
