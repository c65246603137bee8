#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QList<int> kChannels{17, 16, 15, 13, 12, 5, 998, 997, 999};

// The graph function on the engine at 7E8; both selectors list kChannels.
struct Rig : SessionRig {
    Rig() {
        session.funccode = 240;
        answers["0100"] = "7E8 06 41 00 BE 3F A8 13\r\r>";
        answers["010C"] = "7E8 04 41 0C 2E E0\r\r>"; // 3000 RPM
        answers["010D"] = "7E8 03 41 0D 60\r\r>";    // 96 km/h, 60 MPH
        answers["0110"] = "7E8 04 41 10 03 E8\r\r>"; // 10 g/s
        answers["0105"] = "7E8 03 41 05 5A\r\r>";    // 122 deg F
        answers["010F"] = "7E8 03 41 0F 3C\r\r>";    // 68 deg F
        for (GraphTraceSelector& trace : session.graphTraces)
            for (int code : kChannels)
                trace.channel.entries << listEntry(QStringLiteral("channel %1").arg(code), code);
    }
    void trace(int t, int code, bool enabled) {
        GraphTraceSelector& trace = session.graphTraces[size_t(t)];
        trace.channel.index = int(kChannels.indexOf(code));
        trace.enabled = enabled;
        session.Combo9_Click(t);
    }
    float newest(int t) const { return session.live.graph.trace(t)[0]; }
};

} // namespace

class GraphPassTest : public QObject {
    Q_OBJECT
private slots:
    // Speed is sampled once for any derived trace and RPM once for torque; a speed or
    // RPM trace then reuses that sample instead of asking again.
    void requestsOfAPass_data() {
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("leftOn");
        QTest::addColumn<int>("right");
        QTest::addColumn<bool>("rightOn");
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::newRow("RPM and torque") << 12 << true << 997 << true << QList<QByteArray>{"010D", "010C"};
        QTest::newRow("speed and power") << 13 << true << 998 << true << QList<QByteArray>{"010D"};
        QTest::newRow("economy and coolant") << 999 << true << 5 << true << QList<QByteArray>{"010D", "0110", "0105"};
        QTest::newRow("intake air and coolant") << 15 << true << 5 << true << QList<QByteArray>{"010F", "0105"};
        QTest::newRow("torque switched off") << 12 << true << 997 << false << QList<QByteArray>{"010C"};
        QTest::newRow("nothing on: keep-alive") << 12 << false << 13 << false << QList<QByteArray>{"0100"};
    }
    void requestsOfAPass() {
        QFETCH(int, left);
        QFETCH(bool, leftOn);
        QFETCH(int, right);
        QFETCH(bool, rightOn);
        QFETCH(QList<QByteArray>, requests);
        Rig rig;
        rig.trace(0, left, leftOn);
        rig.trace(1, right, rightOn);
        rig.pass();
        QCOMPARE(rig.port.lines, requests);
        QCOMPARE(rig.session.live.Text17.isEmpty(), requests == QList<QByteArray>{"0100"});
    }

    // What each kind of trace shows and stores.
    void samples_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("label");
        QTest::addColumn<float>("sample");
        QTest::newRow("RPM from the pre-sample") << 12 << "3000 RPM" << 3000.0f;
        QTest::newRow("speed") << 13 << "96 km/h    59.7 MPH" << 60.0f;
        QTest::newRow("coolant") << 5 << "122.0 deg F" << 122.0f;
        QTest::newRow("fuel economy") << 999 << "64.82" << 64.82f;
    }
    void samples() {
        QFETCH(int, code);
        QFETCH(float, sample);
        Rig rig;
        rig.trace(0, code, true);
        rig.trace(1, 997, true); // makes the speed and RPM pre-samples
        rig.pass();
        QTEST(rig.session.graphTraces[0].value, "label");
        QCOMPARE(rig.newest(0), sample);
        QCOMPARE(rig.session.live.graph.hold(0), sample);
    }

    // A disabled trace keeps scrolling with its last value; a rejected reply stores the
    // trace's own last value, never the other trace's sample.
    void traceWithoutANewSample() {
        Rig rig;
        rig.trace(0, 12, true);
        rig.trace(1, 5, true);
        rig.pass();
        QCOMPARE(rig.newest(1), 122.0f);

        rig.answers["0105"] = "7E8 03 7F 01 12\r\r>";
        rig.pass();
        QCOMPARE(rig.newest(1), 122.0f);
        QCOMPARE(rig.session.live.graph.trace(1)[1], 122.0f);

        rig.answers["010C"] = "7E8 04 41 0C 1F 40\r\r>"; // 2000 RPM
        rig.session.graphTraces[0].enabled = false;
        rig.pass();
        QCOMPARE(rig.newest(0), 3000.0f);
        QCOMPARE(rig.port.lines, QList<QByteArray>{"0105"});
    }

    // A new channel empties its trace at the end of the next pass, all but the newest
    // sample, and sets the axis to the channel's range.
    void channelChangeEmptiesTheTrace() {
        Rig rig;
        rig.trace(0, 12, true);
        rig.trace(1, 5, true);
        for (int i = 0; i < 3; ++i)
            rig.pass();
        QCOMPARE(rig.session.live.graph.trace(1)[2], 122.0f);

        rig.trace(1, 15, true);
        QCOMPARE(rig.session.live.graph.axisLabel(2).caption, QStringLiteral("200.0"));
        QCOMPARE(rig.session.live.graph.axisLabel(3).caption, QStringLiteral("-40.0"));
        rig.pass();
        const auto& trace = rig.session.live.graph.trace(1);
        QCOMPARE(trace[0], 68.0f);
        QCOMPARE(trace[1], kEmptySample);
        QCOMPARE(trace[3], kEmptySample);
        QCOMPARE(rig.session.live.graph.killRequested(1), false);
        QCOMPARE(rig.session.live.graph.trace(0)[2], 3000.0f); // the other trace keeps its samples
    }

    // Selectors emptied by a new detection: intake air left, coolant right, both on.
    void defaultSelection() {
        Rig rig;
        for (GraphTraceSelector& trace : rig.session.graphTraces) {
            trace.channel.index = -1;
            trace.enabled = false;
        }
        rig.pass();
        QCOMPARE(rig.session.graphTraces[0].channel.code(), 15);
        QCOMPARE(rig.session.graphTraces[1].channel.code(), 5);
        QVERIFY(rig.session.graphTraces[0].enabled);
        QVERIFY(rig.session.graphTraces[1].enabled);
        QCOMPARE(rig.session.live.graph.axisLabel(0).caption, QStringLiteral("200.0"));
        QCOMPARE(rig.session.live.graph.axisLabel(2).caption, QStringLiteral("310.0"));
        QCOMPARE(rig.port.lines, QList<QByteArray>{"0105"}); // the right trace samples at once

        rig.pass();
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"010F", "0105"}));
        QCOMPARE(rig.newest(0), 68.0f);
    }
};

ZELCOR_TEST(GraphPassTest)
#include "graphpass_test.moc"
