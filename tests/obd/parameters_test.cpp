// The parameter table: decoding in both unit systems, channel and gauge scales, and the
// lookups of codes the table does not hold.

#include "obd/parameters.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

Settings units(bool imperial) {
    Settings s;
    s.milesPerHour = s.poundsPerMinute = s.fahrenheit = s.psi = imperial;
    return s;
}

// "name|units|minimum|maximum|tick|step|decimals", empty for none.
template <typename Info> QString describe(const std::optional<Info>& i) {
    const auto n = [](double x) { return QString::number(x); };
    return i ? QStringList{i->name, i->units, n(i->minimum), n(i->maximum), n(i->tick), n(i->step), n(i->decimals)}
                   .join('|')
             : QString();
}

// A decode row: `shown` is "value|needle|decimals|units|range", "-" for none.
void decodeRow(const char* name, int code, const char* hex, bool imperial, const char* text, const char* shown) {
    QTest::newRow(name) << code << QByteArray::fromHex(hex) << imperial << QString::fromLatin1(text)
                        << QString::fromLatin1(shown);
}

} // namespace

class ParametersTest : public QObject {
    Q_OBJECT
private slots:
    // A row or two per way of reading the bytes, in both unit systems where the parameter
    // has two.
    void decode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        decodeRow("02 code", 0x02, "D001", true, "U1001   ", "-|-1|-||");
        decodeRow("03 both off", 0x03, "0000", true, "n/a", "-|-1|-1||");
        decodeRow("03 highest bit wins", 0x03, "03E0", true, "S1: Closed Loop; S2: n/a", "-|-1|-1||");
        decodeRow("04", 0x04, "33", true, "20.0%", "20|20|1|%|0.0~100.0");
        decodeRow("05 C", 0x05, "7B", false, "83.0 deg C", "83|48.2353|1|deg C|-40.0~215.0");
        decodeRow("05 F", 0x05, "7B", true, "181.4 deg F", "181.4|63.2365|1|deg F|-40.0~419.0");
        decodeRow("0F C whole", 0x0F, "7B", false, "83 deg C", "83|48.2353|1|deg C|-40.0~215.0");
        decodeRow("0F F", 0x0F, "7B", true, "181.4 deg F", "181.4|92.25|1|deg F|-40.0~419.0");
        decodeRow("06", 0x06, "00", true, "-100.0%", "-100|0|1|%|0.0~100.0");
        decodeRow("0A kPa", 0x0A, "10", false, "48 kPaG", "48|6.27451|0|kPaG|0~765");
        decodeRow("0A psi", 0x0A, "10", true, "6.96 psiG", "6.96192|6.27451|1|psiG|0.0~111.0");
        decodeRow("0B kPa", 0x0B, "64", false, "100 kPaA", "100|39.2157|0|kPaA|0~255");
        decodeRow("0B inHg", 0x0B, "64", true, "29.53 inHg", "29.5334|39.2157|1|inHg|0.0~75.3");
        decodeRow("0C unsigned", 0x0C, "FFFF", true, "16384 RPM", "16384|163.838|0|RPM|0~16384");
        decodeRow("0C half to even", 0x0C, "0006", true, "2 RPM", "2|0.015|0|RPM|0~16384");
        decodeRow("0D km/h", 0x0D, "64", false, "100 km/h    62.1 MPH", "100|39.2157|0|km/h|0~255");
        decodeRow("0D MPH", 0x0D, "64", true, "100 km/h    62.1 MPH", "62|39.2157|0|MPH|0~158");
        decodeRow("0E", 0x0E, "FF", true, "63.5 deg", "63.5|100|1|deg|-64.0~63.5");
        decodeRow("10 g/s", 0x10, "0190", false, "4.00 gm/sec", "4|0.610352|2|gm/sec|0.00~655.35");
        decodeRow("10 lb/min", 0x10, "0190", true, "0.53 lb/min", "0.529108|0.610352|2|lb/min|0.00~86.69");
        decodeRow("12 lowest bit wins", 0x12, "06", true, "Downstream of first cat", "-|-1|-||");
        decodeRow("14 no trim", 0x14, "5AFF", true, "0.450 V", "0.45|35.2941|3|V|0.0~327.675");
        decodeRow("1B trim", 0x1B, "5A80", true, "0.450 V,   Fuel Trim: 0.0%", "0.45|35.2941|3|V|0.0~327.675");
        decodeRow("1F", 0x1F, "0102", true, "258 sec", "258|-1|-||");
        decodeRow("21", 0x21, "0102", true, "258.0 km", "258|-1|-||");
        decodeRow("22", 0x22, "0064", true, "7.90 kPa", "7.9|-1|-||");
        decodeRow("23 kPa, 16-bit needle", 0x23, "8000", false, "327680 kPa (gauge)", "327680|50|0|kPaG|0~655350");
        decodeRow("23 psi", 0x23, "8000", true, "47526.7 psiG", "47526.7|50|1|psiG|0.0~95051.9");
        decodeRow("24", 0x24, "8000", true, "0.999", "0.999424|50.1961|3|-|0.0~2.0");
        decodeRow("2D stays on the dial", 0x2D, "00", true, "-100.00%", "-100|0|1|%|-100.0~100.0");
        decodeRow("2D centre", 0x2D, "80", true, "0.00%", "0|50.0061|1|%|-100.0~100.0");
        decodeRow("30", 0x30, "05", true, "5", "5|-1|-||");
        decodeRow("32 signed Pa", 0x32, "FFFC", false, "-1.00 Pa", "-1|-1|-||");
        decodeRow("32 inH2O", 0x32, "0F90", true, "4.00 inH2O", "3.99857|-1|-||");
        decodeRow("3C not shown", 0x3C, "1234", true, "", "0|-1|-||");
        decodeRow("01 not decoded", 0x01, "81076504", true, "", "-|-1|-||");
        decodeRow("beyond the table", 0x41, "1AF8", true, "", "-|-1|-||");
    }
    void decode() {
        QFETCH(int, code);
        QFETCH(QByteArray, data);
        QFETCH(bool, imperial);
        const Decoded d = decodeParameter(code, data, units(imperial));
        const auto number = [](std::optional<double> x) {
            return x ? QString::number(*x, 'g', 6) : QStringLiteral("-");
        };
        QTEST(d.text, "text");
        QTEST(QStringList({number(d.value), number(d.needle), d.decimals ? QString::number(*d.decimals) : "-", d.units,
                           d.range})
                  .join('|'),
              "shown");
    }

    // Each parameter follows its own unit setting and no other.
    void unitSettings() {
        const UnitChoice choices[] = {UnitChoice::Temperature, UnitChoice::Pressure, UnitChoice::Speed,
                                      UnitChoice::AirFlow, UnitChoice::None};
        bool Settings::*const flags[] = {&Settings::fahrenheit, &Settings::psi, &Settings::milesPerHour,
                                         &Settings::poundsPerMinute};
        for (int c = 0; c < 5; ++c) {
            for (int f = 0; f < 4; ++f) {
                Settings s = units(false);
                s.*flags[f] = true;
                QCOMPARE(imperialUnits(choices[c], s), c == f);
            }
        }
    }

    // Channel information (graph axes, log headers) and gauge scale, in both unit systems.
    void scales_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("gauge");
        const auto row = [](const char* name, int code, bool imperial, const char* channel, const char* gauge) {
            QTest::newRow(name) << code << imperial << QString::fromLatin1(channel) << QString::fromLatin1(gauge);
        };
        row("coolant C", 0x05, false, "Engine Coolant Temp|deg C|-40|215|5|20|1",
            "Engine Coolant Temp|deg C|-40|215|5|20|0");
        row("coolant F", 0x05, true, "Engine Coolant Temp|deg F|-40|310|5|20|1",
            "Engine Coolant Temp|deg F|-40|310|5|20|0");
        row("MAF g/s", 0x10, false, "MAF Air Flow|gm/sec|0|327.675|10|50|2", "MAF Air Flow|gm/sec|0|327.675|10|50|0");
        row("MAF lb/min", 0x10, true, "MAF Air Flow|lb/min|0|43.35|2|10|2", "MAF Air Flow|lb/min|0|43.35|2|10|0");
        row("O2 voltage: two-line names", 0x15, true, "O2S Voltage\r\nBank 1 Sensor 2|V|0|1.275|0.05|0.1|1",
            "O2S Voltage\nBank 1 Sensor 2|V|0|1.275|0.05|0.1|1");
        row("fuel status is text", 0x03, true, "Fuel System Status||0|16|1|1|-1", "");
    }
    void scales() {
        QFETCH(int, code);
        QFETCH(bool, imperial);
        QTEST(describe(channelInfo(code, units(imperial))), "channel");
        QTEST(describe(gaugeScale(code, units(imperial))), "gauge");
    }

    // Every row is found by its code; codes without a row have nothing.
    void lookups() {
        for (const Parameter* p = parametersBegin(); p != parametersEnd(); ++p)
            QCOMPARE(findParameter(p->code), p);
        for (int code : {-1, 0x00, 0x41, 996, 1000})
            QCOMPARE(parameterName(code) + panelTitle(code) + describe(channelInfo(code, {})), QString());
        for (int code : {0x02, 0x12, 0x13, 0x40})
            QVERIFY(!channelInfo(code, {}) && !gaugeScale(code, {}));
        QCOMPARE(panelTitle(0x0C), QString()); // engine speed has its own panel
    }
};

ZELCOR_TEST(ParametersTest)
#include "parameters_test.moc"
