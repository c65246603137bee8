// The car's data as seen through the adapter: support bitmaps against what really
// answers, codes against the status PID, the freeze frame, clearing, J1979 scaling.

#include "simharness.h"
#include "testmain.h"

#include <QMap>
#include <QSet>
#include <QTest>

using namespace zelcor;

namespace {

// One message as printed with headers on and blanks: who sent it and the data bytes.
struct Line {
    QByteArray sender;
    QByteArray data; // service response first
};

// Reads the printed lines back into messages. CAN frames carry a PCI byte after the
// identifier (one token for 11 bits, four for 29 bits); segmented messages are joined per
// sender. Legacy lines carry three header bytes and a check byte.
QList<Line> parse(const QByteArray& answer, int idTokens, bool legacy) {
    QList<Line> lines;
    QMap<QByteArray, qsizetype> open; // sender -> index of its segmented message
    QMap<QByteArray, int> lengths;
    for (const QByteArray& text : answer.split('\r')) {
        const QList<QByteArray> tokens = text.trimmed().split(' ');
        if (tokens.size() <= idTokens + 1 || text.contains('.')) continue;
        const QByteArray sender = tokens.mid(0, idTokens).join();
        QByteArray bytes = QByteArray::fromHex(tokens.mid(idTokens).join());
        if (legacy) {
            lines.append({sender, bytes.left(bytes.size() - 1)});
            continue;
        }
        const int pci = quint8(bytes[0]);
        if (pci >> 4 == 0) {
            lines.append({sender, bytes.mid(1, pci & 0x0F)});
        } else if (pci >> 4 == 1) {
            lengths[sender] = ((pci & 0x0F) << 8) | quint8(bytes[1]);
            open[sender] = lines.size();
            lines.append({sender, bytes.mid(2)});
        } else if (pci >> 4 == 2 && open.contains(sender)) {
            Line& line = lines[open[sender]];
            line.data = (line.data + bytes.mid(1)).left(lengths[sender]);
        }
    }
    return lines;
}

struct Car {
    explicit Car(const QString& profile, int protocol = 0, bool headers = true) : harness(options(profile, protocol)) {
        legacy = !profile.startsWith(QLatin1String("can")) && profile != QLatin1String("manycodes") &&
                 profile != QLatin1String("nofreeze") && profile != QLatin1String("clean");
        extended = profile == QLatin1String("can29");
        harness.setup(headers ? "ATE0 ATL0 ATH1" : "ATE0 ATL0");
        harness.ask("0100");
    }
    static sim::Options options(const QString& profile, int protocol) {
        sim::Options o;
        o.profile = profile;
        o.protocol = protocol;
        return o;
    }
    QList<Line> ask(const QByteArray& request) {
        return parse(harness.ask(request), legacy ? 3 : extended ? 4 : 1, legacy);
    }
    // The data of the line from `sender` (empty when it did not answer).
    QByteArray from(const QByteArray& sender, const QByteArray& request) {
        for (const Line& line : ask(request))
            if (line.sender == sender) return line.data;
        return {};
    }
    test::SimHarness harness;
    bool legacy = false;
    bool extended = false;
};

QByteArray hex2(int value) {
    return QByteArray::number(value, 16).toUpper().rightJustified(2, '0');
}

// Trouble codes in a service 03/07 reply of one controller (filler 0000 skipped).
QList<int> codesIn(const QByteArray& data, bool legacy) {
    QList<int> codes;
    for (qsizetype i = legacy ? 1 : 2; i + 1 < data.size(); i += 2) {
        const int code = (quint8(data[i]) << 8) | quint8(data[i + 1]);
        if (code != 0) codes.append(code);
    }
    return codes;
}

} // namespace

class VehicleTest : public QObject {
    Q_OBJECT
private slots:
    void profiles_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("protocol");
        QTest::newRow("can11") << "can11" << 0;
        QTest::newRow("can29") << "can29" << 0;
        QTest::newRow("legacy") << "legacy" << 0;
        QTest::newRow("legacy on VPW") << "legacy" << 2;
        QTest::newRow("manycodes") << "manycodes" << 0;
        QTest::newRow("nofreeze") << "nofreeze" << 0;
        QTest::newRow("clean") << "clean" << 0;
    }

    void bitmapsAgreeWithAnswers_data() { profiles_data(); }
    void bitmapsAgreeWithAnswers() {
        QFETCH(QString, profile);
        QFETCH(int, protocol);
        Car car(profile, protocol);
        QMap<QByteArray, QSet<int>> advertised;
        for (int base = 0; base < 0x100; base += 0x20) {
            bool more = false;
            for (const Line& line : car.ask("01" + hex2(base))) {
                QCOMPARE(line.data.size(), 6);
                for (int bit = 0; bit < 32; ++bit)
                    if (quint8(line.data[2 + bit / 8]) & (0x80 >> (bit % 8)))
                        advertised[line.sender].insert(base + bit + 1);
                more = more || advertised[line.sender].contains(base + 0x20);
            }
            if (!more) break;
        }
        QVERIFY(advertised.size() >= 2);
        QMap<QByteArray, QSet<int>> answered;
        for (int pid = 1; pid < 0xE0; ++pid) {
            for (const Line& line : car.ask("01" + hex2(pid))) {
                QCOMPARE(quint8(line.data[0]), quint8(0x41));
                QCOMPARE(quint8(line.data[1]), quint8(pid));
                answered[line.sender].insert(pid);
            }
        }
        QCOMPARE(answered, advertised);
    }

    void statusAgreesWithCodes_data() { profiles_data(); }
    void statusAgreesWithCodes() {
        QFETCH(QString, profile);
        QFETCH(int, protocol);
        Car car(profile, protocol);
        const QList<Line> status = car.ask("0101");
        QVERIFY(!status.isEmpty());
        for (const Line& line : status) {
            QList<int> stored;
            for (const Line& codes : car.ask("03"))
                if (codes.sender == line.sender) stored += codesIn(codes.data, car.legacy);
            const int a = quint8(line.data[2]);
            QCOMPARE(a & 0x7F, int(stored.size()));
            QCOMPARE(bool(a & 0x80), !stored.isEmpty());
            // Incomplete monitors (D) are among the supported ones (C).
            QCOMPARE(quint8(line.data[5]) & ~quint8(line.data[4]), 0);
        }
    }

    void countByteOnCan() {
        Car car(QStringLiteral("manycodes"));
        const QByteArray raw = car.harness.ask("03");
        // 15 codes: a first frame announcing 2 + 30 bytes, the count 0F after 43.
        QVERIFY(raw.startsWith("7E8 10 20 43 0F "));
    }

    void freezeFrameAgrees_data() {
        QTest::addColumn<QString>("profile");
        QTest::newRow("can11") << "can11";
        QTest::newRow("legacy") << "legacy";
        QTest::newRow("manycodes") << "manycodes";
    }
    void freezeFrameAgrees() {
        QFETCH(QString, profile);
        Car car(profile);
        const QByteArray engine = car.ask("0100").first().sender;
        const QByteArray bitmap = car.from(engine, "020000");
        QCOMPARE(bitmap.left(3), QByteArray::fromHex("420000"));
        const QList<int> stored = codesIn(car.from(engine, "03"), car.legacy);
        const QByteArray cause = car.from(engine, "020200");
        QCOMPARE(cause.left(3), QByteArray::fromHex("420200"));
        QVERIFY(stored.contains((quint8(cause[3]) << 8) | quint8(cause[4])));
        for (int pid = 1; pid <= 0x20; ++pid) {
            const bool listed = quint8(bitmap[3 + (pid - 1) / 8]) & (0x80 >> ((pid - 1) % 8));
            const QByteArray data = car.from(engine, "02" + hex2(pid) + "00");
            QCOMPARE(!data.isEmpty(), listed);
            if (listed) QCOMPARE(data.left(3), QByteArray::fromHex("42") + char(pid) + '\0');
        }
        // Frame 0 holds the moment the code was set: a warm engine at cruise.
        const QByteArray speed = car.from(engine, "020D00");
        QVERIFY2(quint8(speed[3]) >= 95 && quint8(speed[3]) <= 105, speed.toHex().constData());
        const QByteArray coolant = car.from(engine, "020500");
        QVERIFY(quint8(coolant[3]) - 40 >= 80);
        QVERIFY(car.from(engine, "020D01").isEmpty()); // no frame 1
    }

    void clearing_data() { freezeFrameAgrees_data(); }
    void clearing() {
        QFETCH(QString, profile);
        Car car(profile);
        const QList<Line> acknowledged = car.ask("04");
        QVERIFY(acknowledged.size() >= 2);
        for (const Line& line : acknowledged)
            QCOMPARE(line.data, QByteArray::fromHex("44"));
        car.harness.setup("ATZ ATE0 ATL0 ATH1"); // the car keeps its state, not the adapter's
        car.harness.ask("0100");
        for (const char* service : {"03", "07"})
            for (const Line& line : car.ask(service))
                QVERIFY2(codesIn(line.data, car.legacy).isEmpty(), line.data.toHex().constData());
        const QByteArray engine = car.ask("0100").first().sender;
        const QByteArray status = car.from(engine, "0101");
        QCOMPARE(quint8(status[2]), quint8(0)); // MIL off, no codes
        QCOMPARE(status[5], status[4]);         // every monitor incomplete again
        QCOMPARE(car.from(engine, "020200"), QByteArray::fromHex("4202000000"));
        QCOMPARE(car.from(engine, "021100"), QByteArray());
        QCOMPARE(car.from(engine, "0121"), QByteArray::fromHex("41210000")); // distance with MIL on

        // Driving on completes the oxygen sensor monitors first, the catalyst later.
        car.harness.wait(120);
        const QByteArray later = car.from(engine, "0101");
        QCOMPARE(quint8(later[5]) & 0x60, 0);
        QCOMPARE(quint8(later[5]) & 0x01, 0x01);
    }

    void scaling_data() {
        QTest::addColumn<double>("time"); // seconds after the first request
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<double>("scale"); // physical = raw * scale + offset (SAE J1979)
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("idle RPM cold") << 5.0 << QByteArray("010C") << 0.25 << 0.0 << 900.0 << 1200.0;
        QTest::newRow("idle speed") << 5.0 << QByteArray("010D") << 1.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("cold coolant") << 5.0 << QByteArray("0105") << 1.0 << -40.0 << 20.0 << 30.0;
        QTest::newRow("cruise speed") << 840.0 << QByteArray("010D") << 1.0 << 0.0 << 97.0 << 103.0;
        QTest::newRow("cruise RPM") << 840.0 << QByteArray("010C") << 0.25 << 0.0 << 2200.0 << 2400.0;
        QTest::newRow("cruise air flow") << 840.0 << QByteArray("0110") << 0.01 << 0.0 << 12.0 << 30.0;
        QTest::newRow("warm coolant") << 840.0 << QByteArray("0105") << 1.0 << -40.0 << 85.0 << 92.0;
        QTest::newRow("run time") << 840.0 << QByteArray("011F") << 1.0 << 0.0 << 839.0 << 841.0;
        QTest::newRow("acceleration load") << 821.0 << QByteArray("0104") << 100 / 255.0 << 0.0 << 60.0 << 100.0;
        QTest::newRow("acceleration throttle") << 821.0 << QByteArray("0111") << 100 / 255.0 << 0.0 << 30.0 << 80.0;
        QTest::newRow("long-term trim lean") << 840.0 << QByteArray("0107") << 100 / 128.0 << -100.0 << 13.0 << 15.0;
        QTest::newRow("timing at cruise") << 840.0 << QByteArray("010E") << 0.5 << -64.0 << 25.0 << 40.0;
        QTest::newRow("barometer") << 840.0 << QByteArray("0133") << 1.0 << 0.0 << 100.0 << 102.0;
        QTest::newRow("module voltage") << 840.0 << QByteArray("0142") << 0.001 << 0.0 << 13.5 << 14.6;
    }
    void scaling() {
        QFETCH(double, time);
        QFETCH(QByteArray, request);
        QFETCH(double, scale);
        QFETCH(double, offset);
        QFETCH(double, low);
        QFETCH(double, high);
        Car car(QStringLiteral("can11"), 0, false);
        car.harness.now = car.harness.sim.keyOnTime() + time;
        const QByteArray data = QByteArray::fromHex(car.harness.ask(request).split('\r').first());
        QCOMPARE(data.left(2), QByteArray::fromHex(request).replace(0, 1, "\x41"));
        // One data byte, or two for the 16-bit values.
        const double raw = data.size() > 3 ? quint8(data[2]) * 256 + quint8(data[3]) : quint8(data[2]);
        const double value = raw * scale + offset;
        QVERIFY2(value >= low && value <= high, qPrintable(QString::number(value)));
    }

    void severalPidsInOneRequest() {
        Car can(QStringLiteral("can11"));
        const QList<Line> lines = can.ask("010C0D05");
        QCOMPARE(lines.size(), 2);
        for (const Line& line : lines) {
            QCOMPARE(line.data.size(), 1 + 3 + 2 + 2);
            QCOMPARE(line.data.left(2), QByteArray::fromHex("410C"));
            QCOMPARE(line.data.mid(4, 1), QByteArray::fromHex("0D"));
        }
        Car old(QStringLiteral("legacy"));
        QCOMPARE(old.harness.ask("010C0D"), QByteArray("NO DATA\r\r>"));
    }

    void vehicleIdentification() {
        Car can(QStringLiteral("can11"));
        const QByteArray raw = can.harness.ask("0902");
        QByteArray message;
        for (const QByteArray& line : raw.split('\r')) {
            const QList<QByteArray> tokens = line.split(' ');
            if (tokens.size() == 9 && tokens[1] == "10")
                message += QByteArray::fromHex(tokens.mid(3).join());
            else if (tokens.size() == 9 && tokens[1].startsWith('2'))
                message += QByteArray::fromHex(tokens.mid(2).join());
        }
        QCOMPARE(message.left(20), QByteArray("\x49\x02\x01") + "1ZC4S1M0XN1000327");
        Car old(QStringLiteral("legacy"), 0, false);
        QCOMPARE(old.harness.ask("0902").split('\r').first(), QByteArray("49 02 01 00 00 00 31"));
    }

    void silentWhereUnsupported_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("bank 2 trim") << "can11" << QByteArray("0108");
        QTest::newRow("unknown service") << "can11" << QByteArray("0A");
        QTest::newRow("service 03 with data") << "can11" << QByteArray("0300");
        QTest::newRow("freeze frame 1") << "can11" << QByteArray("020C01");
        QTest::newRow("nothing frozen") << "nofreeze" << QByteArray("020C00");
        QTest::newRow("legacy third bitmap") << "legacy" << QByteArray("0140");
    }
    void silentWhereUnsupported() {
        QFETCH(QString, profile);
        QFETCH(QByteArray, request);
        Car car(profile, 0, false);
        QCOMPARE(car.harness.ask(request), QByteArray("NO DATA\r\r>"));
    }
};

ZELCOR_TEST(VehicleTest)
#include "vehicle_test.moc"
