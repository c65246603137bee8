// The live stage of the headless scan, on the simulated car.

#include "core/scanreport.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QJsonArray>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

class LiveScanTest : public QObject {
    Q_OBJECT
private slots:
    // The first ten channels are polled for the given time, far more passes than the
    // other stages may take, and each reports its last reading.
    void pollsTheFirstTenChannels() {
        CarRig rig(QStringLiteral("can11"));
        Session& session = rig.session;
        ScanReport report;

        QCOMPARE(runScan(session, report, 5.0), 0);

        QList<int> expected;
        for (int i = 0; i < 10; ++i)
            expected << entryCode(session.liveRows[0].channel.entries.at(i));
        QList<int> codes;
        for (const ScanLive& channel : report.live) {
            codes << channel.code;
            QVERIFY2(!channel.text.isEmpty(), qPrintable(channel.name));
        }
        QCOMPARE(codes, expected);
        QVERIFY(report.passRate);
        QVERIFY2(*report.passRate > 8, qPrintable(QString::number(*report.passRate))); // more than 40 passes

        const ScanLive& rpm = report.live.at(int(codes.indexOf(12)));
        QCOMPARE(rpm.name, QStringLiteral("Engine RPM"));
        QCOMPARE(rpm.units, QStringLiteral("RPM"));
        QVERIFY(rpm.value && rpm.text == QString::number(*rpm.value) + QStringLiteral(" RPM"));

        const QJsonObject json = report.json();
        QCOMPARE(json.value("pass_rate").toDouble(), *report.passRate);
        const QJsonObject first = json.value("live").toArray().first().toObject();
        QCOMPARE(first.value("code").toInt(), expected.first());
        for (const char* key : {"name", "text", "value", "units"})
            QVERIFY2(first.contains(key), key);
        QVERIFY(report.text().contains(QStringLiteral("Pass rate: ")));
    }

    void noLiveSectionWithoutSeconds() {
        CarRig rig(QStringLiteral("can11"), {}, false);
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 0);
        QVERIFY(!report.passRate);
        QVERIFY(!report.json().contains("live"));
    }
};

ZELCOR_TEST(LiveScanTest)
#include "livescan_test.moc"
