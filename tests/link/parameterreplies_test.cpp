// Replies to several PIDs in one request split back per PID: each PID only from its own
// bytes, whatever else the reply holds or lacks.

#include "link/headerlessreply.h"
#include "link/parameterreplies.h"
#include "link/pidgroups.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

// "PID=data" for each PID asked, "PID=-" where no sound reply came.
QString split(const QString& text, HeaderLayout layout, const QList<int>& pids) {
    QStringList out;
    const QString selected = layout == HeaderLayout::Can29 ? QStringLiteral("10") : QStringLiteral("E8");
    const QList<Reply> replies = splitParameterReplies(text, selected, layout, pids);
    for (qsizetype k = 0; k < pids.size(); ++k) {
        const Reply& r = replies.at(k);
        const QString data = r.isSound() && r.answers(0x01, pids[k]) ? QString::fromLatin1(r.data.toHex().toUpper())
                                                                     : QStringLiteral("-");
        out << QStringLiteral("%1=%2").arg(pids[k], 2, 16, QLatin1Char('0')).arg(data).toUpper();
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class ParameterRepliesTest : public QObject {
    Q_OBJECT
private slots:
    void splitsPerPid_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QList<int>>("pids");
        QTest::addColumn<QString>("expected");
        const int can11 = int(HeaderLayout::Can11);
        const QList<int> three{0x0C, 0x0D, 0x05};
        const QList<int> six{0x0C, 0x0D, 0x05, 0x11, 0x0F, 0x04};
        // 41 0C 1A F8 0D 32 05 7B 11 33 0F 52 04 66: fourteen bytes in three frames.
        const QString segmented = QStringLiteral("7E8100E410C1AF80D32\r7E821057B11330F5204\r7E82266000000000000");
        QTest::newRow("single frame") << "7E806410C1AF80D32" << can11 << QList<int>{0x0C, 0x0D} << "0C=1AF8 0D=32";
        QTest::newRow("segmented, six PIDs") << segmented << can11 << six << "0C=1AF8 0D=32 05=7B 11=33 0F=52 04=66";
        QTest::newRow("another order") << "7E808410D32057B0C1AF8" << can11 << three << "0C=1AF8 0D=32 05=7B";
        QTest::newRow("fewer PIDs than asked") << "7E804410D320000" << can11 << three << "0C=- 0D=32 05=-";
        QTest::newRow("a PID not asked is passed over")
            << "7E807410F520D32057B" << can11 << QList<int>{0x0D, 0x05} << "0D=32 05=7B";
        QTest::newRow("a PID of unknown length ends it")
            << "7E80741FF520D32057B" << can11 << QList<int>{0x0D, 0x05} << "0D=- 05=-";
        QTest::newRow("truncated: last frame missing")
            << "7E8100E410C1AF80D32\r7E821057B11330F5204" << can11 << six << "0C=1AF8 0D=32 05=7B 11=33 0F=52 04=-";
        QTest::newRow("truncated: middle frame missing")
            << "7E8100E410C1AF80D32\r7E82266000000000000" << can11 << six << "0C=1AF8 0D=32 05=- 11=- 0F=- 04=-";
        QTest::newRow("frames out of sequence") << "7E8100E410C1AF80D32\r7E82266000000000000\r7E821057B11330F5204"
                                                << can11 << six << "0C=1AF8 0D=32 05=- 11=- 0F=- 04=-";
        QTest::newRow("a PID cut in half by the length byte")
            << "7E805410C1AF80D" << can11 << QList<int>{0x0C, 0x0D} << "0C=1AF8 0D=-";
        QTest::newRow("another controller's frame only") << "7E906410C1AF80D32" << can11 << three << "0C=- 0D=- 05=-";
        QTest::newRow("another controller's frames between")
            << "7E8100E410C1AF80D32\r7E906410C0BB80D55\r7E821057B11330F5204\r7E92266000000000000\r"
               "7E82266000000000000"
            << can11 << six << "0C=1AF8 0D=32 05=7B 11=33 0F=52 04=66";
        QTest::newRow("29-bit identifiers")
            << "18DAF11006410C1AF80D32" << int(HeaderLayout::Can29) << QList<int>{0x0C, 0x0D} << "0C=1AF8 0D=32";
        QTest::newRow("a negative answer") << "7E8037F0112" << can11 << three << "0C=- 0D=- 05=-";
        QTest::newRow("the adapter's word") << "NODATA" << can11 << three << "0C=- 0D=- 05=-";
        QTest::newRow("damaged digits") << "7E806410C1AF80D3Z" << can11 << three << "0C=- 0D=- 05=-";
        QTest::newRow("no headers") << "410C1AF80D32" << can11 << three << "0C=- 0D=- 05=-";
        QTest::newRow("a PID twice: the first counts")
            << "7E807410D32057B0D99" << can11 << QList<int>{0x0D, 0x05} << "0D=32 05=7B";
        QTest::newRow("legacy buses carry one PID")
            << "486B10410D32057B" << int(HeaderLayout::Legacy) << QList<int>{0x0D, 0x05} << "0D=- 05=-";
    }
    void splitsPerPid() {
        QFETCH(QString, text);
        QFETCH(int, layout);
        QFETCH(QList<int>, pids);
        QFETCH(QString, expected);
        QCOMPARE(split(text, HeaderLayout(layout), pids), expected);
    }

    // The same answers written without headers (ATH0) read alike once their headers are
    // back; damage stays damage, and an adapter that keeps its headers does no harm.
    void headerlessReplies_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("expected");
        const int can11 = int(HeaderLayout::Can11);
        const QString all = QStringLiteral("0C=1AF8 0D=32 05=7B 11=33 0F=52 04=66");
        QTest::newRow("single frame") << "410C1AF80D32" << can11 << "0C=1AF8 0D=32 05=- 11=- 0F=- 04=-";
        QTest::newRow("segmented") << "00E\r0:410C1AF80D32\r1:057B11330F5204\r2:66000000000000" << can11 << all;
        QTest::newRow("29-bit, segmented")
            << "00E\r0:410C1AF80D32\r1:057B11330F5204\r2:66000000000000" << int(HeaderLayout::Can29) << all;
        QTest::newRow("last frame missing")
            << "00E\r0:410C1AF80D32\r1:057B11330F5204" << can11 << "0C=1AF8 0D=32 05=7B 11=33 0F=52 04=-";
        QTest::newRow("frames out of order") << "00E\r0:410C1AF80D32\r2:66000000000000\r1:057B11330F5204" << can11
                                             << "0C=1AF8 0D=32 05=- 11=- 0F=- 04=-";
        QTest::newRow("length line lost")
            << "0:410C1AF80D32\r1:057B11330F5204\r2:66000000000000" << can11 << "0C=- 0D=- 05=- 11=- 0F=- 04=-";
        QTest::newRow("last digit lost") << "410C1AF80D3" << can11 << "0C=- 0D=- 05=- 11=- 0F=- 04=-";
        QTest::newRow("the adapter's word") << "NODATA" << can11 << "0C=- 0D=- 05=- 11=- 0F=- 04=-";
        QTest::newRow("headers kept all the same")
            << "7E8100E410C1AF80D32\r7E821057B11330F5204\r7E82266000000000000" << can11 << all;
        QTest::newRow("29-bit headers kept all the same")
            << "18DAF11006410C1AF80D32" << int(HeaderLayout::Can29) << "0C=1AF8 0D=32 05=- 11=- 0F=- 04=-";
    }
    void headerlessReplies() {
        QFETCH(QString, text);
        QFETCH(int, layout);
        QFETCH(QString, expected);
        const HeaderLayout l = HeaderLayout(layout);
        const QString controller = l == HeaderLayout::Can29 ? QStringLiteral("10") : QStringLiteral("E8");
        QCOMPARE(split(withHeaders(text, controller, l), l, {0x0C, 0x0D, 0x05, 0x11, 0x0F, 0x04}), expected);
    }

    // A pass's PIDs in as few requests as allowed, and among them in the fewest frames:
    // every PID once, no request over its limit.
    void fewestFrames_data() {
        QTest::addColumn<QList<int>>("pids");
        QTest::addColumn<int>("perRequest");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("frames");
        // Ten channels: 6 + 4 as listed take 3 + 2 frames.
        QTest::newRow("ten channels") << QList<int>{0x11, 0x10, 0x0F, 0x0E, 0x0D, 0x0C, 0x03, 0x04, 0x05, 0x06} << 6
                                      << 2 << 4;
        QTest::newRow("one request") << QList<int>{0x0C, 0x0D, 0x05} << 6 << 1 << 2;
        QTest::newRow("thirteen") << QList<int>{0x04, 0x05, 0x06, 0x07, 0x0B, 0x0C, 0x0D,
                                                0x0E, 0x0F, 0x10, 0x11, 0x1F, 0x2F}
                                  << 6 << 3 << 5;
        QTest::newRow("one PID a request") << QList<int>{0x0C, 0x0D} << 1 << 2 << 2;
        QTest::newRow("an unknown PID") << QList<int>{0x0C, 0xFE, 0x0D, 0x05, 0x04, 0x06, 0x0F} << 6 << 2 << 3;
    }
    void fewestFrames() {
        QFETCH(QList<int>, pids);
        QFETCH(int, perRequest);
        QFETCH(int, requests);
        QFETCH(int, frames);
        const QList<QList<int>> groups = fewestFrameGroups(pids, perRequest);
        QCOMPARE(groups.size(), requests);
        QList<int> seen;
        int total = 0;
        for (const QList<int>& group : groups) {
            QVERIFY(!group.isEmpty() && group.size() <= perRequest);
            seen += group;
            int bytes = 1;
            for (const int pid : group)
                bytes += 1 + std::max(answerBytes(pid), 4 * int(answerBytes(pid) == 0));
            total += canFrames(bytes);
        }
        std::sort(seen.begin(), seen.end());
        QList<int> sorted = pids;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(seen, sorted);
        QCOMPARE(total, frames);
        QCOMPARE(fewestFrameGroups(pids, perRequest), groups);
        QCOMPARE((QList<int>{canFrames(7), canFrames(8), canFrames(13), canFrames(14), canFrames(20), canFrames(21)}),
                 (QList<int>{1, 2, 2, 3, 3, 4}));
    }

    // A PID found whole reads as the single-PID reply the controller would have sent, so
    // that recordings keep their lines; nothing at all received means the link is lost.
    void replyLinesAndNothing() {
        const QList<Reply> replies = splitParameterReplies(QStringLiteral("7E806410C1AF80D32"), QStringLiteral("E8"),
                                                           HeaderLayout::Can11, {0x0D, 0x0C});
        QCOMPARE(replies.at(0).text, QStringLiteral("0703E8410D32"));
        QCOMPARE(replies.at(1).text, QStringLiteral("0704E8410C1AF8"));
        for (const Reply& r :
             splitParameterReplies(QStringLiteral("\r"), QStringLiteral("E8"), HeaderLayout::Can11, {0x0D, 0x0C}))
            QVERIFY(r.isEmpty());
    }
};

ZELCOR_TEST(ParameterRepliesTest)
#include "parameterreplies_test.moc"
