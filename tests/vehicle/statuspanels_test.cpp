#include "testmain.h"
#include "vehicle/statuspanels.h"

#include <QTest>

using namespace zelcor;

namespace {

QString reply(const char* headAndData) {
    return QStringLiteral("486B10") + QLatin1String(headAndData);
}

} // namespace

class StatusPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void generalInfo_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("mil");
        QTest::addColumn<int>("codes");
        QTest::addColumn<QStringList>("continuous");
        QTest::addColumn<QStringList>("nonContinuous");
        QTest::addColumn<QStringList>("incomplete");
        const QStringList all3{"Misfire Monitoring", "Fuel System Monitoring", "Component Monitoring"};
        QTest::newRow("lamp on, one code")
            << "81076504"
            << "ON" << 1 << all3
            << QStringList{"Catalyst", "Evaporative System", "Oxygen Sensor", "Oxygen Sensor Heater"}
            << QStringList{"Evaporative System"};
        QTest::newRow("nothing") << "00000000"
                                 << "OFF" << 0 << QStringList() << QStringList() << QStringList();
        QTest::newRow("B upper nibble: incomplete only")
            << "7FF0A080"
            << "OFF" << 127 << QStringList() << QStringList{"Oxygen Sensor", "EGR System"}
            << QStringList{all3 + QStringList{"EGR System"}};
        QTest::newRow("short reply") << "83"
                                     << "ON" << 3 << QStringList() << QStringList() << QStringList();
    }
    void generalInfo() {
        QFETCH(QString, data);
        const GeneralInfoStatus s = generalInfoStatus(reply("4101") + data);
        QTEST(s.mil, "mil");
        QTEST(s.codeCount, "codes");
        QTEST(s.continuous, "continuous");
        QTEST(s.nonContinuous, "nonContinuous");
        QTEST(s.incomplete, "incomplete");
    }

    void texts() {
        QCOMPARE(singleParameterTitle(14),
                 QStringLiteral(" Ignition Timing Advance for #1 cylinder (not including mech adv) "));
        QCOMPARE(singleParameterTitle(12), QString()); // RPM has no text panel
        QCOMPARE(ptoStatusText(reply("411EFE")), QStringLiteral("PTO Not Active"));
        QCOMPARE(ptoStatusText(reply("411E01")), QStringLiteral("PTO Active"));
        QCOMPARE(pidsSupportedText(reply("4120983BA011")), QStringLiteral("152 59 160 17"));
        QCOMPARE(pidsSupportedText(reply("412098")), QStringLiteral("152 0 0 0"));
    }
};

ZELCOR_TEST(StatusPanelsTest)
#include "statuspanels_test.moc"
