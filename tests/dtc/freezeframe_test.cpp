#include "base/numbers.h"
#include "dtc/freezeframe.h"
#include "testmain.h"

#include <QHash>
#include <QTest>

using namespace zelcor;

namespace {

// A controller at E8 answering "020000" with `bitmap` and a parameter request with
// `answers` (data after the frame number), "NODATA" when it has none. The decoder
// stand-in gives the causing code for PID 02 ("" for 0000) and the line itself otherwise.
struct FakeCar {
    QString bitmap;
    QHash<int, QString> answers;
    QStringList sent = {};
    QStringList explained = {};
    FreezeFrame frame = {};

    bool read() {
        frame.rows[0].label = QStringLiteral("design caption");
        frame.rows[5] = {QStringLiteral("old"), QStringLiteral("old"), true};
        const FreezeFrameServices services{[](int pid) { return QStringLiteral("name ") + hex2(pid); },
                                           [](int pid, const QString& line) {
                                               if (pid != 2) return line;
                                               return line.mid(10, 4) == QLatin1String("0000")
                                                          ? QString()
                                                          : QLatin1Char('P') + line.mid(10, 4);
                                           },
                                           [this](const QString& code) {
                                               explained << code;
                                               return code + QStringLiteral(" explained\r\n");
                                           }};
        return readFreezeFrame(
            frame, QStringLiteral("E8"), [this](const QString& c) { return exchange(c); }, services);
    }
    QString exchange(const QString& command) {
        sent << command;
        if (command == QLatin1String("020000")) return QStringLiteral("0706E8420000") + bitmap;
        const int pid = int(hexval(command.mid(2, 2)));
        if (!answers.contains(pid)) return QStringLiteral("NODATA");
        return QStringLiteral("0706E842") + hex2(pid) + QStringLiteral("00") + answers[pid];
    }
    QStringList shown() const {
        QStringList out;
        for (const FreezeFrameRow& row : frame.rows)
            if (row.visible) out << row.label;
        return out;
    }
};

} // namespace

class FreezeFrameTest : public QObject {
    Q_OBJECT
private slots:
    void causingCodeAndRows() {
        // PIDs 02 to 07, and 1C, 1F and 20, which are never read.
        FakeCar car{"7E000013", {{2, "0133"}, {3, "0200"}, {4, "33"}, {5, "7B"}, {6, "80"}, {7, "81"}}};
        QVERIFY(car.read());
        QCOMPARE(car.sent, (QStringList{"020000", "020200", "020300", "020400", "020500", "020600", "020700"}));
        QCOMPARE(car.shown(), (QStringList{"name 02", "name 03", "name 04", "name 05", "name 06", "name 07"}));
        QCOMPARE(car.frame.rows[0].value, QStringLiteral("P0133"));
        QCOMPARE(car.frame.rows[2].value, QStringLiteral("0706E8410433")); // 42 -> 41, frame number gone
        QCOMPARE(car.explained, QStringList{"P0133"});
        QCOMPARE(car.frame.explanation, QStringLiteral("P0133 explained\r\n"));
    }

    void noFreezeFrameStored() {
        FakeCar car{"7E000000", {{2, "0000"}, {3, "0200"}}};
        QVERIFY(car.read());
        QCOMPARE(car.sent, (QStringList{"020000", "020200"})); // nothing after the empty code
        QCOMPARE(car.shown(), QStringList{"name 02"});
        QCOMPARE(car.frame.explanation, QStringLiteral("THERE IS NO FREEZE FRAME DATA STORED"));
    }

    void silentParameterLeavesItsRow() {
        // 04 does not answer, so 05 takes its row; 06 does not answer either and its row
        // stays shown with an empty value.
        FakeCar car{"3C000000", {{3, "0200"}, {5, "7B"}}};
        QVERIFY(car.read());
        QCOMPARE(car.sent, (QStringList{"020000", "020300", "020400", "020500", "020600"}));
        QCOMPARE(car.shown(), (QStringList{"name 03", "name 05", "name 06"}));
        QCOMPARE(car.frame.rows[1].value, QStringLiteral("0706E841057B"));
        QCOMPARE(car.frame.rows[2].value, QString());
    }

    void atMost22Rows() {
        FakeCar car{"FFFFFFE0", {}};
        for (int pid = 3; pid <= 27; ++pid)
            car.answers[pid] = QStringLiteral("11");
        car.answers[1] = QStringLiteral("11"); // 02 stays silent and makes room for one more request
        QVERIFY(car.read());
        QCOMPARE(car.sent.size(), 1 + 23);
        QCOMPARE(car.shown().size(), 22);
        QCOMPARE(car.frame.rows[21].label, QStringLiteral("name 17"));
    }
};

ZELCOR_TEST(FreezeFrameTest)
#include "freezeframe_test.moc"
