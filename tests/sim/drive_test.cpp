// The simulated drive: phases, values that move together, continuity, determinism.

#include "sim/drive.h"
#include "simharness.h"
#include "testmain.h"

#include <QTest>
#include <cmath>

using namespace zelcor;
using sim::DrivePhase;

class DriveTest : public QObject {
    Q_OBJECT
private slots:
    void phases_data() {
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("phase");
        QTest::addColumn<double>("minSpeed");
        QTest::addColumn<double>("maxSpeed");
        QTest::addColumn<double>("minRpm");
        QTest::addColumn<double>("maxRpm");
        const int idle = int(DrivePhase::Idle), accelerating = int(DrivePhase::Accelerating),
                  cruising = int(DrivePhase::Cruising), braking = int(DrivePhase::Braking);
        QTest::newRow("cold idle") << 5.0 << idle << 0.0 << 0.0 << 950.0 << 1150.0;
        QTest::newRow("launch") << 16.0 << accelerating << 1.0 << 30.0 << 1800.0 << 4000.0;
        QTest::newRow("late acceleration") << 26.0 << accelerating << 80.0 << 100.0 << 2400.0 << 3200.0;
        QTest::newRow("cruise") << 40.0 << cruising << 98.0 << 102.0 << 2200.0 << 2400.0;
        QTest::newRow("braking") << 63.0 << braking << 40.0 << 60.0 << 1200.0 << 3000.0;
        QTest::newRow("stopped") << 75.0 << idle << 0.0 << 0.0 << 750.0 << 1150.0;
        QTest::newRow("warm idle, later cycle") << 805.0 << idle << 0.0 << 0.0 << 720.0 << 780.0;
        QTest::newRow("cruise, later cycle") << 840.0 << cruising << 98.0 << 102.0 << 2200.0 << 2400.0;
    }

    void phases() {
        QFETCH(double, time);
        QFETCH(int, phase);
        QFETCH(double, minSpeed);
        QFETCH(double, maxSpeed);
        QFETCH(double, minRpm);
        QFETCH(double, maxRpm);
        const sim::DriveState s = sim::driveAt(time);
        QCOMPARE(int(s.phase), phase);
        QVERIFY2(s.speed >= minSpeed && s.speed <= maxSpeed, qPrintable(QString::number(s.speed)));
        QVERIFY2(s.rpm >= minRpm && s.rpm <= maxRpm, qPrintable(QString::number(s.rpm)));
    }

    void valuesMoveTogether() {
        double lastSpeed = 0;
        double lastCoolant = 0;
        double lastDistance = 0;
        for (double t = 0; t < 600; t += 0.05) {
            const sim::DriveState s = sim::driveAt(t);
            const QString at = QStringLiteral(" at %1 s").arg(t);
            QVERIFY2(std::abs(s.speed - lastSpeed) < 1.0, qPrintable("speed jumps" + at));
            QVERIFY2(s.coolant >= lastCoolant - 0.01 || s.coolant > 87, qPrintable("coolant falls" + at));
            QVERIFY2(s.distance >= lastDistance, qPrintable("distance falls" + at));
            QVERIFY2(s.rpm >= 600 && s.rpm <= 4500, qPrintable("rpm" + at));
            if (s.speed > 5) // the gearbox ties engine and wheels together
                QVERIFY2(s.rpm / s.speed > 20 && s.rpm / s.speed < 400, qPrintable("gear ratio" + at));
            QVERIFY2(s.load > 0 && s.load <= 100 && s.throttle >= 14 && s.throttle <= 100, qPrintable("load" + at));
            QVERIFY2(s.maf > 1 && s.maf < 100, qPrintable("air flow" + at));
            QVERIFY2(s.o2Upstream >= 0 && s.o2Upstream <= 1.1, qPrintable("O2" + at));
            if (s.phase == DrivePhase::Accelerating)
                QVERIFY2(s.throttle > 30 && s.pedal > 30, qPrintable("throttle" + at));
            lastSpeed = s.speed;
            lastCoolant = s.coolant;
            lastDistance = s.distance;
        }
    }

    void airFlowFollowsEngine() {
        // More air at cruise than at idle, most while accelerating; load likewise.
        const sim::DriveState idle = sim::driveAt(805), accelerating = sim::driveAt(821), cruise = sim::driveAt(840);
        QVERIFY(idle.maf < cruise.maf && cruise.maf < accelerating.maf);
        QVERIFY(idle.load < accelerating.load && cruise.load < accelerating.load);
        QVERIFY(idle.throttle < cruise.throttle && cruise.throttle < accelerating.throttle);
    }

    void fuelControlWarmsUp() {
        QCOMPARE(sim::driveAt(1).fuelSystem, int(sim::OpenLoopCold));
        QCOMPARE(sim::driveAt(840).fuelSystem, int(sim::ClosedLoop));
        QCOMPARE(sim::driveAt(817).fuelSystem, int(sim::OpenLoopDriving)); // full throttle
        // In closed loop the sensor ahead of the catalyst switches rich and lean.
        double low = 1, high = 0;
        for (double t = 840; t < 842; t += 0.05) {
            low = std::min(low, sim::driveAt(t).o2Upstream);
            high = std::max(high, sim::driveAt(t).o2Upstream);
        }
        QVERIFY(low < 0.2 && high > 0.7);
    }

    void distanceIsTheIntegralOfSpeed() {
        double km = 0;
        const double dt = 0.001;
        for (double t = 0; t < 2 * sim::driveCycleLength(); t += dt)
            km += sim::driveAt(t + dt / 2).speed * dt / 3600;
        QVERIFY(std::abs(sim::driveAt(2 * sim::driveCycleLength()).distance - km) < 0.001);
        QVERIFY(km > 1.5 && km < 3); // about 1.2 km per cycle
    }

    void sameTimesGiveTheSameCar() {
        sim::Options options;
        options.realTiming = true;
        test::SimHarness first(options), second(options);
        QByteArray a, b;
        for (const char* command : {"ATE0", "ATH1", "0100", "010C", "010D", "0110", "0114", "03", "0101"}) {
            first.wait(3.7);
            second.wait(3.7);
            a += first.ask(command);
            b += second.ask(command);
        }
        QCOMPARE(a, b);
        QVERIFY(a.contains("41 0C"));
    }
};

ZELCOR_TEST(DriveTest)
#include "drive_test.moc"
