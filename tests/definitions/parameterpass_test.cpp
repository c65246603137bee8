// The manufacturer parameter pass end to end on the simulated electric car: every parameter
// of the shipped definition files read over the link with the value the simulator holds,
// the functional address set again afterwards, and the faults of single requests kept to
// the parameters they feed.

#include "definitions/parameterpass.h"
#include "sessionrig.h"
#include "sim/evcar.h"
#include "testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

using namespace zelcor;
using namespace zelcor::test;

namespace {

QList<DefinitionFile> shippedFiles() {
    QList<DefinitionFile> files;
    const QDir folder(QStringLiteral(ZELCOR_SOURCE_DIR "/data/parameters"));
    for (const QString& name : folder.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        DefinitionFile file;
        QString error;
        if (!loadDefinitionFile(folder.filePath(name), &file, &error)) qFatal("%s", qPrintable(error));
        files.append(file);
    }
    return files;
}

// What the car holds for the parameter of that name, in the units the files give.
std::optional<double> held(const QString& name, const sim::EvState& s) {
    static const QRegularExpression numbered(QStringLiteral("^(Cell|Module) (\\d+) (voltage|temperature)$"));
    if (const auto m = numbered.match(name); m.hasMatch()) {
        const int n = m.captured(2).toInt();
        return m.captured(1) == QLatin1String("Cell") ? s.cellVoltages[n - 1] : s.moduleTemperatures[n - 1];
    }
    const auto [coolest, warmest] = std::minmax_element(s.moduleTemperatures.begin(), s.moduleTemperatures.end());
    const QHash<QString, double> values{
        {"State of charge", s.stateOfCharge},
        {"Pack voltage", s.packVoltage},
        {"Pack current", s.packCurrent},
        {"Pack power", s.packVoltage * s.packCurrent / 1000},
        {"Highest cell voltage", s.highestCellVoltage()},
        {"Highest cell number", s.highestCell},
        {"Lowest cell voltage", s.lowestCellVoltage()},
        {"Lowest cell number", s.lowestCell},
        {"Cell voltage spread", (s.highestCellVoltage() - s.lowestCellVoltage()) * 1000},
        {"Highest module temperature", *warmest},
        {"Lowest module temperature", *coolest},
        {"Warmest module", *warmest},
        {"Coolant inlet temperature", s.coolantInlet},
        {"Main relay closed", s.mainRelay},
        {"Charging", s.charging},
        {"Fast charging", s.fastCharging},
        {"Battery fan running", s.fan},
        {"Available charge power", s.chargePower},
        {"Available discharge power", s.dischargePower},
        {"Energy charged", s.energyCharged},
        {"Energy discharged", s.energyDischarged},
        {"Heater temperature", s.heater},
        {"State of health", s.stateOfHealth},
        {"Displayed state of charge", s.displayedCharge},
        {"Insulation resistance", s.insulation},
        {"Vehicle speed", s.speed},
        {"Motor speed", s.motorRpm},
        {"Accelerator pedal", s.pedal},
        {"Brake pressed", s.brake},
        {"Ready to drive", s.ready},
        {"Selector position", s.selector},
        {"Motor torque", s.torque},
        {"Auxiliary battery voltage", s.auxVoltage},
        {"Outside temperature", s.outside},
        {"Odometer", s.odometer},
        {"Cabin temperature", s.cabin},
        {"Motor stator temperature", s.statorTemperature},
        {"Inverter temperature", s.inverterTemperature},
        {"DC-DC converter current", s.converterCurrent},
        {"Reducer oil temperature", s.oilTemperature},
        {"Remaining range", s.range},
    };
    const auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional<double>(*found);
}

bool near(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

// Connects to the ev car, then runs `work` over the connected link.
void withLink(const std::function<void(CarRig&)>& work, const sim::Options& options = {}) {
    CarRig rig(QStringLiteral("ev"), options);
    bool ran = false;
    rig.afterPass = [&](Function served) {
        if (served != Function::Detection) return false;
        work(rig);
        ran = true;
        return true;
    };
    rig.session.connection().run();
    QVERIFY(ran);
}

} // namespace

class ParameterPassTest : public QObject {
    Q_OBJECT

private slots:
    // At idle and while cruising: each value is what the car held while the pass ran (at its
    // start or its end, or between the two for a value that moved).
    void readsWhatTheCarHolds_data() {
        QTest::addColumn<double>("driveTime");
        QTest::newRow("idle after key-on") << 0.0;
        QTest::newRow("accelerating") << 20.0;
        QTest::newRow("cruising") << 45.0;
    }
    void readsWhatTheCarHolds() {
        QFETCH(double, driveTime);
        const RequestPlan plan(shippedFiles());
        QCOMPARE(plan.requests().size(), 12);
        withLink([&](CarRig& rig) {
            const double keyOn = rig.port.simulator().keyOnTime();
            rig.clock.advance(std::max(0.0, keyOn + driveTime - rig.clock.now()));
            ParameterPass pass(rig.session.link(), plan);
            const sim::EvState before = sim::evStateAt(rig.clock.now() - keyOn);
            pass.run();
            const sim::EvState after = sim::evStateAt(rig.clock.now() - keyOn);
            QCOMPARE(pass.problem(), QString());
            for (int i = 0; i < plan.parameters().size(); ++i) {
                const QString& name = plan.parameters()[i].name;
                const ParameterValue& v = pass.values()[i];
                QVERIFY2(v.value, qPrintable(name + QStringLiteral(": ") + v.problem));
                const auto low = held(name, before), high = held(name, after);
                QVERIFY2(low && high, qPrintable(name + QStringLiteral(": not held by the car")));
                const bool within = near(*v.value, *low) || near(*v.value, *high) ||
                                    (*v.value >= std::min(*low, *high) && *v.value <= std::max(*low, *high));
                QVERIFY2(
                    within,
                    qPrintable(
                        QStringLiteral("%1: read %2, held %3 .. %4").arg(name).arg(*v.value).arg(*low).arg(*high)));
            }
            // The OBD work goes on on the functional address.
            const Reply reply = rig.session.link().request(QStringLiteral("010D"));
            QVERIFY2(reply.answers(0x01, 0x0D), qPrintable(reply.text));
        });
    }

    // A refused request and a header without a controller leave only their own parameters
    // empty, each saying why.
    void faultsStayWithTheirRequest() {
        const DefinitionFile file = readDefinitions("Soc,S,2101,A/2,,,,7E4\n"
                                                    "Nothing,N,2107,A,,,,7E4\n"
                                                    "Stray,X,2101,A,,,,7C6\n"
                                                    "Far,F,2101,AZ,,,,7E2\n"
                                                    "Range,R,220105,(A<8)+B,,,,7E0\n");
        QCOMPARE(file.rejectedCount(), 0);
        const RequestPlan plan({file});
        withLink([&](CarRig& rig) {
            ParameterPass pass(rig.session.link(), plan);
            pass.run();
            const QList<ParameterValue>& v = pass.values();
            QVERIFY(v[0].value);
            QCOMPARE(v[1].problem, QStringLiteral("the controller refused 2107: request out of range (31)"));
            QCOMPARE(v[2].problem, QStringLiteral("no reply to 2101"));
            QVERIFY2(!v[3].value && v[3].problem.contains(QLatin1String("AZ")), qPrintable(v[3].problem));
            QVERIFY(v[4].value);
        });
    }

    // Segmented replies that stop after two frames (13 bytes): the parameters within them
    // keep their values, those past them say why they have none.
    void shortRepliesKeepWhatCame() {
        const DefinitionFile file = readDefinitions("Soc,S,2101,A/2,,,,7E4\n"
                                                    "Inlet,I,2101,Signed(K),,,,7E4\n"
                                                    "Energy,E,2101,((V<24)+(W<16)+(X<8)+Y)/10,,,,7E4\n");
        const RequestPlan plan({file});
        sim::Options options;
        options.segmentFrames = 2;
        withLink(
            [&](CarRig& rig) {
                ParameterPass pass(rig.session.link(), plan);
                pass.run();
                const QList<ParameterValue>& v = pass.values();
                QVERIFY2(v[0].value && v[1].value, qPrintable(v[0].problem + v[1].problem));
                QVERIFY2(!v[2].value && v[2].problem.contains(QLatin1String("beyond the reply")),
                         qPrintable(v[2].problem));
            },
            options);
    }
};

ZELCOR_TEST(ParameterPassTest)
#include "parameterpass_test.moc"
