// The real programs: zelcor-sim serves a pseudo-terminal and zelcor --scan talks to it
// through its serial port code; the command line and its exit codes.

#include "sessionrig.h"
#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

using namespace zelcor::test;

namespace {

// zelcor's exit code (-1 when it did not end by itself) and what it wrote.
std::tuple<int, QByteArray, QByteArray> runZelcor(const QStringList& arguments) {
    QProcess zelcor;
    zelcor.start(QStringLiteral(ZELCOR_BINARY_DIR "/zelcor"), arguments);
    if (!zelcor.waitForFinished(60000) || zelcor.exitStatus() != QProcess::NormalExit) return {-1, {}, {}};
    return {zelcor.exitCode(), zelcor.readAllStandardOutput(), zelcor.readAllStandardError()};
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private slots:
    // zelcor-sim with `simulator` options, then zelcor --scan on its device. The expected
    // text is in the report, or on stderr after an error.
    void scan_data() {
        QTest::addColumn<QStringList>("simulator"); // none: it is gone before the scan
        QTest::addColumn<bool>("json");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");
        QTest::newRow("JSON") << QStringList{"--profile", "legacy"} << true << 0 << "\"selected\": \"16\"";
        QTest::newRow("text")
            << QStringList{"--profile", "can11"} << false << 0
            << "Controllers:\n  232 (E8 hex)  [selected]\n  233 (E9 hex)\nCheck-Engine (MIL) Light: ON";
        QTest::newRow("device unplugged") << QStringList{"--unplug-after", "2"} << false << 2 << "ERROR NUMBER 8021";
        QTest::newRow("simulator gone: no adapter") << QStringList{} << false << 2 << "To solve this ERROR 0 problem,";
    }
    void scan() {
        QFETCH(QStringList, simulator);
        QFETCH(bool, json);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        const bool gone = simulator.isEmpty();
        QProcess sim;
        sim.start(QStringLiteral(ZELCOR_BINARY_DIR "/sim/zelcor-sim"), simulator << "--no-timing");
        QVERIFY(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY2(device.startsWith("/dev/"), qPrintable(device));
        if (gone) sim.close(); // killed, and its device with it
        QTemporaryDir dir;
        QStringList arguments{"--scan", "--device", device, "--data-dir", dir.path()};
        const auto [status, out, err] = runZelcor(json ? arguments << "--json" : arguments);
        QCOMPARE(status, exitCode);
        QVERIFY2(QString::fromUtf8(status ? err : out).contains(shown), (out + err).constData());
        QVERIFY(fileText(dir.filePath("setup.cfg")).startsWith("1\r\n0\r\n1\r\n")); // written in --data-dir
        if (gone) return;
        const QByteArray trace = fileText(dir.filePath("log.txt")); // the connection, as traced
        QVERIFY(trace.startsWith("ZELCOR  v2.52\r\nM ") && trace.endsWith(" D\r\n"));
        if (json) QCOMPARE(QJsonDocument::fromJson(out)["controllers"].toArray().size(), 2);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown"); // on stdout for status 0, else on stderr
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--scan";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "zelcor " ZELCOR_VERSION;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << "Unknown option 'bogus'";
        QTest::newRow("JSON without a scan") << QStringList{"--json"} << 1 << "--json and --live go with --scan";
        QTest::newRow("live is no number") << QStringList{"--scan", "--live", "x"} << 1 << "--live needs a number";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        const auto [status, out, err] = runZelcor(arguments);
        QCOMPARE(status, exitCode);
        QVERIFY2(QString::fromUtf8(status ? err : out).contains(shown), (out + err).constData());
    }
};

ZELCOR_TEST(EndToEndTest)
#include "endtoend_test.moc"
