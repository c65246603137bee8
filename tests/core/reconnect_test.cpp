// A car or an adapter that stops answering in the middle of a live session with the data
// log on, with the adapter's real timing: the window's connection waits and says why, goes
// on with the same rows once the car answers, and the log marks the gap with every row
// whole.

#include "core/connectionstate.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

constexpr double kSession = 60; // seconds of the drive, from the adapter's first character

} // namespace

class ReconnectTest : public QObject {
    Q_OBJECT
private slots:
    void waitsAndGoesOn_data() {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<double>("answersAgainAt"); // seconds after the adapter's first character
        QTest::addColumn<QString>("waiting");       // the status line meanwhile
        QTest::addColumn<double>("disconnectAt");   // DISCONNECT then (0: not pressed)
        QTest::addColumn<int>("rows");              // enabled from the top, logged
        QTest::newRow("ignition off for 20 s")
            << QStringList{"--ignition-off-after", "20", "--ignition-off-seconds", "20"} << 40.0
            << "Waiting for the car: ignition off?" << 0.0 << 4;
        QTest::newRow("ignition off, no row enabled")
            << QStringList{"--ignition-off-after", "20", "--ignition-off-seconds", "20"} << 40.0
            << "Waiting for the car: ignition off?" << 0.0 << 0;
        QTest::newRow("adapter asleep for 20 s")
            << QStringList{"--sleep-after", "20", "--asleep-seconds", "20", "--sleep-word", "LV RESET"} << 40.0
            << "Waiting for the adapter: it does not answer (asleep?)" << 0.0 << 4;
        QTest::newRow("DISCONNECT while waiting")
            << QStringList{"--ignition-off-after", "20", "--ignition-off-seconds", "100"} << 120.0
            << "Waiting for the car: ignition off?" << 30.0 << 4;
    }
    void waitsAndGoesOn() {
        QFETCH(QStringList, switches);
        QFETCH(double, answersAgainAt);
        QFETCH(QString, waiting);
        QFETCH(double, disconnectAt);
        QFETCH(int, rows);
        QString error;
        CarRig rig(QStringLiteral("can11"), withSwitches(sim::realTimeOptions(), switches, &error));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Session& session = rig.session;
        LiveData& live = session.live();
        session.connection().setWaitsForReturn(true);
        rig.host.saveAnswer = rig.dir.filePath(QStringLiteral("drive"));

        double start = -1; // the adapter's first character: the simulator's time starts there
        QStringList shown;
        double stoppedAt = -1;
        rig.clock.onYield = [&](double now) {
            if (start < 0 && !rig.port.written().isEmpty()) start = now;
            const QString state = connectionStateText(session);
            if (shown.isEmpty() || shown.last() != state) shown << state;
            if (disconnectAt > 0 && start >= 0 && now - start >= disconnectAt && stoppedAt < 0) {
                stoppedAt = now;
                session.connection().requestDisconnect();
            }
        };
        QList<double> answered; // each live pass whose rows all got a value, since the start
        session.connection().setPassRunner([&] {
            const Function served = session.navigation().function();
            session.runPass();
            const double now = rig.clock.now() - start;
            if (served == Function::Detection && session.navigation().function() == Function::GeneralInfo) {
                session.navigation().setFunction(Function::LiveData);
                for (int i = 0; i < rows; ++i)
                    live.setRowEnabled(i, true);
                live.dataLog().chooseFile();
                live.startOrMarkLog();
            } else if (served == Function::LiveData && !session.link().linkLost()) {
                answered << now;
            }
            if (now > kSession && now > answersAgainAt + 5) session.link().requestStop();
        });
        session.connection().run();

        QVERIFY2(shown.contains(waiting), qPrintable(shown.join(" | ")));
        QCOMPARE(session.connection().lastError(), ConnectionError::None);
        if (rows == 0) { // a pass without rows keeps asking PID 00, so the gap is seen and waited out
            QVERIFY2(shown.last().startsWith(QStringLiteral("Connected")), qPrintable(shown.join(" | ")));
            return;
        }
        const QStringList csv =
            QString::fromUtf8(fileText(rig.dir.filePath(QStringLiteral("drive.csv")))).split(QStringLiteral("\r\n"));
        const qsizetype lost = csv.indexOf(QRegularExpression(".*,link lost: no answer,"));
        QVERIFY2(lost > 2, qPrintable(csv.join('\n')));
        if (disconnectAt > 0) {
            QVERIFY(stoppedAt > 0 && rig.clock.now() - stoppedAt < 0.05);
            QVERIFY(!csv.join('\n').contains("link back"));
            return;
        }
        const qsizetype back = csv.indexOf(QRegularExpression(".*,link back after \\d+ s,"));
        QCOMPARE(back, lost + 1);
        // Values again within two seconds of the car, the same rows as before.
        const auto again = std::find_if(answered.begin(), answered.end(), [&](double t) { return t > answersAgainAt; });
        QVERIFY(again != answered.end());
        QVERIFY2(*again - answersAgainAt < 2.0, qPrintable(QString::number(*again - answersAgainAt)));
        for (int i = 0; i < rows; ++i)
            QVERIFY(live.row(i).enabled && !live.row(i).value.isEmpty());
        // Every row whole, on both sides of the gap.
        int written = 0;
        for (qsizetype k = 2; k < csv.size(); ++k) {
            if (k == lost || k == back || csv.at(k).isEmpty()) continue;
            QCOMPARE(csv.at(k).count(','), 2 * rows);
            ++written;
        }
        QVERIFY(back - 2 > 10 && csv.size() - back > 10);
        QCOMPARE(written, live.dataLog().rowsWritten());
    }
};

ZELCOR_TEST(ReconnectTest)
#include "reconnect_test.moc"
