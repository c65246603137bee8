// The answers as the adapter prints them, against the replies quoted for the client.

#include "sim/checksum.h"
#include "sim/framer.h"
#include "sim/isotp.h"
#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class FramingTest : public QObject {
    Q_OBJECT
private slots:
    void replies_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected");

        const QByteArray can11 = "7E8 06 41 00 BE 3F A8 13\r7E9 06 41 00 88 18 00 10\r\r>";
        QTest::newRow("CAN 11 headers") << "can11" << 0 << "ATH1" << QByteArray("0100") << can11;
        QTest::newRow("CAN 11 headers, no spaces") << "can11" << 0 << "ATH1 ATS0" << QByteArray("0100")
                                                   << QByteArray("7E8064100BE3FA813\r7E906410088180010\r\r>");
        QTest::newRow("CAN 11 no headers, no spaces")
            << "can11" << 0 << "ATS0" << QByteArray("0100") << QByteArray("4100BE3FA813\r410088180010\r\r>");
        QTest::newRow("CAN 11 stored codes with count")
            << "can11" << 0 << "ATH1" << QByteArray("03") << QByteArray("7E8 06 43 02 01 33 01 71\r7E9 02 43 00\r\r>");
        QTest::newRow("CAN 11 pending codes of both")
            << "can11" << 0 << "ATH1" << QByteArray("07") << QByteArray("7E8 04 47 01 04 42\r7E9 04 47 01 07 41\r\r>");
        QTest::newRow("CAN 11 second bitmap")
            << "can11" << 0 << "ATH1" << QByteArray("0120") << QByteArray("7E8 06 41 20 90 07 A0 11\r\r>");
        QTest::newRow("CAN 11 freeze frame bitmap")
            << "can11" << 0 << "ATH1" << QByteArray("020000") << QByteArray("7E8 07 42 00 00 7E 3F 80 00\r\r>");
        QTest::newRow("CAN 11 freeze frame code")
            << "can11" << 0 << "ATH1" << QByteArray("020200") << QByteArray("7E8 05 42 02 00 01 33\r\r>");
        QTest::newRow("CAN 29 headers") << "can29" << 0 << "ATH1" << QByteArray("0100")
                                        << QByteArray("18 DA F1 10 06 41 00 BE 3F A8 13\r"
                                                      "18 DA F1 18 06 41 00 88 18 00 10\r\r>");
        QTest::newRow("CAN 29 headers, no spaces") << "can29" << 0 << "ATH1 ATS0" << QByteArray("0100")
                                                   << QByteArray("18DAF110064100BE3FA813\r18DAF11806410088180010\r\r>");

        // 15 codes: 32 bytes in a first frame and four consecutive frames.
        QTest::newRow("segmented with headers")
            << "manycodes" << 0 << "ATH1" << QByteArray("03")
            << QByteArray("7E8 10 20 43 0F 01 01 01 13\r7E8 21 01 28 01 33 01 71 03\r"
                          "7E8 22 00 03 01 03 02 03 03\r7E8 23 03 04 04 20 04 42 04\r"
                          "7E8 24 55 14 56 C1 00 00 00\r7E9 02 43 00\r\r>");
        QTest::newRow("segmented without headers")
            << "manycodes" << 0 << "" << QByteArray("03")
            << QByteArray("020\r0: 43 0F 01 01 01 13\r1: 01 28 01 33 01 71 03\r2: 00 03 01 03 02 03 03\r"
                          "3: 03 04 04 20 04 42 04\r4: 55 14 56 C1 00 00 00\r43 00\r\r>");
        QTest::newRow("segmented without headers or spaces")
            << "manycodes" << 0 << "ATS0" << QByteArray("03")
            << QByteArray("020\r0:430F01010113\r1:01280133017103\r2:00030103020303\r"
                          "3:03040420044204\r4:551456C1000000\r4300\r\r>");

        // Legacy: three header bytes and the check byte.
        QTest::newRow("ISO 9141-2 headers") << "legacy" << 0 << "ATH1" << QByteArray("0100")
                                            << QByteArray("48 6B 10 41 00 BE 3E B8 13 CB\r"
                                                          "48 6B 18 41 00 88 18 00 10 BC\r\r>");
        QTest::newRow("ISO 9141-2 no spaces") << "legacy" << 0 << "ATH1 ATS0" << QByteArray("0100")
                                              << QByteArray("486B104100BE3EB813CB\r486B18410088180010BC\r\r>");
        QTest::newRow("J1850 PWM") << "legacy" << 1 << "ATH1" << QByteArray("0100")
                                   << QByteArray("41 6B 10 41 00 BE 3E B8 13 AA\r"
                                                 "41 6B 18 41 00 88 18 00 10 3E\r\r>");
        QTest::newRow("J1850 VPW") << "legacy" << 2 << "ATH1" << QByteArray("0100")
                                   << QByteArray("48 6B 10 41 00 BE 3E B8 13 C0\r"
                                                 "48 6B 18 41 00 88 18 00 10 54\r\r>");
        QTest::newRow("ISO 14230-4") << "legacy" << 5 << "ATH1" << QByteArray("0100")
                                     << QByteArray("86 F1 10 41 00 BE 3E B8 13 8F\r"
                                                   "86 F1 18 41 00 88 18 00 10 80\r\r>");
        QTest::newRow("legacy codes, three per message")
            << "legacy" << 0 << "ATH1" << QByteArray("03")
            << QByteArray("48 6B 10 43 01 33 01 71 03 00 AF\r48 6B 10 43 04 20 00 00 00 00 2A\r"
                          "48 6B 18 43 00 00 00 00 00 00 0E\r\r>");
        QTest::newRow("legacy freeze frame")
            << "legacy" << 0 << "" << QByteArray("020000") << QByteArray("42 00 00 7E 3E 80 00\r\r>");

        QTest::newRow("no freeze frame stored")
            << "nofreeze" << 0 << "ATH1" << QByteArray("020200") << QByteArray("7E8 05 42 02 00 00 00\r\r>");
        QTest::newRow("clean car status")
            << "clean" << 0 << "" << QByteArray("0101") << QByteArray("41 01 00 07 65 00\r41 01 00 04 00 00\r\r>");
        QTest::newRow("faulty car status")
            << "can11" << 0 << "" << QByteArray("0101") << QByteArray("41 01 82 07 65 04\r41 01 00 04 00 00\r\r>");
    }

    void replies() {
        QFETCH(QString, profile);
        QFETCH(int, protocol);
        QFETCH(QString, setup);
        QFETCH(QByteArray, request);
        sim::Options options;
        options.profile = profile;
        options.protocol = protocol;
        test::SimHarness car(options);
        car.setup(QStringLiteral("ATE0 ATL0 ") + setup);
        car.ask("0100"); // opens the bus (search, initialisation)
        QTEST(car.ask(request), "expected");
    }

    void segments_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("pcis"); // first byte of every frame
        QTest::newRow("empty") << 0 << QByteArray::fromHex("00");
        QTest::newRow("single, full") << 7 << QByteArray::fromHex("07");
        QTest::newRow("first and one") << 8 << QByteArray::fromHex("1021");
        QTest::newRow("exactly two") << 13 << QByteArray::fromHex("1021");
        QTest::newRow("spills") << 14 << QByteArray::fromHex("102122");
        // 6 + 15 * 7 bytes fill sequence numbers 1..F; one more byte wraps to 0.
        QTest::newRow("before wrap") << 111 << QByteArray::fromHex("10212223242526272829 2A2B2C2D2E2F");
        QTest::newRow("wraps to 0") << 112 << QByteArray::fromHex("102122232425262728292A2B2C2D2E2F20");
        QTest::newRow("wraps twice") << 6 + 32 * 7
                                     << QByteArray::fromHex("10212223242526272829 2A2B2C2D2E2F20"
                                                            "2122232425262728292A2B2C2D2E2F20");
    }

    void segments() {
        QFETCH(int, length);
        QFETCH(QByteArray, pcis);
        QByteArray message;
        for (int i = 0; i < length; ++i)
            message.append(char(i * 7 + 3));
        const QList<QByteArray> frames = sim::isotp::segment(message, 0xAA);
        QByteArray seen;
        for (const QByteArray& frame : frames) {
            QCOMPARE(frame.size(), 8);
            seen.append(frame[0]);
        }
        QCOMPARE(seen.toHex(), pcis.toHex());
        if (frames.size() > 1) { // first frame announces the length
            QCOMPARE(((quint8(frames[0][0]) & 0x0F) << 8) | quint8(frames[0][1]), length);
        }
        bool ok = false;
        QCOMPARE(sim::isotp::reassemble(frames, &ok), message);
        QVERIFY(ok || length == 0);
    }

    void segmentQuotedExample() {
        const auto frames = sim::isotp::segment(QByteArray::fromHex("4304014301960234 0235"));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].toHex(' ').toUpper(), QByteArray("10 0A 43 04 01 43 01 96"));
        QCOMPARE(frames[1].toHex(' ').toUpper(), QByteArray("21 02 34 02 35 00 00 00"));
    }

    void wrappedFramesWithoutHeaders() {
        // Line numbers follow the sequence numbers, so they wrap from F to 0 as well.
        const auto frames = sim::isotp::segment(QByteArray(112, '\x11'));
        QCOMPARE(sim::canLines(0x7E8, false, frames[15], {}, "\r").left(2), QByteArray("F:"));
        QCOMPARE(sim::canLines(0x7E8, false, frames[16], {}, "\r"), QByteArray("0: 11 00 00 00 00 00 00"));
        QCOMPARE(sim::canLines(0x7E8, false, frames[0], {}, "\r").left(9), QByteArray("070\r0: 11"));
    }

    void checks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("crc");
        QTest::addColumn<int>("sum");
        // Published SAE J1850 CRC check values.
        QTest::newRow("zeros") << QByteArray::fromHex("00000000") << 0x59 << 0x00;
        QTest::newRow("three bytes") << QByteArray::fromHex("F20183") << 0x37 << 0x76;
        QTest::newRow("mixed") << QByteArray::fromHex("0FAA0055") << 0x79 << 0x0E;
        QTest::newRow("mixed 2") << QByteArray::fromHex("00FF5511") << 0xB8 << 0x65;
        QTest::newRow("long") << QByteArray::fromHex("332255AABBCCDDEEFF") << 0xCB << 0xA5;
        QTest::newRow("header-like") << QByteArray::fromHex("926B55") << 0x8C << 0x52;
        QTest::newRow("ones") << QByteArray::fromHex("FFFFFFFF") << 0x74 << 0xFC;
    }

    void checks() {
        QFETCH(QByteArray, bytes);
        QTEST(int(sim::j1850Crc(bytes)), "crc");
        QTEST(int(sim::additiveSum(bytes)), "sum");
    }
};

ZELCOR_TEST(FramingTest)
#include "framing_test.moc"
