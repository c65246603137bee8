// The shortest pass the line allows: ten bits a character at the line rate, the adapter's
// own time and the controller's shortest answer seen; no bound where the requests were
// quicker than their characters, and the rate text with the share of the bound.

#include "link/passbound.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class PassBoundTest : public QObject {
    Q_OBJECT
private slots:
    void shortestPass_data() {
        QTest::addColumn<int>("baud");
        // Requests as command characters, reply characters, seconds taken.
        QTest::addColumn<QList<QList<double>>>("requests");
        QTest::addColumn<double>("shortest"); // -1: none
        // 96 characters at 38400 baud take 25 ms; the quicker request shows a 4 ms answer.
        QTest::newRow("two requests, the quicker one's answer time")
            << 38400 << QList<QList<double>>{{16, 80, 0.040}, {16, 80, 0.030}} << 2 * (0.025 + 0.001 + 0.004);
        // 40 characters at 115200 baud take 3.47 ms: the controller answered 0.53 ms after the adapter's 1 ms.
        QTest::newRow("a faster line, requests of two sizes")
            << 115200 << QList<QList<double>>{{6, 34, 0.005}, {16, 80, 0.012}} << 0.0148611;
        QTest::newRow("quicker than its characters: not a line at this rate")
            << 38400 << QList<QList<double>>{{16, 80, 0.030}, {16, 80, 0.010}} << -1.0;
        QTest::newRow("no serial line") << 0 << QList<QList<double>>{{16, 80, 0.030}} << -1.0;
        QTest::newRow("nothing asked") << 38400 << QList<QList<double>>{} << -1.0;
    }
    void shortestPass() {
        QFETCH(int, baud);
        QFETCH(QList<QList<double>>, requests);
        QFETCH(double, shortest);
        PassBound bound;
        bound.setLineRate(baud);
        bound.beginPass();
        for (const QList<double>& r : requests)
            bound.noteRequest(qsizetype(r[0]), qsizetype(r[1]), r[2]);
        const std::optional<double> found = bound.shortest(bound.currentPass());
        if (shortest < 0) {
            QVERIFY(!found);
        } else {
            QVERIFY(found);
            QVERIFY2(qAbs(*found - shortest) < 1e-6, qPrintable(QString::number(*found)));
        }
        // A new connection measures afresh.
        bound.reset();
        QVERIFY(!bound.shortest(PassLoad{0.01, 1}));
    }

    void rateText_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("bound"); // 0: none
        QTest::addColumn<QString>("text");
        QTest::newRow("near the bound") << 13.2 << 14.04 << "13.2 /sec, 94 %";
        QTest::newRow("no bound") << 4.25 << 0.0 << "4.3 /sec";
    }
    void rateText() {
        QFETCH(double, rate);
        QFETCH(double, bound);
        QFETCH(QString, text);
        QCOMPARE(passRateText(rate, bound > 0 ? std::optional<double>(bound) : std::nullopt), text);
    }
};

ZELCOR_TEST(PassBoundTest)
#include "passbound_test.moc"
