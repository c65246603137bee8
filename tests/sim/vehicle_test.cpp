// The simulated car and its bus: the drive (phases, values that move together, limits,
// continuity), support bitmaps against what really answers, monitors after a clear,
// messages split into CAN frames, and the legacy check bytes.

#include "sim/checksum.h"
#include "sim/drive.h"
#include "sim/framer.h"
#include "sim/isotp.h"
#include "sim/protocol.h"
#include "sim/vehicle.h"
#include "testmain.h"

#include <QTest>
#include <cmath>

using namespace zelcor;
using sim::DrivePhase;

class VehicleTest : public QObject {
    Q_OBJECT
private slots:
    void valuesMoveTogether() {
        sim::DriveState last;
        for (double t = 0; t < 600; t += 0.05) {
            const sim::DriveState s = sim::driveAt(t);
            const QString at = QStringLiteral(" at %1 s").arg(t);
            QVERIFY2(std::abs(s.speed - last.speed) < 1.0, qPrintable("speed jumps" + at));
            QVERIFY2(s.coolant >= last.coolant - 0.01 || s.coolant > 87, qPrintable("coolant falls" + at));
            QVERIFY2(s.distance >= last.distance, qPrintable("distance falls" + at));
            QVERIFY2(s.rpm >= 600 && s.rpm <= 4500, qPrintable("rpm" + at));
            if (s.speed > 5) // the gearbox ties engine and wheels together
                QVERIFY2(s.rpm / s.speed > 20 && s.rpm / s.speed < 400, qPrintable("gear ratio" + at));
            QVERIFY2(s.load > 0 && s.load <= 100 && s.throttle >= 14 && s.throttle <= 100, qPrintable("load" + at));
            QVERIFY2(s.maf > 1 && s.maf < 100, qPrintable("air flow" + at));
            QVERIFY2(s.o2Upstream >= 0 && s.o2Upstream <= 1.1, qPrintable("O2" + at));
            if (s.phase == DrivePhase::Accelerating)
                QVERIFY2(s.throttle > 30 && s.pedal > 30, qPrintable("throttle" + at));
            last = s;
        }
        // More air, load and throttle at cruise than at idle, most while accelerating.
        const sim::DriveState idle = sim::driveAt(805), accelerating = sim::driveAt(821), cruise = sim::driveAt(840);
        QVERIFY(idle.phase == DrivePhase::Idle && idle.speed == 0 && idle.rpm > 700 && idle.rpm < 800);
        QVERIFY(cruise.phase == DrivePhase::Cruising && std::abs(cruise.speed - 100) <= 2);
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

    // Every controller answers exactly the parameters its bitmaps list: service 01, and
    // frame 0 of service 02 where a frame is stored.
    void bitmapsAgreeWithAnswers_data() {
        QTest::addColumn<QString>("profile");
        for (const QString& name : sim::profileNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    void bitmapsAgreeWithAnswers() {
        QFETCH(QString, profile);
        sim::Vehicle car(*sim::findProfile(profile), 0);
        for (sim::Controller& controller : car.controllers()) {
            for (const QByteArray& frame : {QByteArray(), QByteArray(1, '\0')}) {
                if (!frame.isEmpty() && !controller.freezeFrameStored()) continue;
                QList<int> listed, answered;
                for (int pid = 0; pid < 0x100; ++pid) {
                    const QByteArray request = QByteArray(1, char(frame.isEmpty() ? 1 : 2)) + char(pid) + frame;
                    const QList<QByteArray> answer = controller.answer(request, sim::isCan(car.protocol()), 840);
                    if (answer.isEmpty()) continue;
                    answered.append(pid);
                    for (int bit = 0; pid % 0x20 == 0 && bit < 32; ++bit)
                        if (quint8(answer[0][2 + frame.size() + bit / 8]) & (0x80 >> (bit % 8)))
                            listed.append(pid + bit + 1);
                }
                if (!answered.isEmpty()) listed.prepend(0);
                QCOMPARE(answered, listed);
            }
        }
    }

    // After a clear, driving on completes the oxygen sensor monitors first, the catalyst
    // later (just after the clear every monitor is incomplete: the goldens' erase shows it).
    void monitorsCompleteAfterClearing() {
        sim::Controller engine(sim::findProfile(QStringLiteral("can11"))->controllers.first());
        engine.answer(QByteArray(1, 0x04), true, 10);
        QCOMPARE(engine.answer(QByteArray::fromHex("0101"), true, 130).first().toHex(), QByteArray("410100076505"));
    }

    // Messages split into CAN frames, and the check bytes of the legacy buses.
    void segments_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("pcis"); // first byte of every frame
        QTest::newRow("empty") << 0 << QByteArray::fromHex("00");
        QTest::newRow("single, full") << 7 << QByteArray::fromHex("07");
        QTest::newRow("first and one") << 8 << QByteArray::fromHex("1021");
        QTest::newRow("spills") << 14 << QByteArray::fromHex("102122");
        // 6 + 15 * 7 bytes fill sequence numbers 1..F; one more byte wraps to 0.
        QTest::newRow("wraps to 0") << 112 << QByteArray::fromHex("102122232425262728292A2B2C2D2E2F20");
        QTest::newRow("wraps twice") << 6 + 32 * 7
                                     << QByteArray::fromHex("10212223242526272829 2A2B2C2D2E2F20"
                                                            "2122232425262728292A2B2C2D2E2F20");
    }
    void segments() {
        QFETCH(int, length);
        QFETCH(QByteArray, pcis);
        QByteArray message;
        for (int i = 0; i < length; ++i)
            message.append(char(i * 7 + 3));
        const QList<QByteArray> frames = sim::isotp::segment(message, 0xAA);
        QByteArray seen;
        for (const QByteArray& frame : frames) {
            QCOMPARE(frame.size(), 8);
            seen.append(frame[0]);
        }
        QCOMPARE(seen.toHex(), pcis.toHex());
        if (frames.size() > 1) // the first frame announces the length
            QCOMPARE(((quint8(frames[0][0]) & 0x0F) << 8) | quint8(frames[0][1]), length);
        bool ok = false;
        QCOMPARE(sim::isotp::reassemble(frames, &ok), message);
        QVERIFY(ok || length == 0);
        // Printed without headers, line numbers follow the sequence numbers (F, then 0).
        if (length == 112) {
            QCOMPARE(sim::canLines(0x7E8, false, frames[0], {}, "\r").left(9), QByteArray("070\r0: 03"));
            QCOMPARE(sim::canLines(0x7E8, false, frames[15], {}, "\r").left(2), QByteArray("F:"));
            QCOMPARE(sim::canLines(0x7E8, false, frames[16], {}, "\r"), QByteArray("0: 0C AA AA AA AA AA AA"));
        }
    }

    void checks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("crc");
        QTest::addColumn<int>("sum");
        // Published SAE J1850 CRC check values.
        QTest::newRow("zeros") << QByteArray::fromHex("00000000") << 0x59 << 0x00;
        QTest::newRow("three bytes") << QByteArray::fromHex("F20183") << 0x37 << 0x76;
        QTest::newRow("long") << QByteArray::fromHex("332255AABBCCDDEEFF") << 0xCB << 0xA5;
        QTest::newRow("ones") << QByteArray::fromHex("FFFFFFFF") << 0x74 << 0xFC;
    }
    void checks() {
        QFETCH(QByteArray, bytes);
        QTEST(int(sim::j1850Crc(bytes)), "crc");
        QTEST(int(sim::additiveSum(bytes)), "sum");
    }
};

ZELCOR_TEST(VehicleTest)
#include "vehicle_test.moc"
