// setup.cfg: how each line is read, what replaces an unusable file, and safe writes. The
// default file and one saved from the setup panel, every field in its saved format, are
// tests/golden/data/setup-*.cfg.

#include "config/settings.h"
#include "config/setuppanel.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QDir>
#include <QTest>
#include <functional>
#include <unistd.h>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QByteArray kDefaults = "1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n";

// The default file with line `line` (1-based) replaced.
QByteArray withLine(int line, const QByteArray& text) {
    QList<QByteArray> lines = kDefaults.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

// The settings read from the folder into settings that held other values.
Settings loaded(const QTemporaryDir& dir) {
    Settings s{7, 1.5, false, true, true, false, false, 10, 3, true};
    loadSettings(s, dir.path());
    return s;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    // How each line is read; a missing or unusable file is replaced by the defaults.
    void read_data() {
        QTest::addColumn<QByteArray>("file"); // null: no file at all
        QTest::addColumn<Settings>("expected");
        QTest::addColumn<bool>("replaced");
        const auto row = [](const char* name, const QByteArray& file, const std::function<void(Settings&)>& change,
                            bool replaced = false) {
            Settings expected;
            change(expected);
            QTest::newRow(name) << file << expected << replaced;
        };
        const auto defaults = [](Settings&) {};
        row("missing", QByteArray(), defaults, true);
        row("empty", "", defaults, true);
        row("too short", "3\r\n0\r\n1\r\n", defaults, true);
        row("port beyond 16 bits", withLine(1, "40000"), defaults, true);
        row("init mode beyond 16 bits", withLine(9, "-32769"), defaults, true);
        row("port at the 16-bit limit", withLine(1, "32767"), [](Settings& s) { s.startPort = 32767; });
        row("init mode at the 16-bit limit", withLine(9, "-32768"), [](Settings& s) { s.initMode = -32768; });
        row("port rounds half to even", withLine(1, "2.5"), [](Settings& s) { s.startPort = 2; });
        row("weight above range", withLine(8, "12000"), [](Settings& s) { s.vehicleWeight = 9999; });
        row("weight below range", withLine(8, "-5"), [](Settings& s) { s.vehicleWeight = 0; });
        row("flag -1 is off", withLine(3, "-1"), [](Settings& s) { s.milesPerHour = false; });
        row("flag 2 is on", withLine(4, "2"), [](Settings& s) { s.poundsPerMinute = true; });
        row("flag text is off", withLine(6, "yes"), [](Settings& s) { s.fahrenheit = false; });
        row("prompt delay with blanks", withLine(2, " 0. 25"), [](Settings& s) { s.promptDelay = 0.25; });
        row("line feeds only", "4\n0\n0\n0\n0\n0\n0\n2000\n-99\n1\n",
            [](Settings& s) { s = {4, 0, false, false, false, false, false, 2000, -99, true}; });
        row("carriage returns only", "4\r0\r0\r0\r0\r0\r0\r2000\r-99\r1\r",
            [](Settings& s) { s = {4, 0, false, false, false, false, false, 2000, -99, true}; });
        row("more than ten lines", kDefaults + "9\r\n", defaults);
        // A wait without end after every prompt is cut to the longest one.
        row("prompt delay above range", withLine(2, "1e9"), [](Settings& s) { s.promptDelay = kMaxPromptDelay; });
        row("prompt delay below range", withLine(2, "-3"), [](Settings& s) { s.promptDelay = 0; });
    }
    void read() {
        QFETCH(QByteArray, file);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        if (!file.isNull()) QVERIFY(writeText(dir.filePath("setup.cfg"), file));
        QTEST(loaded(dir), "expected");
        QCOMPARE(fileText(dir.filePath("setup.cfg")), replaced ? kDefaults : file);
    }

    // A value brought into range is said once at start-up; one in range says nothing.
    void outOfRangeDelayIsNoted() {
        Settings s;
        QString note;
        QVERIFY(parseSettingsFile(withLine(2, "1e9"), s, &note));
        QCOMPARE(note, QStringLiteral("setup.cfg holds an SR Time of 1e9 seconds; 5 is used (it must be between 0 "
                                      "and 5). Change it in SET&UP."));
        note.clear();
        QVERIFY(parseSettingsFile(withLine(2, "0.25"), s, &note));
        QVERIFY(note.isEmpty());
    }

    // What the setup panel refuses to save, and says why.
    void setupFormLimits_data() {
        QTest::addColumn<QString>("delay");
        QTest::addColumn<QString>("weight");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, const char* delay, const char* weight, const char* problem = "") {
            QTest::newRow(name) << delay << weight << problem;
        };
        row("in range", "5", "9999");
        row("delay too long", "1e9", "3200", "SR Time must be between 0 and 5 seconds.");
        row("delay negative", "-0.5", "3200", "SR Time must be between 0 and 5 seconds.");
        row("weight too high: saved as 9999", "0", "10000");
        row("weight negative: saved as 0", "0", "-20");
    }
    void setupFormLimits() {
        QFETCH(QString, delay);
        QFETCH(QString, weight);
        SetupPanelState form = setupFromSettings(Settings());
        form.promptDelayText = delay;
        form.weightText = weight;
        QTEST(setupFormProblem(form), "problem");
        Settings saved;
        settingsFromSetup(form, saved);
        QCOMPARE(saved.vehicleWeight, qBound(0.0, weight.toDouble(), 9999.0));
    }

    // The new file replaces the old one whole: the old one is never rewritten in place,
    // and a save that cannot be done leaves nothing behind.
    void writesAreNeverHalfDone() {
        QTemporaryDir dir;
        QVERIFY(writeText(dir.filePath("setup.cfg"), kDefaults));
        QCOMPARE(::link(qPrintable(dir.filePath("setup.cfg")), qPrintable(dir.filePath("old.cfg"))), 0);
        Settings s;
        s.startPort = 5;
        QVERIFY(saveSettings(s, dir.path()));
        QCOMPARE(fileText(dir.filePath("old.cfg")), kDefaults);
        QVERIFY(fileText(dir.filePath("setup.cfg")).startsWith("5\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"old.cfg", "setup.cfg"}));

        QString error;
        QVERIFY(!saveSettings(s, dir.filePath("missing"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("missing")));
    }
};

ZELCOR_TEST(SettingsTest)
#include "settings_test.moc"
