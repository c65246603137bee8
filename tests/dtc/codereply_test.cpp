// Trouble code lists from the raw replies of every controller: legacy lines, CAN single
// and segmented frames, interleaved and repeated frames; and every reply that must not
// read as a list (adapter error words, damaged lines, lost frames, cut-short messages).

#include "dtc/codereply.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

Q_DECLARE_METATYPE(zelcor::HeaderLayout)

namespace {

QString at(const QString& code, int address) {
    return code + QString(codeItemGap, QLatin1Char(' ')) + QString::number(address);
}

// Codes P0101 up to P01xx: the hex text of `count` of them, and their items.
QString codeBytes(int count) {
    QString hex;
    for (int i = 1; i <= count; ++i)
        hex += QStringLiteral("01%1").arg(i, 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}
QStringList codeItems(int count, int address) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << at(QStringLiteral("P01%1").arg(i, 2, 16, QLatin1Char('0')).toUpper(), address);
    return items;
}

// The lines of a segmented CAN message from `id`: a first frame with six payload bytes,
// then consecutive frames of seven, the last padded with 55.
QStringList segmented(const QString& id, const QString& payload) {
    QStringList lines{id + QStringLiteral("1%1").arg(payload.size() / 2, 3, 16, QLatin1Char('0')) + payload.left(12)};
    for (qsizetype p = 12, sequence = 1; p < payload.size(); p += 14, sequence = (sequence + 1) % 16)
        lines << id + QStringLiteral("2%1").arg(sequence, 1, 16).toUpper() + payload.mid(p, 14).leftJustified(14, '5');
    return lines;
}

void row(const char* name, const QStringList& lines, HeaderLayout layout, int service, const QStringList& items,
         const QString& problem = QString()) {
    QTest::newRow(name) << lines.join(QLatin1Char('\r')) + QLatin1Char('\r') << layout << service << items << problem;
}

} // namespace

class CodeReplyTest : public QObject {
    Q_OBJECT
private slots:
    void items_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<HeaderLayout>("layout");
        QTest::addColumn<int>("service");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("problem");
        const HeaderLayout legacy = HeaderLayout::Legacy, can11 = HeaderLayout::Can11, can29 = HeaderLayout::Can29;

        // Legacy: up to three codes per line after the response byte, then the checksum.
        row("legacy, three codes and filler", {"486B104301334300D00163", "486B104381710000000011"}, legacy, 3,
            {at("P0133", 16), at("C0300", 16), at("U1001", 16), at("B0171", 16)});
        row("legacy pending ignores stored", {"486B104301330000000063", "486B18470420000000007A"}, legacy, 7,
            {at("P0420", 24)});
        row("legacy damaged pair", {"486B104301334Z00D00163"}, legacy, 3, {},
            "a damaged line \"486B104301334Z00D00163\"");
        row("legacy cut short", {"486B10430133"}, legacy, 3, {}, "the reply of controller 16 was cut short");

        // CAN single frames: the count byte is no code; bytes beyond the length are padding.
        row("two controllers, single frames", {"7E806430201330196", "7E9044301C1235555"}, can11, 3,
            {at("P0133", 232), at("P0196", 232), at("U0123", 233)});
        row("can: only another service answered", {"7E806430201330196"}, can11, 7, {}, "no controller answered");
        row("can damaged pair", {"7E806430201330Z96"}, can11, 3, {}, "a damaged line \"7E806430201330Z96\"");
        row("can fewer codes than announced", {"7E806430301330196"}, can11, 3, {},
            "controller 232 announced 3 codes and sent 2");
        row("can frame shorter than its length", {"7E8064302013301"}, can11, 3, {},
            "the reply of controller 232 ended after 5 of 6 bytes");
        row("short lines and the search", {"7E8", "SEARCHING...", "7E806430201330196"}, can11, 3,
            {at("P0133", 232), at("P0196", 232)});
        row("no reply", {}, can11, 3, {}, "no reply");
        for (const QString& word : adapterErrorWords())
            QTest::newRow(qPrintable("adapter says " + word))
                << "7E806430201330196\r" + word + "\r" << can11 << 3 << QStringList() << word;

        // Segmented messages.
        const QStringList fifteen = segmented("7E8", "430F" + codeBytes(15));
        row("fifteen codes", fifteen, can11, 3, codeItems(15, 232));
        row("sequence number wraps", segmented("7E8", "433C" + codeBytes(60)), can11, 3, codeItems(60, 232));
        QStringList repeated = fifteen, lost = fifteen;
        repeated.insert(2, fifteen[1]);
        lost.removeAt(2);
        row("repeated frame ignored", repeated, can11, 3, codeItems(15, 232));
        row("lost frame", lost, can11, 3, {}, "the reply of controller 232 ended after 13 of 32 bytes");
        row("first frame announcing 4095 bytes, then silence", {"7E81FFF430F010101"}, can11, 3, {},
            "the reply of controller 232 ended after 5 of 4095 bytes");
        row("transfer started again", fifteen.mid(0, 2) + fifteen, can11, 3, codeItems(15, 232));
        row("stray consecutive frame", {fifteen[1], "7E806430201330196"}, can11, 3,
            {at("P0133", 232), at("P0196", 232)});
        // Interleaved: controllers in the order of their first frames.
        const QStringList a = segmented("7E9", "4305" + codeBytes(5)), b = segmented("7E8", "4304" + codeBytes(4));
        row("two controllers interleaved", {a[0], b[0], b[1], a[1]}, can11, 3, codeItems(5, 233) + codeItems(4, 232));
        row("29-bit segmented", segmented("18DAF118", "4307" + codeBytes(7)), can29, 3, codeItems(7, 24));
    }
    void items() {
        QFETCH(QString, reply);
        QFETCH(HeaderLayout, layout);
        QFETCH(int, service);
        QFETCH(QString, problem);
        const CodeRead read = readTroubleCodes(reply, layout, service);
        QTEST(read.items, "expected");
        QCOMPARE(read.problem, problem);
        // A list that could not be read shows why, never an empty list.
        const QStringList shown = troubleCodeList(read);
        if (problem.isEmpty())
            QCOMPARE(shown.last(), endOfListItem);
        else
            QCOMPARE(shown, QStringList{unreadableCodesText + problem});
    }
};

ZELCOR_TEST(CodeReplyTest)
#include "codereply_test.moc"
