#include "core/scanreport.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QJsonArray>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

// The headless scan on the in-process simulated car and the test clock.
class ScanTest : public QObject {
    Q_OBJECT
private slots:
    void reportsTheCar_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QStringList>("controllers");
        QTest::addColumn<QString>("mil");
        QTest::newRow("can11") << "can11"
                               << "ISO 15765-4 (CAN 11/500)" << QStringList{"232", "233"} << "ON";
        QTest::newRow("legacy") << "legacy"
                                << "ISO 9141-2" << QStringList{"16", "24"} << "ON";
        QTest::newRow("clean") << "clean"
                               << "ISO 15765-4 (CAN 11/500)" << QStringList{"232", "233"} << "OFF";
    }
    void reportsTheCar() {
        QFETCH(QString, profile);
        QFETCH(QString, protocol);
        QFETCH(QStringList, controllers);
        QFETCH(QString, mil);
        CarRig rig(profile, {}, false);
        Session& session = rig.session;
        ScanReport report;
        QCOMPARE(runScan(session, report), 0);

        const QJsonObject json = report.json();
        QVERIFY2(json["protocol"].toString().contains(protocol), qPrintable(json["protocol"].toString()));
        QStringList decimals;
        for (const QJsonValue& c : json["controllers"].toArray())
            decimals << c.toObject()["decimal"].toString();
        QCOMPARE(decimals, controllers);
        QCOMPARE(json["controllers"].toArray().first().toObject()["hex"].toString(),
                 QString::number(controllers.first().toInt(), 16).toUpper());
        QCOMPARE(json["selected"].toString(), controllers.first());
        QCOMPARE(json["mil"].toString(), mil);
        QCOMPARE(json["code_count"].toInt() > 0, mil == "ON");
        QVERIFY(json["monitors"].toObject()["continuous"].toArray().contains(QJsonValue("Misfire Monitoring")));

        // Every supported PID from 03 to 20 is there, in order, with the decoder's text.
        const QJsonArray pids = json["pids"].toArray();
        QVERIFY(pids.size() >= 8);
        int previous = 2;
        for (const QJsonValue& p : pids) {
            QVERIFY(p.toObject()["pid"].toInt() > previous && p.toObject()["pid"].toInt() <= 0x20);
            previous = p.toObject()["pid"].toInt();
            QVERIFY(session.pidsup[previous]);
        }
        const auto rpm = std::find_if(pids.begin(), pids.end(),
                                      [](const QJsonValue& p) { return p.toObject()["pid"].toInt() == 12; });
        QVERIFY(rpm != pids.end());
        QVERIFY((*rpm).toObject()["text"].toString().endsWith(" RPM"));
        QCOMPARE((*rpm).toObject()["units"].toString(), QStringLiteral("RPM"));
        QVERIFY((*rpm).toObject()["value"].toDouble() > 500);
        const auto obd = std::find_if(pids.begin(), pids.end(),
                                      [](const QJsonValue& p) { return p.toObject()["pid"].toInt() == 0x1C; });
        if (obd != pids.end()) QVERIFY((*obd).toObject()["value"].isNull());

        const QString text = report.text();
        QVERIFY(text.contains(
            QStringLiteral("  %1 (%2 hex)  [selected]\n")
                .arg(controllers.first(), json["controllers"].toArray().first().toObject()["hex"].toString())));
        QVERIFY(text.contains("Check-Engine (MIL) Light: " + mil + "\n"));
    }

    void noVehicleExitsWithThree() {
        CarRig rig(QStringLiteral("nocar"), {}, false);
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 3);
        QVERIFY(rig.session.connection.panel.status.startsWith("To solve this ERROR 1 problem,"));
    }

    void noAdapterExitsWithTwo() {
        CarRig rig(QStringLiteral("can11"), {}, false);
        rig.port.setSimulatorPort(12);
        rig.session.settings.noportsearch = true;
        ScanReport report;
        QCOMPARE(runScan(rig.session, report), 2);
        QVERIFY(rig.session.connection.panel.status.startsWith("To solve this ERROR 0 problem,"));
    }
};

ZELCOR_TEST(ScanTest)
#include "scan_test.moc"
