#include "instruments/accelerationtest.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class AccelerationTimerTest : public QObject {
    Q_OBJECT
private slots:
    void startAndEndInOneSample() {
        AccelerationTest test;
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(20, 100.0);
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(60, 5000.0); // no sample below the end speed in this run
        QCOMPARE(test.elapsedText(), QStringLiteral("0.0"));
        QCOMPARE(test.spreadText(), QStringLiteral("0.0"));
    }
};

ZELCOR_TEST(AccelerationTimerTest)
#include "accelerationtest_test.moc"
