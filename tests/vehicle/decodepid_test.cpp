#include "base/numbers.h"
#include "testmain.h"
#include "vehicle/decodepid.h"
#include "vehicle/pidnames.h"

#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

Settings unitSettings(bool imperial) {
    Settings s;
    s.usemph = s.uselbmin = s.usedegf = s.usepsi = imperial;
    return s;
}

// Outputs as the caller left them; fields a row does not set must keep these.
PidOutputs prefilled() {
    PidOutputs out;
    out.needle = 55;
    out.value = 12345;
    out.decimals = 77;
    out.units = out.range = QStringLiteral("keep");
    return out;
}

// "decimals|units|range" of the outputs.
QString meta(const PidOutputs& out) {
    return QStringLiteral("%1|%2|%3").arg(out.decimals.value_or(-99)).arg(out.units, out.range);
}

const QString kKept = QStringLiteral("77|keep|keep");

} // namespace

class DecodePidTest : public QObject {
    Q_OBJECT
private slots:
    void decode_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // 12345: kept
        QTest::addColumn<double>("needle");
        QTest::addColumn<QString>("meta");
        QTest::newRow("05 C") << 5 << "7B" << false << "83.0 deg C" << 83.0 << 48.235294 << "1|deg C|-40.0~215.0";
        QTest::newRow("05 F") << 5 << "7B" << true << "181.4 deg F" << 181.4 << 63.236471 << "1|deg F|-40.0~419.0";
        QTest::newRow("0F C whole") << 15 << "7B" << false << "83 deg C" << 83.0 << 48.235294 << "1|deg C|-40.0~215.0";
        QTest::newRow("0C") << 12 << "1AF8" << true << "1726 RPM" << 1726.0 << 17.26 << "0|RPM|0~16384";
        QTest::newRow("0C unsigned") << 12 << "FFFF" << true << "16384 RPM" << 16384.0 << 163.8375 << "0|RPM|0~16384";
        QTest::newRow("0C short reply") << 12 << "1A" << true << "1664 RPM" << 1664.0 << 16.64 << "0|RPM|0~16384";
        QTest::newRow("0D MPH") << 13 << "64" << true << "100 km/h    62.1 MPH" << 62.0 << 39.215686 << "0|MPH|0~158";
        QTest::newRow("0D km/h") << 13 << "64" << false << "100 km/h    62.1 MPH" << 100.0 << 39.215686
                                 << "0|km/h|0~255";
        QTest::newRow("0A kPa") << 10 << "10" << false << "48 kPaG" << 48.0 << 6.2745098 << "0|kPaG|0~765";
        QTest::newRow("0B psi") << 11 << "64" << true << "29.53 inHg" << 29.533373 << 39.215686 << "1|inHg|0.0~75.3";
        QTest::newRow("10 lb/min") << 16 << "0190" << true << "0.53 lb/min" << 0.529108 << 0.6103516
                                   << "2|lb/min|0.00~86.69";
        QTest::newRow("14 no trim") << 0x14 << "5AFF" << true << "0.450 V" << 0.45 << 35.294118 << "3|V|0.0~327.675";
        QTest::newRow("1B trim") << 0x1B << "5A80" << true << "0.450 V,   Fuel Trim: 0.0%" << 0.45 << 35.294118
                                 << "3|V|0.0~327.675";
        QTest::newRow("1F") << 0x1F << "0102" << true << "258 sec" << 258.0 << -1.0 << kKept;
        QTest::newRow("23 kPa, needle of 16 bits")
            << 0x23 << "8000" << false << "327680 kPa (gauge)" << 327680.0 << 50.0 << "0|kPaG|0~655350";
        QTest::newRow("24 lambda") << 0x24 << "8000" << true << "0.999" << 0.999424 << 50.196078 << "3|-|0.0~2.0";
        QTest::newRow("2D stays on the dial")
            << 0x2D << "00" << true << "-100.00%" << -100.0 << 0.0 << "1|%|-100.0~100.0";
        QTest::newRow("32 signed Pa") << 0x32 << "FFFC" << false << "-1.00 Pa" << -1.0 << -1.0 << kKept;
        QTest::newRow("32 inH2O") << 0x32 << "0F90" << true << "4.00 inH2O" << 3.998566 << -1.0 << kKept;
        QTest::newRow("3C catalyst") << 0x3C << "1234" << true << "" << 0.0 << -1.0 << kKept;
        QTest::newRow("03 both off") << 3 << "0000" << true << "n/a" << 12345.0 << -1.0 << "-1|keep|keep";
        QTest::newRow("03 system 2 only")
            << 3 << "0001" << true << "; S2: Open Loop- Warmup" << 12345.0 << -1.0 << "-1|keep|keep";
        QTest::newRow("03 highest bit wins")
            << 3 << "03E0" << true << "S1: Closed Loop; S2: n/a" << 12345.0 << -1.0 << "-1|keep|keep";
        QTest::newRow("02 P") << 2 << "0133" << true << "P0133   " << 12345.0 << -1.0 << kKept;
        QTest::newRow("02 U") << 2 << "D001" << true << "U1001   " << 12345.0 << -1.0 << kKept;
        QTest::newRow("02 none stored") << 2 << "0000" << true << "" << 12345.0 << -1.0 << kKept;
        QTest::newRow("01 not decoded") << 1 << "81076504" << true << "" << 12345.0 << -1.0 << kKept;
    }
    void decode() {
        QFETCH(int, pid);
        QFETCH(QString, data);
        QFETCH(bool, imperial);
        QFETCH(double, value);
        QFETCH(double, needle);
        PidOutputs out = prefilled();
        const QString line = QStringLiteral("486B1041") + hex2(pid) + data;
        QTEST(decodepid(pid, line, QStringLiteral("10"), unitSettings(imperial), out), "text");
        QVERIFY2(std::fabs(out.needle - needle) < 1e-5, qPrintable(QString::number(out.needle, 'f', 7)));
        QVERIFY2(std::fabs(out.value.value() - value) < 1e-5, qPrintable(QString::number(*out.value, 'f', 7)));
        QTEST(meta(out), "meta");
    }

    void rejectsOtherReplies_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("ecuaddr");
        QTest::newRow("other controller") << 0x0C << "486B18410C1AF8"
                                          << "10";
        QTest::newRow("other PID") << 0x0C << "486B10410D1AF8"
                                   << "10";
        QTest::newRow("negative response") << 0x0C << "486B107F010C12"
                                           << "10";
        QTest::newRow("catalyst of another controller") << 0x3C << "486B18413C1234"
                                                        << "10";
        QTest::newRow("no controller selected") << 0x0C << "486B10410C1AF8"
                                                << "";
        QTest::newRow("empty") << 0x05 << ""
                               << "10";
        QTest::newRow("derived channel") << 999 << "486B1041E71AF8"
                                         << "10";
    }
    void rejectsOtherReplies() {
        QFETCH(int, pid);
        QFETCH(QString, line);
        QFETCH(QString, ecuaddr);
        PidOutputs out = prefilled();
        QCOMPARE(decodepid(pid, line, ecuaddr, Settings{}, out), QString());
        QCOMPARE(out.needle, -1.0);
        QCOMPARE(out.value.value(), 12345.0);
        QCOMPARE(meta(out), kKept);
    }

    void pidNames_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 empty") << 0 << "";
        QTest::newRow("1D empty") << 29 << "";
        QTest::newRow("1E") << 30 << "Aux Input Status";
        QTest::newRow("2B historic spelling") << 43 << "O2S8 Lamdba";
        QTest::newRow("3B") << 59 << "O2S8 Lambda";
        QTest::newRow("40") << 64 << "PIDs supported (41h-60h)";
        QTest::newRow("beyond the table") << 65 << "";
    }
    void pidNames() {
        QFETCH(int, pid);
        QTEST(pidname(pid), "name");
    }
};

ZELCOR_TEST(DecodePidTest)
#include "decodepid_test.moc"
