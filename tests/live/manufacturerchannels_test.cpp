// Manufacturer parameters as live channels on the simulated electric car: the rows read
// what the car holds, every request once a pass whatever number of rows it feeds, and the
// CSV log, the recording's replay and the trace's replay give the same values.

#include "logging/recordingplayer.h"
#include "sessionrig.h"
#include "sim/evcar.h"
#include "testmain.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

using RequestCounts = QMap<QString, int>;

const QStringList kShippedFiles{"ev-battery.csv", "ev-motor.csv", "ev-vehicle.csv"};

void copyShippedFiles(const QString& folder) {
    QDir().mkpath(folder + "/parameters");
    for (const QString& name : kShippedFiles)
        QFile::copy(ZELCOR_SOURCE_DIR "/data/parameters/" + name, folder + "/parameters/" + name);
}

// What the car holds for the parameters these tests read.
double held(const QString& name, const sim::EvState& s) {
    const QHash<QString, double> values{{"State of charge", s.stateOfCharge},
                                        {"Pack voltage", s.packVoltage},
                                        {"Pack power", s.packVoltage * s.packCurrent / 1000},
                                        {"Cell 1 voltage", s.cellVoltages[0]},
                                        {"Motor speed", s.motorRpm},
                                        {"Remaining range", s.range},
                                        {"Odometer", s.odometer}};
    return values.value(name, qQNaN());
}

// The ev car with the shipped definition files, tracing; after detection the rows show
// `names` (enabled, from the top) and the live-data passes run.
struct EvRig : CarRig {
    QList<int> codes;

    EvRig() : CarRig(QStringLiteral("ev")) {
        copyShippedFiles(dir.path());
        session.parameters().reload();
        session.settings().debugTrace = true;
    }
    int code(const QString& name) const {
        for (const ListEntry& entry : session.live().row(0).channel.entries)
            if (entry.name == name && isManufacturerCode(entry.code)) return entry.code;
        return 0;
    }
    void chooseRows(const QStringList& names) {
        LiveData& live = session.live();
        for (int i = 0; i < names.size(); ++i) {
            codes << code(names[i]);
            live.chooseRowChannel(i, entryIndex(live.row(i).channel, codes.last()));
            live.setRowEnabled(i, true);
        }
    }
};

} // namespace

class ManufacturerChannelsTest : public QObject {
    Q_OBJECT
private slots:
    // Rows on one reply, and rows on three controllers (one of them asked 2102 on two
    // headers); Pack power is computed from two other parameters that no row shows.
    void rowsReadTheCar_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<RequestCounts>("requests"); // written per pass
        QTest::newRow("one reply, three rows")
            << QStringList{"State of charge", "Pack voltage", "Pack power"} << RequestCounts{{"2101", 1}, {"2102", 0}};
        QTest::newRow("three controllers")
            << QStringList{"Cell 1 voltage", "Motor speed", "Remaining range", "Odometer"}
            << RequestCounts{{"2101", 1}, {"2102", 2}, {"220105", 1}};
    }
    void rowsReadTheCar() {
        QFETCH(QStringList, names);
        QFETCH(RequestCounts, requests);
        EvRig rig;
        LiveData& live = rig.session.live();
        const auto carTime = [&rig] { return rig.clock.now() - rig.port.simulator().keyOnTime(); };
        struct Pass {
            sim::EvState before, after;
            QString written;
            QList<std::optional<double>> numbers;
        };
        QList<Pass> passes;
        sim::EvState before;
        rig.afterPass = [&](Function served) {
            if (served == Function::Detection) {
                rig.chooseRows(names);
                rig.host.saveAnswer = rig.dir.filePath("drive");
                live.dataLog().chooseFile();
                live.startOrMarkLog();
                rig.session.navigation().setFunction(Function::LiveData);
            } else if (served == Function::LiveData) {
                Pass pass{before, sim::evStateAt(carTime()), QString::fromLatin1(rig.port.written()), {}};
                for (int i = 0; i < names.size(); ++i)
                    pass.numbers << live.row(i).number;
                passes << pass;
            }
            before = sim::evStateAt(carTime());
            rig.port.clearWritten();
            return passes.size() == 3;
        };
        rig.session.connection().run();
        QCOMPARE(passes.size(), 3);
        live.dataLog().stop();
        for (const Pass& pass : passes) {
            for (auto r = requests.begin(); r != requests.end(); ++r)
                QCOMPARE(pass.written.count(QRegularExpression("(^|\r)" + r.key() + "\r")), r.value());
            for (int i = 0; i < names.size(); ++i) {
                const std::optional<double> v = pass.numbers[i];
                QVERIFY2(v, qPrintable(names[i] + ": " + live.row(i).problem));
                const double low = held(names[i], pass.before), high = held(names[i], pass.after);
                QVERIFY2(*v >= std::min(low, high) - 1e-9 && *v <= std::max(low, high) + 1e-9,
                         qPrintable(QStringLiteral("%1: %2, held %3 .. %4").arg(names[i]).arg(*v).arg(low).arg(high)));
            }
        }

        // The log names the channels with units and scale, and holds the rows' values.
        const QStringList csv =
            QString::fromUtf8(fileText(rig.dir.filePath("drive.csv"))).split("\r\n", Qt::SkipEmptyParts);
        QVERIFY2(csv.first().startsWith("Time,State of charge (%) [0~100],Time,Pack voltage (V) [250~450],") ||
                     csv.first().startsWith("Time,Cell 1 voltage (V) [2.5~4.3],Time,Motor speed (rpm) [-12000~12000],"),
                 qPrintable(csv.first()));
        QCOMPARE(csv.size(), 1 + passes.size());
        QStringList logged = csv.last().split(',');
        QStringList shown;
        for (int i = 0; i < names.size(); ++i)
            shown << channelNumber(*live.row(i).number);
        QCOMPARE(QStringList(logged.mid(1, 2 * names.size()).filter(QRegularExpression("^[-0-9.]+$"))), shown);

        // The recording's replay shows the same values, and says which files gave them.
        RecordingPlayer player(rig.clock, rig.session.settings());
        QVERIFY(player.open(rig.dir.filePath("drive.log")));
        player.controls().speedIndex = kReplaySpeeds - 1;
        player.playClicked(true);
        QCOMPARE(player.definitionFiles(), kShippedFiles);
        QCOMPARE(player.slotCount(), int(names.size()));
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(player.replaySlots()[i].name, names[i]);
            QCOMPARE(player.replaySlots()[i].value, live.row(i).value);
        }

        // The trace replays the passes with their parameter requests: the rows again.
        QTemporaryDir replayDir;
        copyShippedFiles(replayDir.path());
        QFile::copy(rig.dir.filePath("log.txt"), replayDir.filePath("log.txt"));
        FakeClock clock;
        SimPort port(clock, carOptions(QStringLiteral("nocar")));
        RecordingHost host;
        Session replayed(clock, port, host, replayDir.path());
        replayed.traceReplay().controls().speedIndex = kReplaySpeeds - 1;
        int plays = 0;
        clock.onYield = [&](double) {
            if (replayed.traceReplay().controls().play) return;
            if (plays++ == 0)
                replayed.traceReplay().controls().setPlay(true);
            else if (!replayed.connection().running())
                replayed.traceReplay().end();
        };
        replayed.traceReplay().run();
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(replayed.live().row(i).value, live.row(i).value);
    }

    // Cars whose controllers cannot be addressed one by one offer no manufacturer channels;
    // a definition file loaded later is listed at once, the rows keeping their channels.
    void offeredOnCanCars_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<bool>("offered");
        QTest::newRow("ev") << "ev" << true;
        QTest::newRow("ISO 9141") << "legacy" << false;
    }
    void offeredOnCanCars() {
        QFETCH(QString, profile);
        QFETCH(bool, offered);
        CarRig rig(profile);
        copyShippedFiles(rig.dir.path());
        rig.session.parameters().reload();
        const int count = rig.session.live().parameters().count();
        QVERIFY(count > 40);
        const auto listed = [&rig] {
            const QList<ListEntry>& entries = rig.session.live().trace(1).channel.entries;
            return std::count_if(entries.begin(), entries.end(),
                                 [](const ListEntry& e) { return isManufacturerCode(e.code); });
        };
        qsizetype listedAtDetection = -1, listedAfterRemoval = -1;
        QString chosen, kept;
        rig.afterPass = [&](Function served) {
            if (served != Function::Detection) return false;
            listedAtDetection = listed();
            if (!offered) return true;
            LiveData& live = rig.session.live();
            const int last = kFirstManufacturerCode + count - 1;
            live.chooseRowChannel(2, entryIndex(live.row(2).channel, last));
            chosen = live.row(2).channel.entries.value(live.row(2).channel.index).name;
            QFile::remove(rig.dir.filePath("parameters/ev-battery.csv"));
            rig.session.parameters().reload();
            listedAfterRemoval = listed();
            kept = live.row(2).channel.entries.value(live.row(2).channel.index).name;
            return true;
        };
        rig.session.connection().run();
        QCOMPARE(listedAtDetection, offered ? count : 0);
        if (!offered) return;
        QVERIFY(listedAfterRemoval > 0 && listedAfterRemoval < count);
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(kept, chosen);
    }
};

ZELCOR_TEST(ManufacturerChannelsTest)
#include "manufacturerchannels_test.moc"
