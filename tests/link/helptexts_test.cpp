// The troubleshooting texts: their numbered items (numbers, order, count) and, outside
// Windows, steps for this system: none of another system's words.

#include "dtc/explaincode.h"
#include "link/helptexts.h"
#include "testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;

class HelpTextsTest : public QObject {
    Q_OBJECT
private slots:
    void items_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("items");
        QTest::newRow("interface not found") << interfaceNotFoundHelp(false) << 7;
        QTest::newRow("interface not found, no port search") << interfaceNotFoundHelp(true) << 8;
        QTest::newRow("vehicle") << vehicleHelp() << 8;
        QTest::newRow("USB device removed") << deviceRemovedMessage("/dev/ttyUSB0") << 5;
        QTest::newRow("Bluetooth device removed") << deviceRemovedMessage("/dev/rfcomm0") << 4;
        QTest::newRow("Wi-Fi adapter gone") << deviceRemovedMessage("192.168.0.10:35000") << 4;
        QTest::newRow("vehicle not understood") << vehicleNotUnderstoodMessage("NO DATA") << 5;
        QTest::newRow("codes file missing") << codesFileErrorText(codesFileMissing, "/data", "url", "mail") << 4;
        QTest::newRow("codes file unreadable")
            << codesFileErrorText(codesFileAccessDenied, "/data", "url", "mail") << 4;
    }
    void items() {
        QFETCH(QString, text);
        QFETCH(int, items);
        // Items start a line with their number and ")"; continuation lines are indented.
        static const QRegularExpression item(QStringLiteral("^(\\d+)\\)"), QRegularExpression::MultilineOption);
        QList<int> numbers;
        for (auto it = item.globalMatch(QString(text).remove('\r')); it.hasNext();)
            numbers << it.next().captured(1).toInt();
        QList<int> expected;
        for (int n = 1; n <= items; ++n)
            expected << n;
        QCOMPARE(numbers, expected);
        // The adapter that went away is named by its own transport, never another's.
        if (text.startsWith("ERROR NUMBER 8021") && (text.contains("rfcomm") || text.contains("35000")))
            QVERIFY(!text.contains("USB"));
#ifndef Q_OS_WIN
        for (const char* foreign : {"windows", "Windows", "C:\\", "COM port", "Administrator", "SETUP from the CD",
                                    "virus scanners", "MY DOCUMENTS"})
            QVERIFY2(!text.contains(QLatin1String(foreign)), foreign);
#endif
    }

#ifndef Q_OS_WIN
    // A file error names the file and why it could not be used.
    void codesFileNamed_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("folderInItsPlace");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << codesFileMissing << false << "it does not exist";
        QTest::newRow("a folder") << codesFileAccessDenied << true << "it is a folder, not a file";
        QTest::newRow("unreadable") << codesFileAccessDenied << false << "it cannot be read (permission denied)";
    }
    void codesFileNamed() {
        QFETCH(int, error);
        QFETCH(bool, folderInItsPlace);
        QFETCH(QString, why);
        QTemporaryDir dir;
        if (folderInItsPlace) QVERIFY(QDir(dir.path()).mkdir(codesFileName));
        const QStringList lines = codesFileErrorText(error, dir.path(), "url", "mail").split("\r\n");
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[2],
                 QStringLiteral("ZELCOR had trouble reading the codes file %1/codes.dat: %2.").arg(dir.path(), why));
    }
#endif
};

ZELCOR_TEST(HelpTextsTest)
#include "helptexts_test.moc"
