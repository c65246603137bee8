// The line rates the port search tries, from zelcor.ini: the configured list (the usual
// rates by default), led by the rate the device last answered at.

#include "config/baudrates.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

class BaudRatesTest : public QObject {
    Q_OBJECT
private slots:
    void toTry_data() {
        QTest::addColumn<QByteArray>("ini"); // empty: no file
        QTest::addColumn<int>("remembered"); // 0: none remembered for the device
        QTest::addColumn<QList<int>>("rates");
        const QList<int> usual{38400, 115200, 9600, 230400, 57600, 500000};
        QTest::newRow("no file") << QByteArray() << 0 << usual;
        QTest::newRow("remembered first")
            << QByteArray() << 9600 << QList<int>{9600, 38400, 115200, 230400, 57600, 500000};
        QTest::newRow("configured, unreadable entries skipped")
            << QByteArray("[adapter]\nbaudRates=\"115200, fast, 12, 38400\"\n") << 0 << QList<int>{115200, 38400};
        QTest::newRow("nothing readable configured")
            << QByteArray("[adapter]\nbaudRates=x\n") << 0 << QList<int>{38400};
    }
    void toTry() {
        QFETCH(QByteArray, ini);
        QFETCH(int, remembered);
        QFETCH(QList<int>, rates);
        QTemporaryDir dir;
        if (!ini.isEmpty()) QVERIFY(writeText(dir.filePath(QStringLiteral("zelcor.ini")), ini));
        const QString device = QStringLiteral("/dev/ttyUSB0");
        if (remembered) rememberBaudRate(dir.path(), device, remembered);
        QCOMPARE(baudRatesToTry(dir.path(), device), rates);
        // Another device has nothing remembered.
        if (remembered) QCOMPARE(baudRatesToTry(dir.path(), QStringLiteral("/dev/ttyUSB1")).first(), 38400);
    }
};

ZELCOR_TEST(BaudRatesTest)
#include "baudrates_test.moc"
