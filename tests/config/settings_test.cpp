#include "config/settings.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QByteArray kDefaults = "1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n";

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    // A missing or unusable file is replaced by the defaults, whatever was in memory.
    void unusableFileFallsBack_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("too short") << QByteArray("3\r\n0\r\n1\r\n");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("port beyond 16 bits") << QByteArray("40000\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n");
        QTest::newRow("init mode beyond 16 bits")
            << QByteArray("1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n-99999\r\n0\r\n");
    }
    void unusableFileFallsBack() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        if (!content.isNull()) QVERIFY(writeText(dir.filePath("setup.cfg"), content));
        Settings s;
        s.comport = 7;
        s.usemph = false;
        LOADCONFIG(s, dir.path());
        QCOMPARE(s, Settings());
        QCOMPARE(fileText(dir.filePath("setup.cfg")), kDefaults);
    }

    void lineRules_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("expected");
        QTest::newRow("weight above range") << 8 << QByteArray("12000") << "weight" << 9999.0;
        QTest::newRow("weight below range") << 8 << QByteArray("-5") << "weight" << 0.0;
        QTest::newRow("weight text") << 8 << QByteArray("abc") << "weight" << 0.0;
        QTest::newRow("bool minus one is false") << 3 << QByteArray("-1") << "usemph" << 0.0;
        QTest::newRow("bool two is true") << 4 << QByteArray("2") << "uselbmin" << 1.0;
        QTest::newRow("bool text is false") << 6 << QByteArray("yes") << "usedegf" << 0.0;
        QTest::newRow("port rounds half even") << 1 << QByteArray("2.5") << "comport" << 2.0;
        QTest::newRow("sr time with blanks") << 2 << QByteArray(" 0. 25") << "srtime" << 0.25;
        QTest::newRow("init mode") << 9 << QByteArray("-99") << "initmode" << -99.0;
    }
    void lineRules() {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(QString, field);
        QList<QByteArray> lines = kDefaults.split('\n');
        lines[line - 1] = text + "\r";
        QTemporaryDir dir;
        writeText(dir.filePath("setup.cfg"), lines.join('\n'));
        Settings s;
        LOADCONFIG(s, dir.path());
        const double got = field == "weight"     ? s.vehicleweight
                           : field == "usemph"   ? double(s.usemph)
                           : field == "uselbmin" ? double(s.uselbmin)
                           : field == "usedegf"  ? double(s.usedegf)
                           : field == "comport"  ? double(s.comport)
                           : field == "srtime"   ? s.srtime
                                                 : double(s.initmode);
        QTEST(got, "expected");
    }

    // Every field in its saved format, and read back as saved.
    void saveThenLoadRoundTrips() {
        QTemporaryDir dir;
        Settings s;
        s.comport = 3;
        s.srtime = 0.25;
        s.usemph = false;
        s.uselbmin = true;
        s.noportsearch = true;
        s.usedegf = false;
        s.usepsi = false;
        s.vehicleweight = 3201;
        s.initmode = -99;
        s.recording = true;
        QVERIFY(SAVECONFIG(s, dir.path()));
        QCOMPARE(fileText(dir.filePath("setup.cfg")),
                 QByteArray("3\r\n0.25\r\n0\r\n1\r\n1\r\n0\r\n0\r\n3201\r\n-99\r\n1\r\n"));
        Settings back;
        LOADCONFIG(back, dir.path());
        QCOMPARE(back, s);
        s.vehicleweight = 3200.7; // saved rounded
        QCOMPARE(configText(s).split('\n').at(7), QByteArray("3201\r"));
    }

    void lfOnlyFileIsRead() {
        QTemporaryDir dir;
        writeText(dir.filePath("setup.cfg"), "4\n0\n0\n0\n0\n0\n0\n2000\n0\n1\n");
        Settings s;
        LOADCONFIG(s, dir.path());
        QCOMPARE(int(s.comport), 4);
        QCOMPARE(s.vehicleweight, 2000.0);
        QVERIFY(s.recording);
    }

    void saveIntoMissingFolderFails() {
        QString error;
        QVERIFY(!SAVECONFIG(Settings(), QStringLiteral("/nonexistent/zelcor"), &error));
        QVERIFY(!error.isEmpty());
    }
};

ZELCOR_TEST(SettingsTest)
#include "settings_test.moc"
