#include "dtc/dtcreply.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

QString item(const QString& code, int address) {
    return code + QStringLiteral("       ") + QString::number(address);
}

// `count` codes 0101, 0102, ... as hex text, with their list items.
QString codeBytes(int count) {
    QString hex;
    for (int i = 1; i <= count; ++i)
        hex += QStringLiteral("01%1").arg(i, 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}
QStringList codeItems(int count, int address) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << item(QStringLiteral("P01%1").arg(i, 2, 16, QLatin1Char('0')).toUpper(), address);
    return items;
}

// The raw lines of a segmented CAN message with identifier `id`: a first frame with six
// payload bytes, then consecutive frames of seven, the last padded with 55.
QStringList segmented(const QString& id, const QString& payload) {
    const int length = int(payload.size() / 2);
    QStringList lines{id + QStringLiteral("1%1").arg(length, 3, 16, QLatin1Char('0')).toUpper() + payload.left(12)};
    int sequence = 1;
    for (qsizetype p = 12; p < payload.size(); p += 14, sequence = (sequence + 1) % 16) {
        QString data = payload.mid(p, 14);
        while (data.size() < 14)
            data += QStringLiteral("55");
        lines << id + QStringLiteral("2%1").arg(sequence, 1, 16).toUpper() + data;
    }
    return lines;
}

QString reply(const QStringList& lines) {
    return lines.join(QLatin1Char('\r')) + QLatin1Char('\r');
}

} // namespace

class DtcReplyTest : public QObject {
    Q_OBJECT
private slots:
    void codeText() {
        // Four hex digits to the code; the 0000 filler and non-hex text are no code.
        const QStringList digits{"0133", "4300", "8123", "D001", "0000", "NODA"};
        const QStringList codes{"P0133", "C0300", "B0123", "U1001", "", ""};
        for (qsizetype i = 0; i < digits.size(); ++i)
            QCOMPARE(troubleCodeText(digits[i]), codes[i]);
    }

    void items_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("hdrformat");
        QTest::addColumn<int>("service");
        QTest::addColumn<QStringList>("expected");

        // Legacy: three codes per line at characters 9, 13 and 17, checksum after them.
        QTest::newRow("legacy one code") << "486B104301330000000063\r" << 5 << 3 << QStringList{item("P0133", 16)};
        QTest::newRow("legacy three codes") << "486B104301334300D00163\r" << 5 << 3
                                            << QStringList{item("P0133", 16), item("C0300", 16), item("U1001", 16)};
        QTest::newRow("legacy pending ignores stored")
            << "486B104301330000000063\r486B10470420000000007A\r" << 5 << 7 << QStringList{item("P0420", 16)};

        // CAN single frames: the count byte after the response is not a code; bytes
        // beyond the announced length (55 55 from 7E9) are padding.
        QTest::newRow("can single frame")
            << "7E806430201330196\r" << 2 << 3 << QStringList{item("P0133", 232), item("P0196", 232)};
        QTest::newRow("can pending ignores stored") << "7E806430201330196\r" << 2 << 7 << QStringList{};
        QTest::newRow("two controllers, single frames")
            << "7E806430201330196\r7E9044301C1235555\r" << 2 << 3
            << QStringList{item("P0133", 232), item("P0196", 232), item("U0123", 233)};

        // CAN segmented messages.
        QTest::newRow("can segmented") << "7E8100A430401430196\r7E82102340235000000\r" << 2 << 3
                                       << QStringList{item("P0143", 232), item("P0196", 232), item("P0234", 232),
                                                      item("P0235", 232)};
        QTest::newRow("fifteen codes") << reply(segmented("7E8", "430F" + codeBytes(15))) << 2 << 3
                                       << codeItems(15, 232);
        QTest::newRow("sequence number wraps")
            << reply(segmented("7E8", "433C" + codeBytes(60))) << 2 << 3 << codeItems(60, 232);
        {
            QStringList lines = segmented("7E8", "4307" + codeBytes(7));
            lines.insert(2, lines[1]); // the first consecutive frame twice
            QTest::newRow("duplicate frame ignored") << reply(lines) << 2 << 3 << codeItems(7, 232);
        }
        {
            QStringList lines = segmented("7E8", "430F" + codeBytes(15));
            lines.removeAt(2); // consecutive frame 2 lost: frames 3 and 4 cannot be placed
            QTest::newRow("lost frame") << reply(lines) << 2 << 3 << codeItems(5, 232);
        }
        {
            // Two controllers answering at once: frames interleaved; the order of the
            // controllers is the order of their first frames.
            const QStringList a = segmented("7E9", "4305" + codeBytes(5));
            const QStringList b = segmented("7E8", "4304" + codeBytes(4));
            const QStringList lines{a[0], b[0], b[1], a[1]};
            QTest::newRow("two controllers interleaved")
                << reply(lines) << 2 << 3 << codeItems(5, 233) + codeItems(4, 232);
        }
        // CAN 29-bit: the source address is the last byte of the identifier.
        QTest::newRow("29-bit single frame")
            << "18DAF11006430201330196\r" << 7 << 3 << QStringList{item("P0133", 16), item("P0196", 16)};
        QTest::newRow("29-bit segmented")
            << reply(segmented("18DAF118", "4307" + codeBytes(7))) << 7 << 3 << codeItems(7, 24);
    }
    void items() {
        QFETCH(QString, reply);
        QFETCH(int, hdrformat);
        QFETCH(int, service);
        QTEST(troubleCodeItems(reply, hdrformat, service), "expected");
    }
};

ZELCOR_TEST(DtcReplyTest)
#include "dtcreply_test.moc"
