#include "testmain.h"
#include "vehicle/pidnames.h"

#include <QTest>

using namespace zelcor;

class PidNamesTest : public QObject {
    Q_OBJECT
private slots:
    void names_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 empty") << 0 << "";
        QTest::newRow("01") << 1 << "General Info";
        QTest::newRow("0A") << 10 << "Fuel Pressure (gage)";
        QTest::newRow("14") << 20 << "O2S Bank 1 Sensor 1";
        QTest::newRow("1B") << 27 << "O2S Bank 2 Sensor 4";
        QTest::newRow("1D empty") << 29 << "";
        QTest::newRow("1E") << 30 << "Aux Input Status";
        QTest::newRow("20") << 32 << "PIDs supported (21h-40h)";
        QTest::newRow("24") << 36 << "O2S1 Lambda";
        QTest::newRow("2A") << 42 << "O2S7 Lambda";
        QTest::newRow("2B historic spelling") << 43 << "O2S8 Lamdba";
        QTest::newRow("34") << 52 << "O2S1 Lambda";
        QTest::newRow("3B") << 59 << "O2S8 Lambda";
        QTest::newRow("3F") << 63 << "Catalyst Temp B2S2";
        QTest::newRow("40") << 64 << "PIDs supported (41h-60h)";
        QTest::newRow("beyond table") << 65 << "";
        QTest::newRow("negative") << -1 << "";
    }
    void names() {
        QFETCH(int, pid);
        QFETCH(QString, name);
        QCOMPARE(pidname(pid), name);
    }
};

ZELCOR_TEST(PidNamesTest)
#include "pidnames_test.moc"
