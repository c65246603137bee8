#include "dtc/reports.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QHash>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QString when = QStringLiteral("12/5/2026 7:30:00 AM"); // 20 characters: 36 asterisks
const QString stars(36, QLatin1Char('*'));
const QString stamp = "\r\n" + stars + "\r\n******* 12/5/2026 7:30:00 AM *******\r\n" + stars + "\r\n";
const QString indent(15, QLatin1Char(' '));

} // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void codeReport_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QStringList>("lookups");
        QTest::newRow("codes with explanations")
            << closed({"P0133       232", "P0196       232"}) << closed({"P0420       16"})
            << indent + "P0133       232\r\n" + indent + "P0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\n\r\n" + indent +
                   "P0196       232\r\n\r\nPENDING CODES\r\n\r\n" + indent + "P0420       16\r\n" +
                   "   P0420 Catalyst\r\n\r\n"
            << QStringList{"P0133 ", "P0196 ", "P0420 "};
        QTest::newRow("no codes") << closed({}) << QStringList{"--- Reading ---"} << "\r\nPENDING CODES\r\n\r\n"
                                  << QStringList{};
        QTest::newRow("blank items looked up, not written")
            << closed({"", "      "}) << closed({}) << indent + "      note\r\n\r\n\r\nPENDING CODES\r\n\r\n"
            << QStringList{"", "      "};
    }
    void codeReport() {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, pending);
        QFETCH(QString, body);
        const QHash<QString, QString> explanations{
            {"P0133 ", "P0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\n"},
            {"P0420 ", "P0420 Catalyst\r\n"},
            {"      ", "      note\r\n"},
        };
        QStringList lookedUp;
        const auto explain = [&](const QString& first6) {
            lookedUp << first6;
            return explanations.value(first6);
        };
        QCOMPARE(zelcor::codeReport(when, stored, pending, explain), stamp + "STORED CODES\r\n\r\n" + body);
        QTEST(lookedUp, "lookups");
    }

    void freezeFrame() {
        QList<FreezeFrameRow> rows(FreezeFrame::rowCount);
        rows[0] = {"Freeze Frame DTC", "P0133", true};
        rows[1] = {"Engine RPM", "1726 rpm", true};
        rows[2] = {"Hidden", "x", false};
        rows[3] = {"Vehicle Speed", "62 MPH", true};
        rows[22] = {"Beyond the rows shown", "y", true};
        QCOMPARE(freezeFrameReport(when, rows, QStringLiteral("P0133 O2 Sensor\r\n")),
                 stamp + "Freeze Frame DTC: P0133\r\nDTC Explanation:\r\nP0133 O2 Sensor\r\n\r\n"
                         "Sensors:\r\nEngine RPM: 1726 rpm\r\nVehicle Speed: 62 MPH\r\n\r\n\r\n");
        const FreezeFrame empty;
        QCOMPARE(freezeFrameReport(when, empty.rows, empty.explanation),
                 stamp + ": \r\nDTC Explanation:\r\n\r\nSensors:\r\n\r\n\r\n");
    }
};

ZELCOR_TEST(ReportsTest)
#include "reports_test.moc"
