// The vehicle information and test result passes against a scripted adapter whose answers
// are wrong in one way each, and against the simulated adapter damaging its answers. What
// every simulated car answers is in tests/golden/data/*/panels.txt.

#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// "232 ECM-EngineControl [ZC22E10A0327/5E2A91C4]", one per controller, joined by "; ".
QString controllersText(const VehicleInfoPanel& panel) {
    QStringList out;
    for (const ControllerInfo& c : panel.controllers) {
        QStringList calibrations;
        for (const CalibrationEntry& cal : c.calibrations)
            calibrations << cal.id + QLatin1Char('/') + cal.verification;
        out << QStringLiteral("%1 %2 [%3]").arg(c.controller).arg(c.name, calibrations.join(QLatin1Char(',')));
    }
    return out.join(QStringLiteral("; "));
}

QString vinText(const VehicleInfoPanel& panel) {
    return panel.vinController >= 0 ? vinSummary(panel.vin) : QStringLiteral("none: ") + panel.vinProblem;
}

// "monitor test passed|FAILED", in the panel's order.
QStringList testsText(const TestResultsPanel& panel) {
    QStringList out;
    for (const MonitorTestResult& t : panel.tests)
        out << QStringLiteral("%1 %2 %3")
                   .arg(t.monitor, 2, 16, QLatin1Char('0'))
                   .arg(t.test, 2, 16, QLatin1Char('0'))
                   .arg(t.passed ? "passed" : "FAILED");
    return out;
}

} // namespace

class PassesTest : public QObject {
    Q_OBJECT
private slots:
    // Each reply wrong in one way: a clear text, nothing wrong shown as right.
    void badAnswers_data() {
        QTest::addColumn<QStringList>("answers"); // "command=answer"
        QTest::addColumn<QString>("vin");
        QTest::addColumn<QString>("controllers");
        QTest::addColumn<QString>("problems");
        const auto row = [](const char* name, const QStringList& answers, const char* vin,
                            const char* controllers = "232  []", const char* problems = "") {
            QTest::newRow(name) << answers << vin << controllers << problems;
        };
        const QString vinOffered = "0900=7E8 06 49 00 40 00 00 00", calibrationsOnly = "0900=7E8 06 49 00 10 00 00 00";
        row("0900 answered, 0902 not", {vinOffered}, "none: no controller sent the VIN it offers");
        row("VIN not offered, CAL ID padded with FF",
            {calibrationsOnly,
             "0904=7E8 10 13 49 04 01 5A 43 32\r7E8 21 32 45 31 30 41 30 33\r7E8 22 32 37 FF FF FF FF FF"},
            "none: the vehicle does not report its VIN", "232  [ZC22E10A0327/]");
        row("fewer calibration IDs than announced", {calibrationsOnly, "0904=7E8 07 49 04 02 5A 43 32 32"},
            "none: the vehicle does not report its VIN", "232  []",
            "controller 232 announced 2 calibration IDs and sent 4 bytes of them");
        row("short VIN",
            {vinOffered, "0902=7E8 10 0E 49 02 01 31 5A 43\r7E8 21 34 53 31 4D 30 58 4E\r7E8 22 31 00 00 00 00 00 00"},
            "1ZC4S1M0XN1 (not a valid VIN: the VIN has 11 characters, 17 expected)");
        row("VIN frames out of order",
            {vinOffered, "0902=7E8 10 14 49 02 01 31 5A 43\r7E8 22 31 30 30 30 33 32 37\r7E8 21 34 53 31 4D 30 58 4E"},
            "none: no controller sent the VIN it offers", "232  []",
            "the reply of controller 232 ended after 6 of 20 bytes");
        row("no vehicle information at all", {}, "none: the vehicle does not report vehicle information", "");
    }
    void badAnswers() {
        QFETCH(QStringList, answers);
        SessionRig rig;
        for (const QString& pair : answers)
            rig.answers[pair.section('=', 0, 0).toLatin1()] = pair.section('=', 1).toLatin1() + "\r\r>";
        rig.pass(Function::VehicleInformation);
        const VehicleInfoPanel& info = rig.session.vehicleInfo().infoPanel();
        QTEST(vinText(info), "vin");
        QTEST(controllersText(info), "controllers");
        QTEST(info.problems.join("; "), "problems");
        QCOMPARE(rig.session.navigation().function(), Function::Idle);
    }

    // The simulated adapter damaging its segmented answers: what is shown is what the car
    // holds, what could not be read is said, never shown as read.
    void simulatedFaults_data() {
        QTest::addColumn<int>("segmentFrames");
        QTest::addColumn<int>("segmentAnnounce");
        QTest::addColumn<bool>("lowercase");
        QTest::addColumn<bool>("sound"); // everything read
        QTest::newRow("segmented answers end after two frames") << 2 << 0 << false << false;
        QTest::newRow("segmented answers announce more than they hold") << 0 << 300 << false << false;
        QTest::newRow("lower case") << 0 << 0 << true << true;
    }
    void simulatedFaults() {
        QFETCH(bool, sound);
        sim::Options options;
        QFETCH(int, segmentFrames);
        QFETCH(int, segmentAnnounce);
        QFETCH(bool, lowercase);
        options.segmentFrames = segmentFrames;
        options.segmentAnnounce = segmentAnnounce;
        options.lowercase = lowercase;
        CarRig rig(QStringLiteral("can11"), options);
        rig.run(Function::VehicleInformation, Function::VehicleInformation);
        const VehicleInfoPanel& info = rig.session.vehicleInfo().infoPanel();
        QCOMPARE(info.problems.isEmpty(), sound);
        QCOMPARE(info.vin.valid(), sound);
        if (info.vin.valid()) QCOMPARE(info.vin.vin, QStringLiteral("1ZC4S1M0XN1000327"));
        const QStringList held{"ZC22E10A0327/5E2A91C4", "ZC22E10B0115/0B7713F0", "ZC6T40R00211/91D03A7B"};
        for (const ControllerInfo& c : info.controllers) {
            QVERIFY(c.name.isEmpty() || c.name == "ECM-EngineControl" || c.name == "TCM-TransmissionCtrl");
            for (const CalibrationEntry& cal : c.calibrations)
                QVERIFY2(held.contains(cal.id + '/' + cal.verification) ||
                             (cal.id.isEmpty() && cal.problem == "no calibration ID came for it") ||
                             cal.verification.isEmpty(),
                         qPrintable(cal.id + '/' + cal.verification));
        }
        if (sound) QCOMPARE(controllersText(info).count('/'), 3);
    }

    void badTestRecords() {
        SessionRig rig;
        rig.answers["0600"] = "7E8 06 46 00 80 00 00 00\r\r>";
        rig.answers["0601"] = "7E8 10 0C 46 01 81 5E 00 10\r7E8 21 00 00 00 20 01 82 00\r\r>";
        rig.pass(Function::TestResults);
        const TestResultsPanel& panel = rig.session.vehicleInfo().testsPanel();
        QCOMPARE(rig.port.lines, (QList<QByteArray>{"0600", "0601"}));
        QCOMPARE(testsText(panel), QStringList{"01 81 passed"});
        QCOMPARE(panel.tests.first().note, "unknown unit and scaling ID 5E: raw values shown");
        QCOMPARE(panel.problems, QStringList{"a test record of controller 232 was cut short after 2 of 9 bytes"});
    }

    // A save writes the stamped text to the file the user chose, offering its own name. (That
    // it appends, as every report does, is in the trouble code tests; Copy in the panel tests.)
    void saves() {
        CarRig rig(QStringLiteral("can11"));
        rig.run(Function::VehicleInformation, Function::VehicleInformation);
        VehicleInfo& info = rig.session.vehicleInfo();
        info.setReportTime([] { return QStringLiteral("12/5/2026 7:30:00 AM"); });
        rig.host.saveAnswer = rig.dir.filePath("saved.txt");
        info.saveInfo();
        const QString stamp = "******* 12/5/2026 7:30:00 AM *******\r\n" + QString(36, '*') + "\r\n";
        QVERIFY(QString::fromLatin1(fileText(rig.host.saveAnswer)).contains(stamp + info.infoText()));
        QCOMPARE(rig.host.saveRequests.last().proposedPath, rig.dir.filePath("vehicle.txt"));
        QCOMPARE(rig.host.saveRequests.last().kind, FileKind::VehicleInformation);
        info.saveTests();
        QCOMPARE(rig.host.saveRequests.last().proposedPath, rig.dir.filePath("tests.txt"));
        QCOMPARE(rig.host.saveRequests.last().kind, FileKind::TestResults);
    }
};

ZELCOR_TEST(PassesTest)
#include "passes_test.moc"
