#include "base/numbers.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// The live-data function on the engine at 7E8; the CSV fields it writes are collected.
struct Rig : SessionRig {
    QStringList fields; // every "time,value," written
    int lineEnds = 0;

    Rig() {
        session.funccode = 250;
        session.datalog.rows.append = [this](const QString& f) { fields << f; };
        session.datalog.rows.endLine = [this] { ++lineEnds; };
        answers["0100"] = "7E8 06 41 00 BE 3F A8 13\r\r>";
    }
    // The value of each field written, without its time.
    QStringList loggedValues() const {
        QStringList values;
        for (const QString& f : fields) {
            const QStringList parts = f.split(QLatin1Char(','));
            values << (parts.size() == 3 ? parts.at(1) : QStringLiteral("<malformed:%1>").arg(f));
        }
        return values;
    }
    const QString& text(int row) const { return session.liveRows[size_t(row)].value; }
};

} // namespace

class LivePassTest : public QObject {
    Q_OBJECT
private slots:
    // A reply the decoder rejects empties the row's value box; the row logs an empty
    // field and gives nothing to the histories, so the speed stays unseen for the rows
    // below and the previous row's value is not taken for this one.
    void rejectedReplyKeepsItsRowEmpty_data() {
        QTest::addColumn<QByteArray>("speedReply");
        QTest::newRow("another controller") << QByteArray("7E9 03 41 0D 3C\r\r>");
        QTest::newRow("negative answer") << QByteArray("7E8 03 7F 01 12\r\r>");
        QTest::newRow("another parameter") << QByteArray("7E8 04 41 0C 2E E0\r\r>");
    }
    void rejectedReplyKeepsItsRowEmpty() {
        QFETCH(QByteArray, speedReply);
        Rig rig;
        rig.answers["010C"] = "7E8 04 41 0C 2E E0\r\r>"; // 3000 RPM
        rig.answers["010D"] = speedReply;
        rig.channel(0, 12);
        rig.channel(1, 13);
        rig.channel(2, 998);
        rig.session.liveRows[1].value = QStringLiteral("old speed");
        rig.session.datalog.logging = true;

        rig.pass();

        QCOMPARE(rig.text(0), QStringLiteral("3000 RPM"));
        QCOMPARE(rig.text(1), QString());
        QVERIFY(!rig.session.liveRows[1].number);
        QCOMPARE(rig.text(2), QStringLiteral("Enable Speed above to view HP"));
        QCOMPARE(rig.loggedValues(), (QStringList{"3000", "", "Enable Speed above to view HP"}));
        QCOMPARE(rig.lineEnds, 1);
        const LiveHistory& h = rig.session.live.history;
        QVERIFY(h.speedhist.isEmpty(0));
        QVERIFY(h.timehist.isEmpty(0));
        QCOMPARE(h.rpmhist.at(0), 3000.0);
        QVERIFY(h.rpmhist.isEmpty(1));
    }

    // The value written to the CSV row for each kind of parameter.
    void logField_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("logged");
        QTest::newRow("two decimals") << QByteArray("0110") << QByteArray("7E8 04 41 10 01 3A\r\r>") << "3.14 gm/sec"
                                      << "3.14";
        QTest::newRow("whole number") << QByteArray("010C") << QByteArray("7E8 04 41 0C 1A F9\r\r>") << "1726 RPM"
                                      << "1726";
        QTest::newRow("one decimal") << QByteArray("0105") << QByteArray("7E8 03 41 05 5A\r\r>") << "122.0 deg F"
                                     << "122.0";
        QTest::newRow("text value") << QByteArray("0103") << QByteArray("7E8 04 41 03 02 00\r\r>") << "S1: Closed Loop"
                                    << "S1: Closed Loop";
        QTest::newRow("text without a number")
            << QByteArray("0112") << QByteArray("7E8 03 41 12 04\r\r>") << "Atmosphere / off"
            << "Atmosphere / off";
    }
    void logField() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QFETCH(QString, logged);
        Rig rig;
        rig.answers[request] = reply;
        rig.channel(4, int(hexval(QString::fromLatin1(request.mid(2)))));
        rig.session.datalog.logging = true;

        rig.pass();

        QTEST(rig.text(4), "shown");
        QCOMPARE(rig.loggedValues(), QStringList{logged});
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{1,2}:\\d\\d:\\d\\d")).match(rig.fields.first()).hasMatch());
        QCOMPARE(rig.lineEnds, 1);
    }

    // The derived rows see only the inputs decoded above them in the same pass.
    void derivedRows_data() {
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("power above the speed") << QList<int>{998, 13} << 0 << "Enable Speed above to view HP";
        QTest::newRow("torque above the RPM")
            << QList<int>{13, 997, 12} << 1 << "Enable Speed and RPM above for Torque";
        QTest::newRow("economy without air flow") << QList<int>{13, 999} << 1 << "Enable Speed and MAF above for MPG";
        QTest::newRow("economy below speed and air flow") << QList<int>{13, 16, 999} << 2 << "64.82";
        QTest::newRow("slowing down: no power") << QList<int>{13, 998} << 1 << "0";
        QTest::newRow("slowing down: no torque") << QList<int>{12, 13, 997} << 2 << "0";
    }
    void derivedRows() {
        QFETCH(QList<int>, codes);
        QFETCH(int, row);
        QFETCH(QString, text);
        Rig rig;
        rig.answers["010D"] = "7E8 03 41 0D 60\r\r>";    // 96 km/h, 60 MPH
        rig.answers["0110"] = "7E8 04 41 10 03 E8\r\r>"; // 10 g/s
        rig.answers["010C"] = "7E8 04 41 0C 2E E0\r\r>"; // 3000 RPM
        for (int i = 0; i < 4; ++i)
            rig.session.live.history.pushSpeed(100, 900 + i); // faster before
        for (int i = 0; i < codes.size(); ++i)
            rig.channel(i, codes.at(i));
        rig.session.liveRows[size_t(row)].showGauge = true;
        QList<int> fed;
        QObject::connect(&rig.session, &Session::gaugeFed, [&](int r) { fed << r; });

        rig.pass();

        QCOMPARE(rig.text(row), text);
        const LiveRow& r = rig.session.liveRows[size_t(row)];
        const bool numeric = !text.startsWith(QLatin1String("Enable"));
        QCOMPARE(r.number.has_value(), numeric);
        QCOMPARE(fed, numeric ? QList<int>{row} : QList<int>{}); // rows without "Show Gauge" feed nothing
        if (numeric) {
            QCOMPARE(*r.number, val(text));
            QCOMPARE(r.gauge.value, val(text));
        }
    }

    // Rows are polled top to bottom, one request each, against the simulated car.
    void threeChannelsAgainstTheSimulator() {
        CarRig rig(QStringLiteral("can11"), {}, false);
        Session& session = rig.session;
        QList<QByteArray> requests;
        rig.afterPass = [&](int code) {
            if (code == 0) { // detection, then the three rows
                session.funccode = 250;
                for (int row = 0; row < 3; ++row)
                    pickChannel(session.liveRows[size_t(row)], QList<int>{12, 5, 13}.at(row));
                rig.port.clearWritten();
                return false;
            }
            requests = rig.port.writes();
            return true;
        };
        session.connection.CONNECT();

        QCOMPARE(requests, (QList<QByteArray>{"010C\r\n", "0105\r\n", "010D\r\n"}));
        QVERIFY2(session.liveRows[0].value.endsWith(QLatin1String(" RPM")), qPrintable(session.liveRows[0].value));
        QVERIFY2(session.liveRows[1].value.endsWith(QLatin1String(" deg F")), qPrintable(session.liveRows[1].value));
        QVERIFY2(session.liveRows[2].value.contains(QLatin1String(" km/h")), qPrintable(session.liveRows[2].value));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d /sec$")).match(session.live.Text12).hasMatch(),
                 qPrintable(session.live.Text12));
        for (int row = 3; row < kLiveRows; ++row)
            QCOMPARE(session.liveRows[size_t(row)].channel.index, row); // default selection
    }

    // Without a request in the pass the link is kept alive once and the rate is blank.
    void keepAliveWithoutEnabledRows() {
        Rig rig;
        rig.channel(0, 12);
        rig.channel(1, 999);
        rig.session.liveRows[0].enabled = false;
        rig.session.liveRows[1].enabled = false;
        rig.session.live.Text12 = QStringLiteral("4.2 /sec");
        rig.pass();
        QCOMPARE(rig.port.lines, QList<QByteArray>{"0100"});
        QCOMPARE(rig.session.live.Text12, QString());
        QCOMPARE(rig.text(1), QString());
    }

    // A replayed pass waits for nothing, so it measures no rate: the previous one stays.
    void replayedPassKeepsTheRate() {
        Rig rig;
        QVERIFY(rig.write("log.txt", "F250\r\nS010C\r\nR7E8 04 41 0C 1A F9\r\nT 12:00:00\r\n"));
        QVERIFY(rig.session.trace.openForReplay());
        rig.session.replaying = true;
        rig.channel(0, 12);
        rig.session.live.Text12 = QStringLiteral("9.9 /sec");
        // The window's repaints take a little time during the pass.
        QObject::connect(&rig.session, &Session::liveRowChanged, [&] { rig.clock.advance(0.001); });

        rig.pass();

        QCOMPARE(rig.text(0), QStringLiteral("1726 RPM"));
        QCOMPARE(rig.session.live.Text12, QStringLiteral("9.9 /sec"));
    }

    // Another function chosen while a row waits: the rows below are skipped and the
    // pass ends as usual.
    void functionChangeSkipsTheRestOfThePass() {
        Rig rig;
        rig.answers["010C"] = "7E8 04 41 0C 1A F9\r\r>";
        rig.answers["010D"] = "7E8 03 41 0D 3C\r\r>";
        rig.channel(0, 12);
        rig.channel(1, 13);
        rig.channel(2, 12);
        rig.clock.onYield = [&](double) {
            if (rig.port.lines.size() == 2) rig.session.funccode = 1;
        };
        rig.pass();
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"010C", "010D"}));
        QCOMPARE(rig.text(1), QStringLiteral("60 km/h    37.3 MPH"));
        QVERIFY(rig.session.live.Text12.endsWith(QLatin1String(" /sec")));
    }

    // After the lists are rebuilt, row i takes the i-th channel where there is one.
    void defaultSelectionAfterDetection() {
        Rig rig;
        rig.answers["ATDP"] = "ISO 15765-4 (CAN 11/500)\r\r>";
        rig.answers["0100"] = "7E8 06 41 00 80 1B 00 00\r\r>"; // 01, 0C, 0D, 0F, 10: seven channels
        rig.session.ecuaddr.clear();
        rig.pass(0);
        QCOMPARE(rig.session.liveRows[0].channel.entries.size(), 7);

        rig.pass(250);

        for (int row = 0; row < kLiveRows; ++row)
            QCOMPARE(rig.session.liveRows[size_t(row)].channel.index, row < 7 ? row : -1);
        QCOMPARE(rig.port.lines, QList<QByteArray>{"0100"}); // nothing enabled yet
    }
};

ZELCOR_TEST(LivePassTest)
#include "livepass_test.moc"
