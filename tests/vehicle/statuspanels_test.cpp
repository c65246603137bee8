#include "testmain.h"
#include "vehicle/statuspanels.h"

#include <QTest>

using namespace zelcor;

namespace {

QString reply(const QString& head, const QString& data) {
    return QStringLiteral("486B10") + head + data;
}

// Indexes of the set entries of a flag array.
template <size_t N> QList<int> setIndexes(const std::array<bool, N>& flags) {
    QList<int> set;
    for (size_t i = 0; i < N; ++i)
        if (flags[i]) set.append(int(i));
    return set;
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
        const QStringList allContinuous{"Misfire Monitoring", "Fuel System Monitoring", "Component Monitoring"};
        const QStringList allNonContinuous{"Catalyst",
                                           "Heated Catalyst",
                                           "Evaporative System",
                                           "Secondary Air System",
                                           "A/C System Refrigerant",
                                           "Oxygen Sensor",
                                           "Oxygen Sensor Heater",
                                           "EGR System"};
        QTest::newRow("lamp on, one code")
            << "81076504"
            << "ON" << 1 << allContinuous
            << QStringList{"Catalyst", "Evaporative System", "Oxygen Sensor", "Oxygen Sensor Heater"}
            << QStringList{"Evaporative System"};
        QTest::newRow("nothing") << "00000000"
                                 << "OFF" << 0 << QStringList() << QStringList() << QStringList();
        QTest::newRow("everything") << "FF7FFFFF"
                                    << "ON" << 127 << allContinuous << allNonContinuous
                                    << allContinuous + allNonContinuous;
        QTest::newRow("count without lamp") << "7F000000"
                                            << "OFF" << 127 << QStringList() << QStringList() << QStringList();
        QTest::newRow("B bit 3 and 7 mean nothing") << "00880000"
                                                    << "OFF" << 0 << QStringList() << QStringList() << QStringList();
        QTest::newRow("incomplete, not supported")
            << "00200080"
            << "OFF" << 0 << QStringList() << QStringList() << QStringList{"Fuel System Monitoring", "EGR System"};
        QTest::newRow("short reply") << "83"
                                     << "ON" << 3 << QStringList() << QStringList() << QStringList();
    }
    void generalInfo() {
        QFETCH(QString, data);
        QFETCH(QString, mil);
        QFETCH(int, codes);
        QFETCH(QStringList, continuous);
        QFETCH(QStringList, nonContinuous);
        QFETCH(QStringList, incomplete);
        const GeneralInfoStatus s = generalInfoStatus(reply(QStringLiteral("4101"), data));
        QCOMPARE(s.mil, mil);
        QCOMPARE(s.codeCount, codes);
        QCOMPARE(s.continuous, continuous);
        QCOMPARE(s.nonContinuous, nonContinuous);
        QCOMPARE(s.incomplete, incomplete);
    }

    void fuelSystems_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QList<int>>("lit");
        QTest::newRow("system 1 closed loop") << "0200" << QList<int>{1};
        QTest::newRow("system 2 warm-up") << "0001" << QList<int>{5};
        QTest::newRow("several at once") << "1F11" << QList<int>{0, 1, 2, 3, 4, 5, 9};
        QTest::newRow("upper bits ignored") << "E0E0" << QList<int>{};
    }
    void fuelSystems() {
        QFETCH(QString, data);
        QFETCH(QList<int>, lit);
        QCOMPARE(setIndexes(fuelSystemHighlights(reply(QStringLiteral("4103"), data))), lit);
    }

    void fuelSystemLabelsRepeatPerSystem() {
        for (int i = 0; i < 5; ++i)
            QCOMPARE(fuelSystemLabelText(i + 5), fuelSystemLabelText(i));
        QCOMPARE(fuelSystemLabelText(4), QStringLiteral("Closed Loop, but using only one oxygen sensor"));
        QVERIFY(fuelSystemLabelText(10).isEmpty());
    }

    void titles_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("title");
        QTest::newRow("load") << 4 << " Calculated Load Value ";
        QTest::newRow("timing") << 14 << " Ignition Timing Advance for #1 cylinder (not including mech adv) ";
        QTest::newRow("PTO") << 30 << " Power Take-Off (PTO) Status ";
        QTest::newRow("supported") << 32 << " pids supported ";
        QTest::newRow("RPM has no text panel") << 12 << "";
        QTest::newRow("oxygen sensors have their own") << 19 << "";
    }
    void titles() {
        QFETCH(int, code);
        QFETCH(QString, title);
        QCOMPARE(singleParameterTitle(code), title);
    }

    void texts_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("PTO active") << "pto"
                                    << "01"
                                    << "PTO Active";
        QTest::newRow("PTO other bits") << "pto"
                                        << "FE"
                                        << "PTO Not Active";
        QTest::newRow("supported") << "pids"
                                   << "983BA011"
                                   << "152 59 160 17";
        QTest::newRow("supported short") << "pids"
                                         << "98"
                                         << "152 0 0 0";
    }
    void texts() {
        QFETCH(QString, kind);
        QFETCH(QString, data);
        QFETCH(QString, text);
        if (kind == QLatin1String("pto"))
            QCOMPARE(ptoStatusText(reply(QStringLiteral("411E"), data)), text);
        else
            QCOMPARE(pidsSupportedText(reply(QStringLiteral("4120"), data)), text);
    }

    void oxygenSensors() {
        QCOMPARE(setIndexes(oxygenSensorsPresent(reply(QStringLiteral("4113"), QStringLiteral("33")))),
                 (QList<int>{0, 1, 4, 5}));
        QCOMPARE(oxygenSensorLabel(0), QStringLiteral("Bank 1 - Sensor 1"));
        QCOMPARE(oxygenSensorLabel(5), QStringLiteral("Bank 2 - Sensor 2"));
        QVERIFY(oxygenSensorLabel(8).isEmpty());
    }

    void oxygenReading_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("voltage");
        QTest::addColumn<QString>("trim");
        QTest::newRow("centre trim") << "5A80"
                                     << "0.450"
                                     << "0.0%";
        QTest::newRow("not trimming") << "5AFF"
                                      << "0.450"
                                      << "n/a";
        QTest::newRow("lean") << "0000"
                              << "0.000"
                              << "-100.0%";
        QTest::newRow("rich") << "FFFE"
                              << "1.275"
                              << "98.4%";
    }
    void oxygenReading() {
        QFETCH(QString, data);
        QFETCH(QString, voltage);
        QFETCH(QString, trim);
        const OxygenSensorReading r = oxygenSensorReading(reply(QStringLiteral("4114"), data));
        QCOMPARE(r.voltage, voltage);
        QCOMPARE(r.fuelTrim, trim);
    }
};

ZELCOR_TEST(StatusPanelsTest)
#include "statuspanels_test.moc"
