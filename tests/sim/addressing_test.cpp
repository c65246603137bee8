// The adapter's request header and receive filter, several PIDs in one request, the
// response count, and the cheap adapter copy that can do none of it.

#include "simharness.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using test::SimHarness;
using test::simOptions;
using B = QByteArray;

class AddressingTest : public QObject {
    Q_OBJECT
private slots:
    // What the adapter prints for a request after a set-up (answers dropped).
    void answers_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<B>("request");
        QTest::addColumn<B>("expected");
        const B none = "NO DATA\r\r>";
        QTest::newRow("functional: both") << "can11"
                                          << "" << B("010D") << B("7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>");
        QTest::newRow("engine's header") << "can11"
                                         << "ATSH7E0" << B("010D") << B("7E8 03 41 0D 00\r\r>");
        QTest::newRow("gearbox's header") << "can11"
                                          << "ATSH7E1" << B("010D") << B("7E9 03 41 0D 00\r\r>");
        QTest::newRow("nobody's header") << "can11"
                                         << "ATSH7E5" << B("010D") << none;
        QTest::newRow("functional again")
            << "can11"
            << "ATSH7E0 ATSH7DF" << B("010D") << B("7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>");
        QTest::newRow("reset forgets the header")
            << "can11"
            << "ATSH7E0 ATZ ATE0 ATL0 ATH1 0100" << B("010D") << B("7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>");
        QTest::newRow("filter alone") << "can11"
                                      << "ATCRA7E9" << B("010D") << B("7E9 03 41 0D 00\r\r>");
        QTest::newRow("filter shuts out the one asked") << "can11"
                                                        << "ATSH7E0 ATCRA7E9" << B("010D") << none;
        QTest::newRow("filter cleared") << "can11"
                                        << "ATCRA7E9 ATCRA" << B("010D") << B("7E8 03 41 0D 00\r7E9 03 41 0D 00\r\r>");
        QTest::newRow("29-bit header and filter")
            << "can29"
            << "ATSHDA10F1 ATCRA18DAF110" << B("010D") << B("18 DA F1 10 03 41 0D 00\r\r>");
        QTest::newRow("29-bit header in full") << "can29"
                                               << "ATSH18DA18F1" << B("010D") << B("18 DA F1 18 03 41 0D 00\r\r>");
        QTest::newRow("legacy ignores the header")
            << "legacy"
            << "ATSH686AF1" << B("010D") << B("48 6B 10 41 0D 00 11\r48 6B 18 41 0D 00 19\r\r>");
        QTest::newRow("several PIDs, one frame") << "can11"
                                                 << "ATSH7E0" << B("010D1C1") << B("7E8 05 41 0D 00 1C 01\r\r>");
        QTest::newRow("several PIDs, segmented")
            << "can11"
            << "ATSH7E0" << B("01000D1C1") << B("7E8 10 0A 41 00 BE 3F A8 13\r7E8 21 0D 00 1C 01 00 00 00\r\r>");
        QTest::newRow("only the PIDs it has") << "can11"
                                              << "ATSH7E1" << B("01000D0B")
                                              << B("7E9 10 08 41 00 88 18 "
                                                   "00 10\r7E9 21 0D 00 55 "
                                                   "55 55 55 55\r\r>");
        QTest::newRow("clone: several PIDs refused") << "clone"
                                                     << "ATSH7E0" << B("010D1C") << B("?\r\r>");
        QTest::newRow("clone: one PID") << "clone"
                                        << "ATSH7E0" << B("010D1") << B("7E8 03 41 0D 00\r\r>");
        QTest::newRow("clone: no adaptive timing") << "clone"
                                                   << "" << B("ATAT2") << B("?\r\r>");
        QTest::newRow("malformed header") << "can11"
                                          << "" << B("ATSH12") << B("?\r\r>");
        QTest::newRow("malformed filter") << "can11"
                                          << "" << B("ATCRA7E") << B("?\r\r>");
    }
    void answers() {
        QFETCH(QString, profile);
        QFETCH(QString, setup);
        QFETCH(B, request);
        QFETCH(B, expected);
        SimHarness car(simOptions(profile));
        car.setup(QStringLiteral("ATE0 ATL0 ATH1 0100 ") + setup);
        QCOMPARE(car.ask(request), expected);
    }

    // With the adapter's timing: the response count ends the wait at the reply; the
    // copy waits out its whole time-out all the same, shortened only by AT ST.
    void responseCountTiming_data() {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<double>("least");
        QTest::addColumn<double>("most");
        const double timeout = 0x32 * 0.004096;
        QTest::newRow("count heard") << "can11"
                                     << "ATSH7E0" << 0.0 << 0.03;
        QTest::newRow("clone ignores it") << "clone"
                                          << "ATSH7E0" << timeout << timeout + 0.03;
        QTest::newRow("clone, shorter time-out") << "clone"
                                                 << "ATSH7E0 ATST19" << timeout / 2 << timeout / 2 + 0.03;
    }
    void responseCountTiming() {
        QFETCH(QString, profile);
        QFETCH(QString, setup);
        QFETCH(double, least);
        QFETCH(double, most);
        SimHarness car(simOptions(profile, 0, true));
        car.setup(QStringLiteral("ATE0 ATL0 ATH1 0100 ") + setup);
        const test::Answer answer = car.exchange("010D1\r");
        QVERIFY2(answer.took() >= least && answer.took() <= most, qPrintable(QString::number(answer.took())));
    }
};

ZELCOR_TEST(AddressingTest)
#include "addressing_test.moc"
