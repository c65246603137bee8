#include "base/numbers.h"
#include "dtc/freezeframe.h"
#include "testmain.h"

#include <QHash>
#include <QTest>

using namespace zelcor;

namespace {

QString name(int pid) {
    return QStringLiteral("name ") + hex2(pid);
}

// Stands in for the parameter decoder: the causing code of PID 02 ("" for 0000), the
// line itself for other PIDs, so the rewritten line can be checked.
QString decode(int pid, const QString& line) {
    if (pid == 2) {
        const QString code = line.mid(10, 4);
        return code == QLatin1String("0000") ? QString() : QLatin1Char('P') + code;
    }
    return line;
}

// A controller answering "020000" with `bitmap` and every other request with
// `answers`, "NODATA" when it has none.
struct FakeController {
    QString bitmap;
    QHash<int, QString> answers; // PID -> data bytes after the frame number
    QStringList sent = {};

    QString exchange(const QString& command) {
        sent << command;
        if (command == QLatin1String("020000")) return QStringLiteral("0706E8420000") + bitmap;
        const int pid = int(hexval(command.mid(2, 2)));
        if (!answers.contains(pid)) return QStringLiteral("NODATA");
        return QStringLiteral("0706E842") + hex2(pid) + QStringLiteral("00") + answers[pid];
    }
};

struct Result {
    bool read = false;
    FreezeFrame frame;
    QStringList explained;
};

Result run(FakeController& car, const QString& ecuaddr = QStringLiteral("E8")) {
    Result r;
    r.frame.rows[0].label = QStringLiteral("design caption");
    r.frame.rows[5] = {QStringLiteral("old"), QStringLiteral("old"), true};
    r.frame.explanation = QStringLiteral("old");
    const FreezeFrameServices services{name, decode, [&](const QString& code) {
                                           r.explained << code;
                                           return code + QStringLiteral(" explained\r\n");
                                       }};
    r.read = readFreezeFrame(
        r.frame, ecuaddr, [&](const QString& c) { return car.exchange(c); }, services);
    return r;
}

QStringList labels(const FreezeFrame& frame) {
    QStringList out;
    for (const FreezeFrameRow& row : frame.rows)
        if (row.visible) out << row.label;
    return out;
}

} // namespace

class FreezeFrameTest : public QObject {
    Q_OBJECT
private slots:
    void bitmap_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QList<int>>("pids");
        QTest::newRow("02 to 07") << "0706E84200007E000000" << QList<int>{2, 3, 4, 5, 6, 7};
        QTest::newRow("never read") << "0706E842000040000013" << QList<int>{2};
        QTest::newRow("last byte") << "0706E8420000000000E0" << QList<int>{25, 26, 27};
        QTest::newRow("frame number not a bit map") << "0706E84200FF00000000" << QList<int>{};
        QTest::newRow("no bit map") << "0706E8420000" << QList<int>{};
    }
    void bitmap() {
        QFETCH(QString, reply);
        QFETCH(QList<int>, pids);
        QCOMPARE(freezeFramePids(reply), pids);
    }

    void rewrite() {
        QCOMPARE(asServiceOneReply(QStringLiteral("0706E84202000133")), QStringLiteral("0706E841020133"));
        QCOMPARE(freezeFrameRequest(0x0C), QStringLiteral("020C00"));
    }

    void causingCodeAndRows() {
        FakeController car{QStringLiteral("7E000000"),
                           {{2, "0133"}, {3, "0200"}, {4, "33"}, {5, "7B"}, {6, "80"}, {7, "81"}}};
        const Result r = run(car);
        QVERIFY(r.read);
        QCOMPARE(car.sent, (QStringList{"020000", "020200", "020300", "020400", "020500", "020600", "020700"}));
        QCOMPARE(labels(r.frame), (QStringList{"name 02", "name 03", "name 04", "name 05", "name 06", "name 07"}));
        QCOMPARE(r.frame.rows[0].value, QStringLiteral("P0133"));
        QCOMPARE(r.frame.rows[2].value, QStringLiteral("0706E8410433")); // "42" -> "41", frame number gone
        QCOMPARE(r.explained, QStringList{"P0133"});
        QCOMPARE(r.frame.explanation, QStringLiteral("P0133 explained\r\n"));
    }

    void noFreezeFrameStored() {
        FakeController car{QStringLiteral("7E000000"), {{2, "0000"}, {3, "0200"}}};
        const Result r = run(car);
        QCOMPARE(car.sent, (QStringList{"020000", "020200"}));
        QCOMPARE(labels(r.frame), QStringList{"name 02"});
        QCOMPARE(r.frame.rows[0].value, QString());
        QCOMPARE(r.frame.explanation, QStringLiteral("THERE IS NO FREEZE FRAME DATA STORED"));
        QVERIFY(r.explained.isEmpty());
    }

    void silentParameterLeavesItsRow() {
        // PID 04 does not answer: 05 takes its row; the last one does not answer either,
        // so its row stays shown with an empty value.
        FakeController car{QStringLiteral("3C000000"), {{3, "0200"}, {5, "7B"}}};
        const Result r = run(car);
        QCOMPARE(car.sent, (QStringList{"020000", "020300", "020400", "020500", "020600"}));
        QCOMPARE(labels(r.frame), (QStringList{"name 03", "name 05", "name 06"}));
        QCOMPARE(r.frame.rows[1].value, QStringLiteral("0706E841057B"));
        QCOMPARE(r.frame.rows[2].value, QString());
    }

    void atMost22Rows() {
        FakeController car{QStringLiteral("FFFFFFE0"), {}};
        for (int pid = 1; pid <= 27; ++pid)
            car.answers[pid] = QStringLiteral("11");
        car.answers.remove(2); // a silent parameter makes room for one more request
        const Result r = run(car);
        QCOMPARE(car.sent.size(), 1 + 23);
        QCOMPARE(car.sent.last(), QStringLiteral("021700"));
        QCOMPARE(labels(r.frame).size(), 22);
        QCOMPARE(r.frame.rows[21].label, QStringLiteral("name 17"));
    }

    void otherControllerLeavesPanelEmpty() {
        FakeController car{QStringLiteral("7E000000"), {{2, "0133"}}};
        const Result r = run(car, QStringLiteral("10"));
        QVERIFY(!r.read);
        QCOMPARE(car.sent, QStringList{"020000"});
        QCOMPARE(labels(r.frame), QStringList{"design caption"}); // row 0 keeps its label
        QCOMPARE(r.frame.rows[0].value, QString());
        QCOMPARE(r.frame.explanation, QString());
    }

    void rowShownBeforeItsRequest() {
        FreezeFrame frame;
        FreezeFrameReader reader(frame, {name, decode, {}});
        QVERIFY(reader.start(QStringLiteral("0706E842000010000000"), QStringLiteral("E8")));
        QCOMPARE(reader.nextRequest(), QStringLiteral("020400"));
        QCOMPARE(frame.rows[0].label, QStringLiteral("name 04"));
        QVERIFY(frame.rows[0].visible);
        reader.takeReply(QStringLiteral("0706E842040033"));
        QCOMPARE(reader.nextRequest(), QString());
    }
};

ZELCOR_TEST(FreezeFrameTest)
#include "freezeframe_test.moc"
