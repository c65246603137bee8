// The shortest pass the line allows: ten bits a character at the line rate, the adapter's
// own time and the controller's shortest answer seen for each request; no bound where a
// request was quicker than its characters, and the rate text with the share of the bound.

#include "link/passbound.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class PassBoundTest : public QObject {
    Q_OBJECT
private slots:
    void shortestPass_data() {
        QTest::addColumn<int>("baud");
        QTest::addColumn<QStringList>("requests"); // "command reply-characters seconds-taken"
        QTest::addColumn<double>("shortest");      // -1: none
        // 16 + 80 characters at 38400 baud take 25 ms: the quicker answer is 4 ms after the adapter's 1 ms.
        QTest::newRow("the same request twice: its quicker answer")
            << 38400 << QStringList{"0111100F0E0D0C1 80 0.040", "0111100F0E0D0C1 80 0.030"} << 2 * 0.030;
        // 6 + 34 characters at 115200 baud take 3.47 ms, 16 + 80 take 8.33 ms.
        QTest::newRow("two requests, each its own answer time")
            << 115200 << QStringList{"010C1 34 0.005", "0111100F0E0D0C1 80 0.012"} << 0.017;
        QTest::newRow("quicker than its characters: not a line at this rate")
            << 38400 << QStringList{"0111100F0E0D0C1 80 0.030", "0111100F0E0D0C1 80 0.010"} << -1.0;
        QTest::newRow("no serial line") << 0 << QStringList{"010C1 34 0.030"} << -1.0;
        QTest::newRow("nothing asked") << 38400 << QStringList{} << -1.0;
    }
    void shortestPass() {
        QFETCH(int, baud);
        QFETCH(QStringList, requests);
        QFETCH(double, shortest);
        PassBound bound;
        bound.setLineRate(baud);
        bound.beginPass();
        for (const QString& r : requests) {
            const QStringList f = r.split(QLatin1Char(' '));
            bound.noteRequest(f[0], f[1].toInt(), f[2].toDouble());
        }
        const std::optional<double> found = bound.shortest(bound.currentPass());
        if (shortest < 0) {
            QVERIFY(!found);
        } else {
            QVERIFY(found);
            QVERIFY2(qAbs(*found - shortest) < 1e-9, qPrintable(QString::number(*found)));
        }
        // A new connection measures afresh: a request not measured since has no bound.
        bound.reset();
        PassLoad load;
        load.requests.insert(QStringLiteral("010C1"), 1);
        QVERIFY(!bound.shortest(load));
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
