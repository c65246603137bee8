#include "base/numbers.h"
#include "testmain.h"
#include "vehicle/decodepid.h"

#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

const QString kEcu = QStringLiteral("10");

// A normalised reply of controller 10 for `pid` carrying `data`.
QString reply(int pid, const QString& data) {
    return QStringLiteral("486B1041") + hex2(pid) + data;
}

Settings unitSettings(bool imperial) {
    Settings s;
    s.usemph = s.uselbmin = s.usedegf = s.usepsi = imperial;
    return s;
}

// What the caller left in the outputs before the call; untouched fields must keep it.
PidOutputs prefilled() {
    PidOutputs out;
    out.needle = 55;
    out.value = 12345;
    out.decimals = 77;
    out.units = QStringLiteral("keep");
    out.range = QStringLiteral("keep");
    return out;
}

} // namespace

class DecodePidTest : public QObject {
    Q_OBJECT
private slots:
    // Expected value/decimals: an invalid QVariant means "kept what the caller passed";
    // expected units/range: a null QString means the same.
    void decode_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<double>("needle");
        QTest::addColumn<QVariant>("decimals");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("range");
        const QVariant kept;
        const QString same;

        QTest::newRow("05 C") << 0x05 << "7B" << false << "83.0 deg C" << QVariant(83.0) << 48.235294 << QVariant(1)
                              << "deg C"
                              << "-40.0~215.0";
        QTest::newRow("05 F") << 0x05 << "7B" << true << "181.4 deg F" << QVariant(181.4) << 63.236471 << QVariant(1)
                              << "deg F"
                              << "-40.0~419.0";
        QTest::newRow("0F C no decimals")
            << 0x0F << "7B" << false << "83 deg C" << QVariant(83.0) << 48.235294 << QVariant(1) << "deg C"
            << "-40.0~215.0";
        QTest::newRow("0F F dial -40..200")
            << 0x0F << "7B" << true << "181.4 deg F" << QVariant(181.4) << 92.25 << QVariant(1) << "deg F"
            << "-40.0~419.0";
        QTest::newRow("0C") << 0x0C << "1AF8" << true << "1726 RPM" << QVariant(1726.0) << 17.26 << QVariant(0) << "RPM"
                            << "0~16384";
        QTest::newRow("0C unsigned") << 0x0C << "FFFF" << true << "16384 RPM" << QVariant(16384.0) << 163.83750
                                     << QVariant(0) << "RPM"
                                     << "0~16384";
        QTest::newRow("0C half to even") << 0x0C << "000A" << true << "2 RPM" << QVariant(2.0) << 0.025 << QVariant(0)
                                         << "RPM"
                                         << "0~16384";
        QTest::newRow("0C short reply") << 0x0C << "1A" << true << "1664 RPM" << QVariant(1664.0) << 16.64
                                        << QVariant(0) << "RPM"
                                        << "0~16384";
        QTest::newRow("0D MPH") << 0x0D << "64" << true << "100 km/h    62.1 MPH" << QVariant(62.0) << 39.215686
                                << QVariant(0) << "MPH"
                                << "0~158";
        QTest::newRow("0D km/h") << 0x0D << "64" << false << "100 km/h    62.1 MPH" << QVariant(100.0) << 39.215686
                                 << QVariant(0) << "km/h"
                                 << "0~255";
        QTest::newRow("04 full") << 0x04 << "FF" << true << "100.0%" << QVariant(100.0) << 100.0 << QVariant(1) << "%"
                                 << "0.0~100.0";
        QTest::newRow("2F") << 0x2F << "80" << true << "50.2%" << QVariant(50.196078) << 50.196078 << QVariant(1) << "%"
                            << "0.0~100.0";
        QTest::newRow("06 lean") << 0x06 << "00" << true << "-100.0%" << QVariant(-100.0) << 0.0 << QVariant(1) << "%"
                                 << "0.0~100.0";
        QTest::newRow("09 centre") << 0x09 << "80" << true << "0.0%" << QVariant(0.0) << 50.196078 << QVariant(1) << "%"
                                   << "0.0~100.0";
        QTest::newRow("0A psi") << 0x0A << "10" << true << "6.96 psiG" << QVariant(6.96192) << 6.2745098 << QVariant(1)
                                << "psiG"
                                << "0.0~111.0";
        QTest::newRow("0A kPa") << 0x0A << "10" << false << "48 kPaG" << QVariant(48.0) << 6.2745098 << QVariant(0)
                                << "kPaG"
                                << "0~765";
        QTest::newRow("0B psi") << 0x0B << "64" << true << "29.53 inHg" << QVariant(29.533373) << 39.215686
                                << QVariant(1) << "inHg"
                                << "0.0~75.3";
        QTest::newRow("33 kPa") << 0x33 << "64" << false << "100 kPaA" << QVariant(100.0) << 39.215686 << QVariant(0)
                                << "kPaA"
                                << "0~255";
        QTest::newRow("0E") << 0x0E << "00" << true << "-64.0 deg" << QVariant(-64.0) << 0.0 << QVariant(1) << "deg"
                            << "-64.0~63.5";
        QTest::newRow("10 g/s") << 0x10 << "0190" << false << "4.00 gm/sec" << QVariant(4.0) << 0.6103516 << QVariant(2)
                                << "gm/sec"
                                << "0.00~655.35";
        QTest::newRow("10 lb/min") << 0x10 << "0190" << true << "0.53 lb/min" << QVariant(0.529108) << 0.6103516
                                   << QVariant(2) << "lb/min"
                                   << "0.00~86.69";
        QTest::newRow("14 no trim") << 0x14 << "5AFF" << true << "0.450 V" << QVariant(0.45) << 35.294118 << QVariant(3)
                                    << "V"
                                    << "0.0~327.675";
        QTest::newRow("14 trim") << 0x14 << "5A80" << true << "0.450 V,   Fuel Trim: 0.0%" << QVariant(0.45)
                                 << 35.294118 << QVariant(3) << "V"
                                 << "0.0~327.675";
        QTest::newRow("1B lean trim") << 0x1B << "0000" << true << "0.000 V,   Fuel Trim: -100.0%" << QVariant(0.0)
                                      << 0.0 << QVariant(3) << "V"
                                      << "0.0~327.675";
        QTest::newRow("1F") << 0x1F << "0102" << true << "258 sec" << QVariant(258.0) << -1.0 << kept << same << same;
        QTest::newRow("21") << 0x21 << "0102" << true << "258.0 km" << QVariant(258.0) << -1.0 << kept << same << same;
        QTest::newRow("31") << 0x31 << "0000" << false << "0.0 km" << QVariant(0.0) << -1.0 << kept << same << same;
        QTest::newRow("22") << 0x22 << "0064" << true << "7.90 kPa" << QVariant(7.9) << -1.0 << kept << same << same;
        QTest::newRow("23 psi") << 0x23 << "0001" << true << "1.5 psiG" << QVariant(1.4504) << 0.0015259 << QVariant(1)
                                << "psiG"
                                << "0.0~95051.9";
        QTest::newRow("23 kPa needle follows 16 bits")
            << 0x23 << "8000" << false << "327680 kPa (gauge)" << QVariant(327680.0) << 50.0 << QVariant(0) << "kPaG"
            << "0~655350";
        QTest::newRow("24 lambda") << 0x24 << "8000" << true << "0.999" << QVariant(0.999424) << 50.196078
                                   << QVariant(3) << "-"
                                   << "0.0~2.0";
        QTest::newRow("3B lambda") << 0x3B << "0000" << false << "0.000" << QVariant(0.0) << 0.0 << QVariant(3) << "-"
                                   << "0.0~2.0";
        QTest::newRow("2D bottom stays on dial")
            << 0x2D << "00" << true << "-100.00%" << QVariant(-100.0) << 0.0 << QVariant(1) << "%"
            << "-100.0~100.0";
        QTest::newRow("2D centre") << 0x2D << "80" << true << "0.00%" << QVariant(0.0) << 50.006078 << QVariant(1)
                                   << "%"
                                   << "-100.0~100.0";
        QTest::newRow("30") << 0x30 << "05" << true << "5" << QVariant(5.0) << -1.0 << kept << same << same;
        QTest::newRow("32 kPa signed") << 0x32 << "FFFC" << false << "-1.00 Pa" << QVariant(-1.0) << -1.0 << kept
                                       << same << same;
        QTest::newRow("32 psi") << 0x32 << "0F90" << true << "4.00 inH2O" << QVariant(3.998566) << -1.0 << kept << same
                                << same;
        QTest::newRow("3C catalyst") << 0x3C << "1234" << true << "" << QVariant(0.0) << -1.0 << kept << same << same;
        QTest::newRow("3F catalyst") << 0x3F << "1234" << false << "" << QVariant(0.0) << -1.0 << kept << same << same;
        QTest::newRow("03") << 0x03 << "0200" << true << "S1: Closed Loop" << kept << -1.0 << QVariant(-1) << same
                            << same;
        QTest::newRow("12") << 0x12 << "04" << true << "Atmosphere / off" << kept << -1.0 << kept << same << same;
        QTest::newRow("12 lowest bit wins")
            << 0x12 << "07" << true << "Upstream of first cat" << kept << -1.0 << kept << same << same;
        QTest::newRow("12 none") << 0x12 << "F8" << true << "None" << kept << -1.0 << kept << same << same;
        QTest::newRow("02 P") << 0x02 << "0133" << true << "P0133   " << kept << -1.0 << kept << same << same;
        QTest::newRow("02 C") << 0x02 << "4300" << true << "C0300   " << kept << -1.0 << kept << same << same;
        QTest::newRow("02 B") << 0x02 << "9ABC" << true << "B1ABC   " << kept << -1.0 << kept << same << same;
        QTest::newRow("02 U") << 0x02 << "D001" << true << "U1001   " << kept << -1.0 << kept << same << same;
        QTest::newRow("02 none stored") << 0x02 << "0000" << true << "" << kept << -1.0 << kept << same << same;
        QTest::newRow("02 no data") << 0x02 << "" << true << "" << kept << -1.0 << kept << same << same;
        QTest::newRow("01 not decoded") << 0x01 << "81076504" << true << "" << kept << -1.0 << kept << same << same;
        QTest::newRow("13 not decoded") << 0x13 << "33" << true << "" << kept << -1.0 << kept << same << same;
        QTest::newRow("40 not decoded") << 0x40 << "FFFFFFFF" << true << "" << kept << -1.0 << kept << same << same;
    }
    void decode() {
        QFETCH(int, pid);
        QFETCH(QString, data);
        QFETCH(bool, imperial);
        QFETCH(QString, text);
        QFETCH(QVariant, value);
        QFETCH(double, needle);
        QFETCH(QVariant, decimals);
        QFETCH(QString, units);
        QFETCH(QString, range);

        PidOutputs out = prefilled();
        QCOMPARE(decodepid(pid, reply(pid, data), kEcu, unitSettings(imperial), out), text);
        QVERIFY2(std::fabs(out.needle - needle) < 1e-5, qPrintable(QString::number(out.needle, 'f', 7)));
        QVERIFY(out.value.has_value());
        QVERIFY2(std::fabs(*out.value - (value.isValid() ? value.toDouble() : 12345.0)) < 1e-5,
                 qPrintable(QString::number(*out.value, 'f', 7)));
        QCOMPARE(out.decimals.value(), decimals.isValid() ? decimals.toInt() : 77);
        QCOMPARE(out.units, units.isNull() ? QStringLiteral("keep") : units);
        QCOMPARE(out.range, range.isNull() ? QStringLiteral("keep") : range);
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
        QTest::newRow("catalyst of other controller") << 0x3C << "486B18413C1234"
                                                      << "10";
        QTest::newRow("no controller selected") << 0x0C << "486B10410C1AF8"
                                                << "";
        QTest::newRow("short line") << 0x0C << "486B10"
                                    << "10";
        QTest::newRow("empty") << 0x05 << ""
                               << "10";
        QTest::newRow("derived channel code") << 999 << "486B1041E71AF8"
                                              << "10";
        QTest::newRow("negative code") << -1 << "486B1041FF1AF8"
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
        QCOMPARE(out.decimals.value(), 77);
        QCOMPARE(out.units, QStringLiteral("keep"));
        QCOMPARE(out.range, QStringLiteral("keep"));
    }

    void fuelSystemStatus_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("text");
        QTest::newRow("system 1 closed") << 0x02 << 0x00 << "S1: Closed Loop";
        QTest::newRow("both off") << 0x00 << 0x00 << "n/a";
        QTest::newRow("only system 2") << 0x00 << 0x01 << "; S2: Open Loop- Warmup";
        QTest::newRow("highest bit wins") << 0x03 << 0x00 << "S1: Closed Loop";
        QTest::newRow("bits above 4 only") << 0xE0 << 0x00 << "S1: n/a";
        QTest::newRow("both systems") << 0x04 << 0x18 << "S1: Open Loop- Acc/Dec; S2: Closed Loop- 1 O2S";
        QTest::newRow("fault") << 0x08 << 0x00 << "S1: Open Loop- Fault";
    }
    void fuelSystemStatus() {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QString, text);
        QCOMPARE(fuelSystemStatusText(a, b), text);
    }
};

ZELCOR_TEST(DecodePidTest)
#include "decodepid_test.moc"
