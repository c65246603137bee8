// Detection's rules that the simulated cars do not show: which replies name a
// controller, which controller is kept, and the support bitmap's corner cases. The
// function and channel lists of every car, the three header layouts and a controller
// picked in the list are in tests/golden/data/*/panels.txt.

#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// A scripted adapter on 11-bit CAN, no controller chosen yet.
struct Rig : SessionRig {
    Rig() : SessionRig(QString(), HeaderLayout::Legacy) { answers["ATDP"] = "ISO 15765-4 (CAN 11/500)\r\r>"; }
    void detect() { pass(Function::Detection); }
    QString selected() const { return session.link().selectedController(); }
    QString current() const { return session.vehicle().generalInfo().currentAddress; }
    qsizetype functions() const { return session.navigation().functions().size(); }
};

} // namespace

class DetectionTest : public QObject {
    Q_OBJECT
private slots:
    // Only sound answers to 0100 name a controller, each controller once. PID 01 counts as
    // supported when the four support bytes are all zero; without it the car offers
    // nothing and the link is woken again. A CAN car offers All Modules besides.
    void broadcast_data() {
        QTest::addColumn<QByteArray>("broadcast");
        QTest::addColumn<QStringList>("controllers");
        QTest::addColumn<int>("functions");
        const auto row = [](const char* name, const char* broadcast, const QStringList& controllers, int functions) {
            QTest::newRow(name) << QByteArray(broadcast) + "\r\r>" << controllers << functions;
        };
        row("adapter texts", "SEARCHING...\rNO DATA\r7E8 06 41 00 80 00 00 00", {"232"}, 6);
        row("other replies", "7E8 03 7F 01 12\r7E9 06 41 00 80 00 00 00", {"233"}, 6);
        row("nothing but texts", "BUS INIT: ...ERROR", {}, 0);
        row("all zero", "7E8 06 41 00 00 00 00 00", {"232"}, 6);
        row("short, all zero", "7E8 04 41 00 00 00", {}, 0);
        row("no PID 01", "7E8 06 41 00 00 18 00 00", {"232"}, 0); // only 0C and 0D
        row("damaged bitmap", "7E8 06 41 00 80 1Z 00 00", {}, 0);
        row("damaged beside a sound one", "7E8 06 41 00 80 00 00 00\r7E9 06 41 00 ZZ 3F A8 13\r7E9 03 7F 01 12",
            {"232"}, 6);
        row("repeated", "7E8 06 41 00 80 00 00 00\r7E9 06 41 00 80 00 00 00\r7E8 06 41 00 80 00 00 00", {"232", "233"},
            6);
    }
    void broadcast() {
        QFETCH(QByteArray, broadcast);
        QFETCH(QStringList, controllers);
        QFETCH(int, functions);
        Rig rig;
        rig.answers["0100"] = broadcast;
        rig.detect();
        QCOMPARE(rig.session.vehicle().generalInfo().controllers, controllers);
        QCOMPARE(rig.current(), controllers.value(0));
        QCOMPARE(rig.functions(), functions);
        QCOMPARE(rig.session.detection().supports(1), functions > 0);
        QCOMPARE(rig.session.link().linkLost(), functions == 0);
        QCOMPARE(rig.session.navigation().function(), functions ? Function::GeneralInfo : Function::Detection);
        QVERIFY(rig.host.clipboard.last().startsWith("ISO 15765-4 (CAN 11/500)\r\r>/"));
    }

    // A controller picked in the list is applied at the next detection and kept while it
    // answers; three detections in a row without it give it up for the first responder,
    // or for the engine's address when nobody answers.
    void selectedControllerKeptWhileItAnswers() {
        Rig rig;
        const QByteArray both = "7E8 06 41 00 BE 3E B8 13\r7E9 06 41 00 80 00 00 00\r\r>";
        rig.answers["0100"] = both;
        rig.detect();
        rig.session.chooseController(0); // the current one: nothing happens
        QCOMPARE(rig.session.navigation().function(), Function::GeneralInfo);
        rig.session.chooseController(1);
        QCOMPARE(rig.session.navigation().function(), Function::Detection);
        QCOMPARE(rig.selected(), QStringLiteral("E8"));
        QCOMPARE(rig.current(), QStringLiteral("233"));
        rig.detect();
        QCOMPARE(rig.selected(), QStringLiteral("E9"));
        QCOMPARE(rig.functions(), 6); // All Modules on this CAN car too

        const QByteArray engineOnly = "7E8 06 41 00 BE 3E B8 13\r\r>";
        for (const QByteArray& broadcast : {engineOnly, engineOnly, both, engineOnly, engineOnly}) {
            rig.answers["0100"] = broadcast;
            rig.detect();
            QCOMPARE(rig.selected(), QStringLiteral("E9"));
            QCOMPARE(rig.functions(), broadcast == both ? 6 : 0);
        }
        rig.detect();
        QCOMPARE(rig.selected(), QStringLiteral("E8"));
        QCOMPARE(rig.current(), QStringLiteral("232"));

        rig.detect();                         // found again: a fresh count
        rig.answers["0100"] = "NO DATA\r\r>"; // nobody: the engine's address, after three misses too
        for (const char* selected : {"E8", "E8", "10"}) {
            rig.detect();
            QCOMPARE(rig.selected(), QString::fromLatin1(selected));
        }
        QCOMPARE(rig.current(), QStringLiteral("16 - Engine"));
    }
};

ZELCOR_TEST(DetectionTest)
#include "detection_test.moc"
