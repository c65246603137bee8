#include "dtc/reports.h"
#include "testmain.h"

#include <QHash>
#include <QTest>

using namespace zelcor;

namespace {

const QString when = QStringLiteral("12/5/2026 7:30:00 AM"); // 20 characters
const QString stars(36, QLatin1Char('*'));
const QString stamp = "\r\n" + stars + "\r\n******* 12/5/2026 7:30:00 AM *******\r\n" + stars + "\r\n";
const QString indent(15, QLatin1Char(' '));

QStringList closed(QStringList items) {
    return items << QString() << QStringLiteral("--- End of list ---");
}

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void stampLines() {
        QCOMPARE(reportStamp(when), stamp);
        QCOMPARE(reportStamp(QString()),
                 QStringLiteral("\r\n****************\r\n*******  *******\r\n****************\r\n"));
    }

    void codeReportLayout() {
        const QHash<QString, QString> explanations{
            {QStringLiteral("P0133 "), QStringLiteral("P0133 O2 Sensor Slow\r\nP0133 (Bank 1 Sensor 1)\r\n")},
            {QStringLiteral("P0420 "), QStringLiteral("P0420 Catalyst\r\n")},
        };
        QStringList lookedUp;
        const auto explain = [&](const QString& first6) {
            lookedUp << first6;
            return explanations.value(first6);
        };
        const QStringList stored = closed({"P0133       232", "P0196       232"});
        const QStringList pending = closed({"P0420       16"});

        const QString expected = stamp + "STORED CODES\r\n\r\n" +                                     //
                                 indent + "P0133       232\r\n" +                                     //
                                 indent + "P0133 O2 Sensor Slow\r\nP0133 (Bank 1 Sensor 1)\r\n\r\n" + //
                                 indent + "P0196       232\r\n" +                                     //
                                 "\r\nPENDING CODES\r\n\r\n" +                                        //
                                 indent + "P0420       16\r\n" +                                      //
                                 "   P0420 Catalyst\r\n\r\n";
        QCOMPARE(codeReport(when, stored, pending, explain), expected);
        QCOMPARE(lookedUp, (QStringList{"P0133 ", "P0196 ", "P0420 "}));
    }

    void codeReportItems_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("storedPart");
        QTest::addColumn<QStringList>("lookups");
        QTest::newRow("no codes") << closed({}) << "" << QStringList{};
        QTest::newRow("only a marker") << QStringList{"--- Reading ---"} << "" << QStringList{};
        QTest::newRow("blank item looked up, not written")
            << closed({"", "P0133       16"}) << indent + "P0133       16\r\n"
            << QStringList{"", "P0133 "};
        QTest::newRow("blank item with an explanation") << closed({"      "}) << indent + "      note\r\n\r\n"
                                                        << QStringList{"      "};
        QTest::newRow("erase marker after the list")
            << QStringList{"P0133       16", "", "--- End of list ---", "--- Erasing ---"}
            << indent + "P0133       16\r\n"
            << QStringList{"P0133 ", ""};
    }
    void codeReportItems() {
        QFETCH(QStringList, stored);
        QFETCH(QString, storedPart);
        QFETCH(QStringList, lookups);
        QStringList lookedUp;
        const auto explain = [&](const QString& first6) {
            lookedUp << first6;
            return first6 == QLatin1String("      ") ? QStringLiteral("      note\r\n") : QString();
        };
        QCOMPARE(codeReport(when, stored, closed({}), explain),
                 stamp + "STORED CODES\r\n\r\n" + storedPart + "\r\nPENDING CODES\r\n\r\n");
        QCOMPARE(lookedUp, lookups);
    }

    void freezeFrameLayout() {
        QList<FreezeFrameRow> rows(FreezeFrame::rowCount);
        rows[0] = {"Freeze Frame DTC", "P0133", true};
        rows[1] = {"Engine RPM", "1726 rpm", true};
        rows[2] = {"Hidden", "x", false};
        rows[3] = {"Vehicle Speed", "62 MPH", true};
        rows[22] = {"Beyond the rows shown", "y", true};
        const QString expected = stamp + "Freeze Frame DTC: P0133\r\nDTC Explanation:\r\nP0133 O2 Sensor\r\n\r\n"
                                         "Sensors:\r\nEngine RPM: 1726 rpm\r\nVehicle Speed: 62 MPH\r\n\r\n\r\n";
        QCOMPARE(freezeFrameReport(when, rows, QStringLiteral("P0133 O2 Sensor\r\n")), expected);
    }

    void freezeFrameEmptyPanel() {
        const FreezeFrame empty;
        QCOMPARE(freezeFrameReport(when, empty.rows, empty.explanation),
                 stamp + ": \r\nDTC Explanation:\r\n\r\nSensors:\r\n\r\n\r\n");
    }

    void extension_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("expected");
        QTest::newRow("added") << "/home/u/errors"
                               << ".txt"
                               << "/home/u/errors.txt";
        QTest::newRow("kept") << "/home/u/errors.txt"
                              << ".txt"
                              << "/home/u/errors.txt";
        QTest::newRow("upper case kept") << "/home/u/ERRORS.TXT"
                                         << ".txt"
                                         << "/home/u/ERRORS.TXT";
        QTest::newRow("other extension") << "/home/u/freeze.log"
                                         << ".txt"
                                         << "/home/u/freeze.log.txt";
        QTest::newRow("no dot before it") << "/home/u/atxt"
                                          << ".txt"
                                          << "/home/u/atxt.txt";
        QTest::newRow("csv without dot") << "drive"
                                         << "csv"
                                         << "drive.csv";
    }
    void extension() {
        QFETCH(QString, path);
        QFETCH(QString, ext);
        QFETCH(QString, expected);
        QCOMPARE(withExtension(path, ext), expected);
    }
};

ZELCOR_TEST(ReportsTest)
#include "reports_test.moc"
