#include "core/vehicleinfoscan.h"

#include "core/functiontable.h"
#include "core/scanreport.h"
#include "core/session.h"

#include <QJsonArray>

namespace zelcor {

namespace {

QString hex2(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QJsonValue number(double value) {
    // Whole numbers stay whole; others keep the digits their scaling gives.
    return QJsonValue(QString::number(value, 'g', 10).toDouble());
}

} // namespace

void scanVehicleInfo(Session& session, ScanReport& report) {
    // Detection reads the vehicle information when the car offers it.
    for (const FunctionRow& row : functionTable()) {
        if (row.scan != ScanPart::Information) continue;
        if (session.link().stopRequested()) return;
        if (row.function == Function::VehicleInformation && session.vehicleInfo().infoPanel().read) continue;
        session.navigation().setFunction(row.function);
        session.runPass();
    }
    const VehicleInfoPanel& info = session.vehicleInfo().infoPanel();
    const TestResultsPanel& tests = session.vehicleInfo().testsPanel();
    if (info.read) {
        report.vehicleInfo = info;
        if (!info.vinProblem.isEmpty() && info.supported)
            report.errors.append({QStringLiteral("vin"), info.vinProblem});
        for (const QString& problem : info.problems)
            report.errors.append({QStringLiteral("vehicle_info"), problem});
    }
    if (tests.read) {
        report.testResults = tests;
        for (const QString& problem : tests.problems)
            report.errors.append({QStringLiteral("monitor_tests"), problem});
    }
}

QString vehicleInfoText(const ScanReport& report) {
    QString out;
    if (const auto& info = report.vehicleInfo) {
        out += QStringLiteral("Vehicle Information:\n");
        out += QStringLiteral("  VIN: %1\n")
                   .arg(info->vinController >= 0 ? vinSummary(info->vin)
                                                 : QStringLiteral("(none: %1)").arg(info->vinProblem));
        for (const ControllerInfo& c : info->controllers) {
            out += QStringLiteral("  Controller %1: %2\n")
                       .arg(c.controller)
                       .arg(c.name.isEmpty() ? QStringLiteral("(no name)") : c.name);
            for (const CalibrationEntry& cal : c.calibrations)
                out += QStringLiteral("    Calibration ID %1  CVN %2%3\n")
                           .arg(cal.id, cal.verification.isEmpty() ? QStringLiteral("(none)") : cal.verification,
                                cal.problem.isEmpty() ? QString()
                                                      : QStringLiteral("  (not readable: %1)").arg(cal.problem));
            if (!c.performance.isEmpty()) out += QStringLiteral("    In-use performance:\n");
            for (const PerformanceEntry& entry : c.performance)
                out += QStringLiteral("      %1\n").arg(performanceText(entry));
        }
    }
    if (const auto& tests = report.testResults) {
        out += QStringLiteral("Test Results:\n");
        if (tests->tests.isEmpty()) out += QStringLiteral("  (none)\n");
        for (const MonitorTestResult& t : tests->tests)
            out += QStringLiteral("  %1%2, test %3: %4 (min %5, max %6)%7\n")
                       .arg(t.passed ? QString() : QStringLiteral("FAILED "), monitorTestName(t.monitor), hex2(t.test),
                            testValueText(t, t.value), testValueText(t, t.minimum), testValueText(t, t.maximum),
                            t.note.isEmpty() ? QString() : QStringLiteral("  (%1)").arg(t.note));
    }
    return out;
}

void addVehicleInfoJson(const ScanReport& report, QJsonObject& json) {
    const auto& info = report.vehicleInfo;
    const bool vinShown = info && info->vinController >= 0 && info->vin.valid();
    json[QStringLiteral("vin")] = vinShown ? QJsonValue(info->vin.vin) : QJsonValue(QJsonValue::Null);
    if (vinShown) {
        QJsonObject decoded;
        decoded[QStringLiteral("year")] = info->vin.year ? QJsonValue(info->vin.year) : QJsonValue(QJsonValue::Null);
        decoded[QStringLiteral("region")] = info->vin.region;
        // A VIN from outside North America carries no check digit.
        decoded[QStringLiteral("check_digit_ok")] =
            info->vin.checkDigitApplies ? QJsonValue(info->vin.checkDigitOk) : QJsonValue(QJsonValue::Null);
        json[QStringLiteral("vin_info")] = decoded;
    } else {
        json[QStringLiteral("vin_info")] = QJsonValue(QJsonValue::Null);
    }
    QJsonArray controllers;
    if (info) {
        for (const ControllerInfo& c : info->controllers) {
            QJsonArray calibrations;
            for (const CalibrationEntry& cal : c.calibrations)
                calibrations.append(QJsonObject{
                    {QStringLiteral("id"), cal.problem.isEmpty() ? QJsonValue(cal.id) : QJsonValue(QJsonValue::Null)},
                    {QStringLiteral("cvn"),
                     cal.verification.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(cal.verification)}});
            QJsonArray performance;
            for (const PerformanceEntry& entry : c.performance)
                performance.append(
                    QJsonObject{{QStringLiteral("name"), entry.name},
                                {QStringLiteral("completed"), entry.completed},
                                {QStringLiteral("conditions"),
                                 entry.conditions < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(entry.conditions)}});
            controllers.append(QJsonObject{{QStringLiteral("controller"), QString::number(c.controller)},
                                           {QStringLiteral("name"), c.name},
                                           {QStringLiteral("calibrations"), calibrations},
                                           {QStringLiteral("in_use_performance"), performance}});
        }
    }
    json[QStringLiteral("controllers_info")] = controllers;
    QJsonArray tests;
    if (const auto& results = report.testResults) {
        for (const MonitorTestResult& t : results->tests) {
            QJsonObject item{{QStringLiteral("monitor"), monitorTestName(t.monitor)},
                             {QStringLiteral("test"), hex2(t.test)},
                             {QStringLiteral("value"), number(t.value)},
                             {QStringLiteral("min"), number(t.minimum)},
                             {QStringLiteral("max"), number(t.maximum)},
                             {QStringLiteral("units"), t.units},
                             {QStringLiteral("passed"), t.passed}};
            if (!t.note.isEmpty()) item[QStringLiteral("note")] = t.note;
            tests.append(item);
        }
    }
    json[QStringLiteral("monitor_tests")] = tests;
}

} // namespace zelcor
