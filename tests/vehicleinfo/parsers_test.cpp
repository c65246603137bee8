// The vehicle information and test result parsers on bad and good input: VINs padded,
// short, not ASCII or with a wrong check digit; service 09 replies segmented, numbered,
// out of order or cut short; test records with unknown scaling or cut short.

#include "testmain.h"
#include "vehicleinfo/inforeply.h"
#include "vehicleinfo/monitortests.h"
#include "vehicleinfo/performance.h"
#include "vehicleinfo/unitscaling.h"
#include "vehicleinfo/vin.h"

#include <QTest>

using namespace zelcor;

Q_DECLARE_METATYPE(zelcor::HeaderLayout)

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Items as "controller:count:hex data", joined by ";".
QString itemsText(const InfoRead& read) {
    QStringList out;
    for (const InfoItem& item : read.items)
        out << QStringLiteral("%1:%2:%3")
                   .arg(item.controller)
                   .arg(item.count)
                   .arg(QString::fromLatin1(item.data.toHex()));
    return out.join(QLatin1Char(';'));
}

const QString vinHex = QString::fromLatin1(QByteArray("1ZC4S1M0XN1000327").toHex());

} // namespace

class ParsersTest : public QObject {
    Q_OBJECT
private slots:
    void vin_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("checkDigit"); // -1 not applicable, 0 wrong, 1 right
        const auto row = [](const char* name, const QByteArray& raw, const char* summary, int checkDigit = -1,
                            const char* problem = "") {
            QTest::newRow(name) << raw << summary << problem << checkDigit;
        };
        const QString invalid =
            QStringLiteral("1ZC4S1M0?N1000327 (not a valid VIN: byte %1 is not a printable character)");
        row("North American", "1ZC4S1M04N1000327", "1ZC4S1M04N1000327 (2022, North America)", 1);
        row("check digit wrong, still shown", "1ZC4S1M0XN1000327",
            "1ZC4S1M0XN1000327 (2022, North America, check digit wrong)", 0);
        row("check digit X", "1M8GDM9AXKP042788", "1M8GDM9AXKP042788 (1989, North America)", 1);
        row("digit in position 7: earlier cycle", "2ZC9K41A141005093", "2ZC9K41A141005093 (2004, North America)", 1);
        row("European, no check digit", "WZC4S1M01N1000515", "WZC4S1M01N1000515 (2022, Europe)");
        row("Asian", "JZC12345X7A000001", "JZC12345X7A000001 (2007, Asia)");
        row("legacy padding ahead", hex("000000") + "WZC4S1M01N1000515", "WZC4S1M01N1000515 (2022, Europe)");
        row("FF padding behind", "WZC4S1M01N1000515" + hex("FFFF"), "WZC4S1M01N1000515 (2022, Europe)");
        row("short", "1ZC4S1M04N10003", "1ZC4S1M04N10003 (not a valid VIN: the VIN has 15 characters, 17 expected)", -1,
            "15 characters");
        QTest::newRow("not ASCII") << "1ZC4S1M0" + hex("8C") + "N1000327" << invalid.arg("8C") << "byte 8C" << -1;
        QTest::newRow("00 inside") << "1ZC4S1M0" + hex("00") + "N1000327" << invalid.arg("00") << "byte 00" << -1;
        row("letter O", "1ZC4S1MOXN1000327",
            "1ZC4S1MOXN1000327 (not a valid VIN: the VIN holds \"O\", which no VIN does)", -1, "\"O\"");
        row("only padding", hex("0000000000FFFF"), "the VIN is empty", -1, "empty");
    }
    void vin() {
        QFETCH(QByteArray, raw);
        QFETCH(QString, problem);
        QFETCH(int, checkDigit);
        const VinCheck vin = checkVin(raw);
        QTEST(vinSummary(vin), "summary");
        QCOMPARE(vin.valid(), problem.isEmpty());
        if (!problem.isEmpty()) QVERIFY2(vin.problem.contains(problem), qPrintable(vin.problem));
        QCOMPARE(vin.checkDigitApplies, checkDigit >= 0);
        if (checkDigit >= 0) QCOMPARE(vin.checkDigitOk, checkDigit == 1);
    }

    void infoReply_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<HeaderLayout>("layout");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("problem");
        const HeaderLayout can11 = HeaderLayout::Can11, can29 = HeaderLayout::Can29, legacy = HeaderLayout::Legacy;
        const auto row = [](const char* name, const QStringList& lines, HeaderLayout layout, int item,
                            const QString& items, const char* problem = "") {
            QTest::newRow(name) << lines.join('\r') + '\r' << layout << item << items << problem;
        };
        const QString vin1 = "7E81014490201315A43", vin2 = "7E8213453314D30584E", vin3 = "7E82231303030333237";
        const QString legacy1 = "486B104902010000003100", legacy3 = "486B1049020335584E3100";
        row("VIN in three frames", {vin1, vin2, vin3}, can11, 2, "232:1:" + vinHex);
        row("frames out of order", {vin1, vin3, vin2}, can11, 2, "",
            "the reply of controller 232 ended after 6 of 20 bytes");
        row("cut short", {vin1, vin2}, can11, 2, "", "the reply of controller 232 ended after 13 of 20 bytes");
        row("two controllers, interleaved, one cut short",
            {"7E8100B490401414243", "7E9100B490401515253", "7E82144454647484900"}, can11, 4, "232:1:4142434445464748",
            "the reply of controller 233 ended after 6 of 11 bytes");
        row("support bitmap has no count byte", {"18DAF11006490054400000"}, can29, 0, "16:1:54400000");
        row("another item's answer is no answer", {"7E806490340000000"}, can11, 2, "");
        row("nobody answers", {"NO DATA"}, can11, 2, "");
        row("adapter error", {"CAN ERROR"}, can11, 2, "", "CAN ERROR");
        row("damaged line", {"7E8 10 1X"}, can11, 2, "", "a damaged line");
        row("legacy numbered lines out of order", {"486B1049020231344D3000", legacy1, legacy3}, legacy, 2,
            "16:3:0000003131344d3035584e31");
        row("legacy message missing", {legacy1, legacy3}, legacy, 2, "", "message 2 of controller 16 is missing");
        row("legacy message cut short", {"486B1049020100000031"}, legacy, 2, "",
            "a message of controller 16 was cut short");
        row("legacy repeated message agrees", {legacy1, legacy1}, legacy, 2, "16:1:00000031");
    }
    void infoReply() {
        QFETCH(QString, reply);
        QFETCH(HeaderLayout, layout);
        QFETCH(int, item);
        QFETCH(QString, problem);
        const InfoRead read = readInfoItem(reply, layout, item);
        QTEST(itemsText(read), "items");
        if (problem.isEmpty())
            QVERIFY2(read.problem.isEmpty(), qPrintable(read.problem));
        else
            QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    }

    void testRecords_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("tests"); // "monitor test: value min max passed"
        QTest::addColumn<QString>("problem");
        const auto row = [](const char* name, const char* message, const QStringList& tests, const char* problem = "") {
            QTest::newRow(name) << hex(message) << tests << problem;
        };
        const QString catalyst = "21 84: 1.20 0.00 1.00 failed";
        row("catalyst over its limit", "21 84 03 0078 0000 0064", {catalyst});
        row("two records, volts and milliseconds", "01 81 0B 02BC 0226 0384 01 82 10 0046 0000 0096",
            {"01 81: 0.700 V 0.550 V 0.900 V passed", "01 82: 70 ms 0 ms 150 ms passed"});
        row("signed limits compared signed", "01 90 96 FF9C FF00 0064", {"01 90: -10.0 °C -25.6 °C 10.0 °C passed"});
        row("offset", "01 91 16 0258 0000 0320", {"01 91: 20.0 °C -40.0 °C 40.0 °C passed"});
        row("unknown scaling: raw values, said so", "01 81 5E 0010 0000 0020",
            {"01 81: 16 0 32 passed (unknown unit and scaling ID 5E: raw values shown)"});
        row("truncated record", "21 84 03 0078 0000", {},
            "a test record of controller 232 was cut short after 7 of 9 bytes");
        row("second record truncated", "21 84 03 0078 0000 0064 21 85", {catalyst}, "cut short after 2 of 9 bytes");
    }
    void testRecords() {
        QFETCH(QByteArray, message);
        QFETCH(QString, problem);
        const MonitorTestRead read = readMonitorTests(232, message);
        QStringList tests;
        for (const MonitorTestResult& t : read.tests) {
            QString line = QStringLiteral("%1 %2: %3 %4 %5 %6")
                               .arg(t.monitor, 2, 16, QLatin1Char('0'))
                               .arg(t.test, 2, 16, QLatin1Char('0'))
                               .arg(testValueText(t, t.value), testValueText(t, t.minimum), testValueText(t, t.maximum),
                                    t.passed ? "passed" : "failed");
            if (!t.note.isEmpty()) line += " (" + t.note + ")";
            tests << line;
        }
        QTEST(tests, "tests");
        QCOMPARE(read.problem.isEmpty(), problem.isEmpty());
        if (!problem.isEmpty()) QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    }

    void scaling_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("raw");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("units");
        QTest::newRow("millivolts") << 0x0A << 4096 << 499.712 << "mV";
        QTest::newRow("signed raw") << 0x81 << 0xFFFF << -1.0 << "";
        QTest::newRow("temperature offset") << 0x16 << 0 << -40.0 << "°C";
        QTest::newRow("percent around zero") << 0x39 << 0x8000 << 0.0 << "%";
        QTest::newRow("signed pascals") << 0xFE << 0x8000 << -8192.0 << "Pa";
        QTest::newRow("counts") << 0x24 << 65535 << 65535.0 << "counts";
        QTest::newRow("pressure per time") << 0x29 << 16 << 4.0 << "Pa/s";
    }
    void scaling() {
        QFETCH(int, id);
        QFETCH(int, raw);
        QFETCH(double, value);
        const auto row = unitScaling(id);
        QVERIFY(row);
        QVERIFY2(qAbs(scaledValue(*row, quint16(raw)) - value) < 1e-6,
                 qPrintable(QString::number(scaledValue(*row, quint16(raw)))));
        QTEST(QString::fromUtf8(row->units), "units");
    }

    void unknownScalings() {
        for (const int id : {0x00, 0x42, 0x80, 0xFF})
            QVERIFY2(!unitScaling(id), qPrintable(QString::number(id, 16)));
    }

    void monitorNames_data() {
        QTest::addColumn<int>("monitor");
        QTest::addColumn<QString>("name");
        QTest::newRow("first sensor") << 0x01 << "Oxygen Sensor Monitor Bank 1 Sensor 1";
        QTest::newRow("bank 2 sensor 2") << 0x06 << "Oxygen Sensor Monitor Bank 2 Sensor 2";
        QTest::newRow("catalyst bank 2") << 0x22 << "Catalyst Monitor Bank 2";
        QTest::newRow("EGR") << 0x31 << "EGR Monitor Bank 1";
        QTest::newRow("small leak") << 0x3C << "EVAP Monitor (0.020\")";
        QTest::newRow("heater") << 0x41 << "Oxygen Sensor Heater Monitor Bank 1 Sensor 1";
        QTest::newRow("misfire cylinder") << 0xA3 << "Misfire Cylinder 2 Data";
        QTest::newRow("no name") << 0x5F << "Monitor 5F";
    }
    void monitorNames() {
        QFETCH(int, monitor);
        QTEST(monitorTestName(monitor), "name");
    }

    // In-use counters: the two general ones, then pairs named by the item's list; a cut
    // counter or pair is left out and said.
    void performance_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("entries"); // joined by " | "
        QTest::addColumn<QString>("problem");
        const QString general = "OBD monitoring conditions encountered: 132 | Ignition cycles: 210";
        const QString pairCut = "the in-use counters end in the middle of a monitor's pair";
        QTest::newRow("spark ignition") << 0x08 << hex("00 84 00 D2 00 2D 00 34 00 00 00 00")
                                        << general + " | Catalyst Bank 1: 45 of 52 | Catalyst Bank 2: 0 of 0"
                                        << "";
        QTest::newRow("compression ignition, large counts")
            << 0x0B << hex("FF FF 01 00 00 07 00 09")
            << "OBD monitoring conditions encountered: 65535 | Ignition cycles: 256 | NMHC Catalyst: 7 of 9"
            << "";
        QTest::newRow("more pairs than named")
            << 0x0B << hex("00 01 00 02") + QByteArray(32, 0) + hex("00 03 00 04")
            << "OBD monitoring conditions encountered: 1 | Ignition cycles: 2 | NMHC Catalyst: 0 of 0 | NOx Catalyst: "
               "0 of 0 | NOx Adsorber: 0 of 0 | Particulate Filter: 0 of 0 | Exhaust Gas Sensor: 0 of 0 | EGR and/or "
               "VVT: 0 of 0 | Boost Pressure: 0 of 0 | Fuel System: 0 of 0 | Monitor 9: 3 of 4"
            << "";
        QTest::newRow("pair cut short") << 0x08 << hex("00 84 00 D2 00 2D") << general << pairCut;
        QTest::newRow("counter cut short") << 0x08 << hex("00 84 00") << "OBD monitoring conditions encountered: 132"
                                           << "the in-use counters end in the middle of a counter";
        QTest::newRow("nothing") << 0x08 << QByteArray() << "" << pairCut;
    }
    void performance() {
        QFETCH(int, item);
        QFETCH(QByteArray, data);
        const PerformanceRead read = readPerformance(item, data);
        QStringList entries;
        for (const PerformanceEntry& entry : read.entries)
            entries << performanceText(entry);
        QTEST(entries.join(" | "), "entries");
        QTEST(read.problem, "problem");
    }

    void supportBitmap() {
        QCOMPARE(supportedMonitors(0x20, hex("C0 00 00 01")), (QList<int>{0x21, 0x22, 0x40}));
        QCOMPARE(supportedMonitors(0, hex("00")), QList<int>{});
    }
};

ZELCOR_TEST(ParsersTest)
#include "parsers_test.moc"
