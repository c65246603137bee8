// The status panels: what they show for data bytes, and the passes against replies that do not answer them. The answers
// of the simulated cars are covered by the golden files (tests/golden/data/*/panels.txt).

#include "obd/parameters.h"
#include "sessionrig.h"
#include "testmain.h"
#include "vehicle/statuspanels.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::Function)

class VehicleStatusTest : public QObject {
    Q_OBJECT
private slots:
    // B's upper nibble flags incomplete continuous tests; short data reads as zeros. The
    // normal reply is covered by the golden panels.txt.
    void generalInfo() {
        const GeneralInfoStatus s = generalInfoStatus(QByteArray::fromHex("7FF0A080"));
        QCOMPARE(s.mil + ' ' + QString::number(s.codeCount), QStringLiteral("OFF 127"));
        QCOMPARE(s.continuous, QStringList());
        QCOMPARE(s.nonContinuous, (QStringList{"Oxygen Sensor", "EGR System"}));
        QCOMPARE(s.incomplete,
                 (QStringList{"Misfire Monitoring", "Fuel System Monitoring", "Component Monitoring", "EGR System"}));
        const GeneralInfoStatus shortData = generalInfoStatus(QByteArray::fromHex("83"));
        QCOMPARE(shortData.mil + ' ' + QString::number(shortData.codeCount), QStringLiteral("ON 3"));
        QVERIFY(shortData.continuous.isEmpty() && shortData.nonContinuous.isEmpty() && shortData.incomplete.isEmpty());
    }

    // Monitors this drive cycle beside the readiness lists: shown when the controller
    // answers "0141"; a controller that does not is not asked again.
    void driveCycle_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QList<QByteArray>>("secondPass");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<QStringList>("incomplete");
        const QList<QByteArray> both{"0101", "0141"};
        QTest::newRow("answered") << QByteArray("7E8 06 41 41 00 17 65 23") << both
                                  << QStringList{"Misfire Monitoring",   "Fuel System Monitoring",
                                                 "Component Monitoring", "Catalyst",
                                                 "Evaporative System",   "Oxygen Sensor",
                                                 "Oxygen Sensor Heater"}
                                  << QStringList{"Misfire Monitoring", "Catalyst", "Oxygen Sensor"};
        QTest::newRow("not answered: asked once")
            << QByteArray("NO DATA") << QList<QByteArray>{"0101"} << QStringList{} << QStringList{};
        QTest::newRow("another controller's answer")
            << QByteArray("7E9 06 41 41 00 07 00 00") << QList<QByteArray>{"0101"} << QStringList{} << QStringList{};
    }
    void driveCycle() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, enabled);
        SessionRig rig;
        rig.answers["0101"] = "7E8 06 41 01 83 07 65 04\r\r>";
        rig.answers["0141"] = reply + "\r\r>";
        rig.pass(Function::GeneralInfo);
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"0101", "0141"}));
        rig.pass(Function::GeneralInfo);
        QTEST(rig.port.lines, "secondPass");
        const GeneralInfoPanel& g = rig.session.vehicle().generalInfo();
        QCOMPARE(g.driveCycleShown, !enabled.isEmpty());
        QCOMPARE(g.driveCycleEnabled, enabled);
        QTEST(g.driveCycleIncomplete, "incomplete");
        QCOMPARE(g.incomplete, QStringList{"Evaporative System"}); // the readiness lists stay as they were
    }

    void texts() {
        QCOMPARE(powerTakeOffText(QByteArray::fromHex("FE")), QStringLiteral("PTO Not Active"));
        QCOMPARE(powerTakeOffText(QByteArray::fromHex("01")), QStringLiteral("PTO Active"));
        QCOMPARE(supportBytesText(QByteArray::fromHex("98")), QStringLiteral("152 0 0 0"));
        QCOMPARE(oxygenSensorReading(QByteArray::fromHex("FF")).fuelTrim, QStringLiteral("-100.0%"));
    }

    // Each row's reply follows a pass that was answered. The General Info panel keeps what
    // it showed; the parameter panel empties. A pair that is not two hex digits ends the data.
    void otherReplies_data() {
        QTest::addColumn<Function>("function");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("shown");
        const Function info = Function::GeneralInfo, coolant = Function(pid::coolantTemperature);
        QTest::newRow("info, another controller") << info << QByteArray("7E9 06 41 01 00 00 00 00") << "ON 3";
        QTest::newRow("info, damaged lamp byte") << info << QByteArray("7E8 06 41 01 8Z 07 65 04") << "ON 3";
        QTest::newRow("parameter, another controller") << coolant << QByteArray("7E9 03 41 05 7B") << "";
        QTest::newRow("parameter, refused") << coolant << QByteArray("7E8 03 7F 01 12") << "";
        QTest::newRow("parameter, damaged") << coolant << QByteArray("7E8 03 41 05 7Z") << "";
    }
    void otherReplies() {
        QFETCH(Function, function);
        QFETCH(QByteArray, reply);
        SessionRig rig;
        const QByteArray request = "01" + QByteArray::number(int(function), 16).rightJustified(2, '0').toUpper();
        rig.answers["0101"] = "7E8 06 41 01 83 07 65 04\r\r>";
        rig.answers["0105"] = "7E8 03 41 05 7B\r\r>";
        rig.pass(function);
        rig.answers[request] = reply + "\r\r>";
        rig.pass(function);
        QCOMPARE(rig.port.lines, QList<QByteArray>{request});
        const VehicleStatus& v = rig.session.vehicle();
        QTEST(function == Function::GeneralInfo ? v.generalInfo().mil + ' ' + v.generalInfo().codeCount
                                                : v.parameterPanel().value,
              "shown");
        if (function != Function::GeneralInfo) QCOMPARE(v.parameterPanel().caption, panelTitle(int(function)));
    }
};

ZELCOR_TEST(VehicleStatusTest)
#include "vehiclestatus_test.moc"
