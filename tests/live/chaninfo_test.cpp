#include "live/chaninfo.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// "name|units|minimum|maximum|tick|step|decimals"
QString describe(const ChannelInfo& i) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(i.name, i.units)
        .arg(i.minimum)
        .arg(i.maximum)
        .arg(i.tick)
        .arg(i.step)
        .arg(i.decimals);
}

} // namespace

class ChanInfoTest : public QObject {
    Q_OBJECT
private slots:
    void rows_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("imperial");
        QTest::addColumn<QString>("row");
        QTest::newRow("fuel economy") << 999 << true << "Fuel Economy|MPG|0|60|5|10|1";
        QTest::newRow("fuel status is text") << 3 << true << "Fuel System Status||0|16|1|1|-1";
        QTest::newRow("coolant C") << 5 << false << "Engine Coolant Temp|deg C|-40|215|5|20|1";
        QTest::newRow("RPM metric") << 12 << false << "RPM|1/min|0|8000|2|10|0";
        QTest::newRow("MAF g/s") << 16 << false << "MAF Air Flow|gm/sec|0|327.675|10|50|2";
        QTest::newRow("O2 voltage") << 21 << true << "O2S Voltage\r\nBank 1 Sensor 2|V|0|1.275|0.05|0.1|1";
        QTest::newRow("wideband") << 40 << true << "Wideband O2S5 Lambda|-|0|2|0.05|0.1|3";
        QTest::newRow("wideband, second family") << 55 << false << "Wideband O2S4 Lambda|-|0|2|0.05|0.1|3";
        QTest::newRow("unnamed PID") << 35 << true << "|%|0|100|5|10|0";
        QTest::newRow("baro inHg in kPa") << 51 << false << "Baro press|inHg|0|0|5|10|0";
    }
    void rows() {
        QFETCH(int, code);
        QFETCH(bool, imperial);
        Settings s;
        s.usemph = s.uselbmin = s.usedegf = s.usepsi = imperial;
        ChannelInfo info;
        QVERIFY(chaninfo(code, s, info));
        QTEST(describe(info), "row");
    }

    void noRowLeavesOutputs() {
        const ChannelInfo before{QStringLiteral("n"), QStringLiteral("u"), 1, 2, 3, 4, 5};
        for (int code : {0, 2, 18, 19, 64, 996}) {
            ChannelInfo info = before;
            QVERIFY(!chaninfo(code, Settings{}, info));
            QCOMPARE(describe(info), describe(before));
        }
    }
};

ZELCOR_TEST(ChanInfoTest)
#include "chaninfo_test.moc"
