// The tachometer and speedometer passes, and the acceleration timer on the test clock.
// The simulated cars' answers are covered by the golden files (panels.txt, "speed" and
// "rpm" steps).

#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

Q_DECLARE_METATYPE(zelcor::Function)

class InstrumentPassesTest : public QObject {
    Q_OBJECT
private slots:
    // Before each pass the tachometer shows 800 rpm, the speedometer 40 km/h and a 0-to-60
    // test is armed; a reply that does not answer leaves them.
    void needles_data() {
        QTest::addColumn<Function>("function");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("milesPerHour");
        QTest::addColumn<QString>("shown");
        const Function rpm = Function::EngineSpeed, speed = Function::VehicleSpeed;
        QTest::newRow("FF FF is no negative value") << rpm << QByteArray("7E8 04 41 0C FF FF") << true << "16384 RPM";
        QTest::newRow("half an rpm rounds to even") << rpm << QByteArray("7E8 04 41 0C 00 02") << true << "0 RPM";
        QTest::newRow("damaged reply leaves the needle")
            << rpm << QByteArray("7E8 04 41 0C 1A 8Z") << true << "800 RPM";
        QTest::newRow("rpm of another controller") << rpm << QByteArray("7E9 04 41 0C 1A F8") << true << "800 RPM";
        QTest::newRow("km/h") << speed << QByteArray("7E8 03 41 0D 64") << false << "100 KPH 0.0";
        QTest::newRow("100 km/h in mph") << speed << QByteArray("7E8 03 41 0D 64") << true << "62 MPH 0.0";
        QTest::newRow("speed of another controller")
            << speed << QByteArray("7E9 03 41 0D 64") << true << "40 KPH Ready";
    }
    void needles() {
        QFETCH(Function, function);
        QFETCH(QByteArray, reply);
        QFETCH(bool, milesPerHour);
        SessionRig rig;
        Instruments& instruments = rig.session.instruments();
        rig.session.settings().milesPerHour = milesPerHour;
        instruments.showEngineSpeed(800);
        instruments.showSpeed(40, DialUnit::KPH);
        rig.session.armAccelerationTest();
        rig.answers[function == Function::EngineSpeed ? "010C" : "010D"] = reply + "\r\r>";
        rig.pass(function);
        QCOMPARE(rig.port.lines.size(), 1);
        const InstrumentPanels& p = instruments.panels();
        QTEST(function == Function::EngineSpeed
                  ? p.engineSpeedReadout + " RPM"
                  : p.speedReadout + (p.speedUnit == DialUnit::MPH ? " MPH " : " KPH ") + p.test.elapsedText(),
              "shown");
        QCOMPARE(p.engineSpeedReadout + " " + p.speedReadout,
                 QString::number(p.engineSpeedValue) + " " + QString::number(p.speedValue));
        QCOMPARE(p.test.armed(), p.test.elapsedText() == QLatin1String("Ready"));
    }

    // Speed samples at chosen times for a test from 1 to 97 km/h; a late answer from
    // another controller must neither end nor disturb the run.
    void timedRun() {
        SessionRig rig;
        Instruments& instruments = rig.session.instruments();
        rig.session.settings().milesPerHour = false;
        instruments.setEndText(QStringLiteral("97"));
        rig.session.armAccelerationTest();
        const double base = rig.clock.now() + 100.0;
        const QList<QPair<double, QByteArray>> samples = {
            {9.0, "7E8 03 41 0D 00"},  {9.5, "7E8 03 41 0D 00"},  {10.0, "7E8 03 41 0D 05"}, {12.0, "7E8 03 41 0D 32"},
            {16.9, "7E8 03 41 0D 5F"}, {17.1, "7E9 03 41 0D 62"}, {17.2, "7E8 03 41 0D 62"}, {18.0, "7E8 03 41 0D 64"},
        };
        QStringList shown;
        for (const auto& [t, reply] : samples) {
            rig.clock.advance(base + t - rig.clock.now());
            rig.answers["010D"] = reply + "\r\r>";
            rig.pass(Function::VehicleSpeed);
            shown << instruments.panels().test.elapsedText();
        }
        QCOMPARE(shown, (QStringList{"Ready", "Ready", "0.0", "2.0", "6.9", "6.9", "7.2", "7.2"}));
        QCOMPARE(instruments.panels().test.spreadText(), QStringLiteral("0.3"));
        QVERIFY(!instruments.panels().test.running());
    }

    // A run that starts and ends within one sample takes no time, whatever ran before.
    void startAndEndInOneSample() {
        AccelerationTest test;
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(20, 100.0);
        test.arm(QStringLiteral("10"), QStringLiteral("50"), false);
        test.sample(60, 5000.0);
        QCOMPARE(test.elapsedText() + " " + test.spreadText(), QStringLiteral("0.0 0.0"));
    }
};

ZELCOR_TEST(InstrumentPassesTest)
#include "instrumentpasses_test.moc"
