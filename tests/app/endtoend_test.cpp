// The real programs: zelcor-sim serves a pseudo-terminal and zelcor --scan talks to it
// through its serial port code; the command line and its exit codes.

#include "runzelcor.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace zelcor::test;

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
        QTest::newRow("adapter at 115200 baud")
            << QStringList{"--profile", "can11", "--baud", "115200"} << false << 0 << "Controllers:\n  232 (E8 hex)";
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
        const QString device = startSimulator(sim, simulator);
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
        // The rate the adapter answered at is the next connection's first.
        if (const qsizetype baud = simulator.indexOf("--baud"); baud >= 0)
            QVERIFY(fileText(dir.filePath("zelcor.ini")).contains(simulator.at(baud + 1).toLatin1()));
        if (json) QCOMPARE(QJsonDocument::fromJson(out)["controllers"].toArray().size(), 2);
    }

    // None of these needs a display: they run with no window system at all. DATA stands
    // for a fresh folder.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown"); // on stdout for status 0, else on stderr
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--scan";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "zelcor " ZELCOR_VERSION;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << "Unknown option 'bogus'";
        QTest::newRow("JSON without a scan") << QStringList{"--json"} << 1 << "--json and --live go with --scan";
        QTest::newRow("live without a scan")
            << QStringList{"--live", "3", "--simulate"} << 1 << "--json and --live go with --scan";
        QTest::newRow("modules without a scan") << QStringList{"--modules"} << 1 << "--modules goes with --scan";
        QTest::newRow("live is no number") << QStringList{"--scan", "--live", "x"} << 1 << "--live needs a number";
        QTest::newRow("scan with parameter files")
            << QStringList{"--scan", "--simulate=ev", "--data-dir",
                           "DATA",   "--parameters",  ZELCOR_SOURCE_DIR "/data/parameters/ev-motor.csv"}
            << 0 << "7E0 220105  Remaining range: ";
        QTest::newRow("parameter file missing") << QStringList{"--parameters", "missing.csv"} << 1 << "missing.csv";
        QTest::newRow("parameter files checked")
            << QStringList{"--check-parameters", ZELCOR_SOURCE_DIR "/data/parameters/ev-motor.csv"} << 0
            << "1 file: 5 parameters accepted, 0 lines rejected";
        QTest::newRow("parameter check without files")
            << QStringList{"--check-parameters"} << 1 << "--check-parameters needs files";
        QTest::newRow("data folder is a file")
            << QStringList{"--scan", "--simulate", "--data-dir", ZELCOR_BINARY_DIR "/zelcor"} << 1
            << "zelcor: --data-dir: " ZELCOR_BINARY_DIR "/zelcor is a file, not a folder";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        arguments.replaceInStrings(QRegularExpression("^DATA$"), dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        const auto [status, out, err] = runZelcor(arguments, environment);
        QCOMPARE(status, exitCode);
        QVERIFY2(QString::fromUtf8(status ? err : out).contains(shown), (out + err).constData());
    }

    // codes.dat that cannot be read: the scan says so once, naming the file and why.
    void unreadableCodesFileSaidOnce() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("codes.dat"));
        QProcess sim;
        const QString device = startSimulator(sim, {});
        const auto [status, out, err] = runZelcor({"--scan", "--device", device, "--data-dir", dir.path()});
        QCOMPARE(status, 0);
        QCOMPARE(err.count("ERROR NUMBER"), 1);
        QVERIFY2(err.contains(QFile::encodeName(dir.filePath("codes.dat")) + ": it is a folder, not a file."),
                 err.constData());
    }

    // Where the program keeps its files: the per-user data folder unless --data-dir says
    // otherwise; a place that cannot hold them ends the program before anything else.
    void dataFolder_data() {
        QTest::addColumn<QString>("xdgDataHome"); // under the test's folder; FILE: a file there
        QTest::addColumn<QString>("dataDir");     // empty: none given
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("settingsAt"); // where setup.cfg appears; empty: nowhere
        QTest::addColumn<QString>("shown");      // on stderr
        const auto row = [](const char* name, const char* xdg, const char* dataDir, int exitCode,
                            const char* settingsAt, const char* shown) {
            QTest::newRow(name) << xdg << dataDir << exitCode << settingsAt << shown;
        };
        row("per-user folder", "xdg", "", 2, "xdg/zelcor", "does not exist");
        row("given folder, created", "xdg", "given/deeper", 2, "given/deeper", "does not exist");
        row("per-user folder unusable", "FILE", "", 1, "", "no usable data folder: the folder ");
    }
    void dataFolder() {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, dataDir);
        QFETCH(int, exitCode);
        QFETCH(QString, settingsAt);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (xdgDataHome == "FILE") {
            QVERIFY(writeText(dir.filePath("file"), "x"));
            environment.insert("XDG_DATA_HOME", dir.filePath("file"));
        } else {
            environment.insert("XDG_DATA_HOME", dir.filePath(xdgDataHome));
        }
        QStringList arguments{"--scan", "--device", "/dev/zelcor-no-such-device"};
        if (!dataDir.isEmpty()) arguments << "--data-dir" << dir.filePath(dataDir);
        const auto [status, out, err] = runZelcor(arguments, environment);
        QCOMPARE(status, exitCode);
        QVERIFY2(QString::fromUtf8(err).contains(shown), err.constData());
        if (!settingsAt.isEmpty()) QVERIFY(QFile::exists(dir.filePath(settingsAt + "/setup.cfg")));
        if (!dataDir.isEmpty()) QVERIFY(!QFile::exists(dir.filePath(xdgDataHome)));
    }
};

ZELCOR_TEST(EndToEndTest)
#include "endtoend_test.moc"
