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
        QTest::newRow("1D empty") << 29 << "";
        QTest::newRow("1E") << 30 << "Aux Input Status";
        QTest::newRow("2B historic spelling") << 43 << "O2S8 Lamdba";
        QTest::newRow("3B") << 59 << "O2S8 Lambda";
        QTest::newRow("40") << 64 << "PIDs supported (41h-60h)";
        QTest::newRow("beyond the table") << 65 << "";
    }
    void names() {
        QFETCH(int, pid);
        QTEST(pidname(pid), "name");
    }
};

ZELCOR_TEST(PidNamesTest)
#include "pidnames_test.moc"
