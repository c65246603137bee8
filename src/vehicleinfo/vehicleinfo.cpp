#include "vehicleinfo/vehicleinfo.h"

#include "base/datetime.h"
#include "dtc/reportfile.h"
#include "dtc/reports.h"
#include "vehicleinfo/inforeply.h"
#include "vehicleinfo/infotext.h"

#include <QDateTime>
#include <QMap>
#include <algorithm>

namespace zelcor {

namespace {

enum InfoItemId {
    Support = 0x00,
    Vin = 0x02,
    CalibrationIds = 0x04,
    Verifications = 0x06,
    SparkPerformance = 0x08,
    ControllerName = 0x0A,
    CompressionPerformance = 0x0B,
};
constexpr int kCalibrationLength = 16;
constexpr int kCounterLength = 2;
constexpr int kVerificationLength = 4;
const QLatin1String crlf("\r\n");

QString hexCommand(int service, int parameter) {
    return QStringLiteral("%1%2")
        .arg(service, 2, 16, QLatin1Char('0'))
        .arg(parameter, 2, 16, QLatin1Char('0'))
        .toUpper();
}

InfoRead request(PassContext& pass, int service, int parameter) {
    Exchange& exchange = pass.exchange();
    exchange.send(hexCommand(service, parameter));
    // send() waits for the prompt, which ends every controller's answer: no flat wait after
    // it (the code reads keep theirs), or each item would cost a second.
    return readInfoItem(exchange.receiveAll(0.0), exchange.headerLayout(), parameter, service);
}

// The data of a CAN item holding `count` pieces of `size` bytes; legacy data as it came.
// Says so in `problems` when fewer bytes came than announced.
QByteArray pieces(const InfoItem& item, bool can, int size, const QString& what, QStringList& problems) {
    if (!can) return item.data.left(item.data.size() - item.data.size() % size);
    const qsizetype wanted = qsizetype(item.count) * size;
    if (item.data.size() < wanted)
        problems.append(QStringLiteral("controller %1 announced %2 %3 and sent %4 bytes of them")
                            .arg(item.controller)
                            .arg(item.count)
                            .arg(what)
                            .arg(item.data.size()));
    const QByteArray data = item.data.left(wanted);
    return data.left(data.size() - data.size() % size);
}

QString passedText(bool passed) {
    return passed ? QStringLiteral("passed") : QStringLiteral("FAILED");
}

} // namespace

ControllerInfo& VehicleInfo::controllerInfo(int address) {
    for (ControllerInfo& c : info_.controllers)
        if (c.controller == address) return c;
    info_.controllers.append(ControllerInfo{address, {}, {}, {}});
    return info_.controllers.last();
}

void VehicleInfo::clear() {
    info_ = {};
    tests_ = {};
    emit infoChanged();
    emit testsChanged();
}

void VehicleInfo::readVehicleInfo(PassContext& pass) {
    info_ = {};
    emit infoChanged();
    const bool can = pass.exchange().headerLayout() != HeaderLayout::Legacy;
    const InfoRead support = request(pass, 9, Support);
    if (!support.problem.isEmpty()) info_.problems.append(support.problem);
    QList<int> items;
    for (const InfoItem& item : support.items) {
        controllerInfo(item.controller);
        for (const int id : supportedMonitors(0, item.data))
            if (!items.contains(id)) items.append(id);
    }
    info_.supported = !support.items.isEmpty();
    info_.read = true;
    // Some cars answer the VIN without listing what they report: it is asked once on CAN.
    const bool vinUnlisted = !info_.supported && can;
    if (vinUnlisted) items.append(Vin);
    for (const int id :
         {Vin, CalibrationIds, Verifications, SparkPerformance, ControllerName, CompressionPerformance}) {
        if (!items.contains(id) || !pass.mayGoOn()) continue;
        const InfoRead read = request(pass, 9, id);
        if (!read.problem.isEmpty() && !(vinUnlisted && read.items.isEmpty())) info_.problems.append(read.problem);
        for (const InfoItem& item : read.items) {
            ControllerInfo& controller = controllerInfo(item.controller);
            if (id == Vin && info_.vinController < 0) {
                info_.vin = checkVin(item.data);
                info_.vinController = item.controller;
            } else if (id == CalibrationIds) {
                const QByteArray data =
                    pieces(item, can, kCalibrationLength, QStringLiteral("calibration IDs"), info_.problems);
                for (qsizetype at = 0; at < data.size(); at += kCalibrationLength) {
                    const TextItem text = itemText(data.mid(at, kCalibrationLength));
                    controller.calibrations.append(CalibrationEntry{text.text, QString(), text.problem});
                }
            } else if (id == Verifications) {
                const QByteArray data =
                    pieces(item, can, kVerificationLength, QStringLiteral("verification numbers"), info_.problems);
                for (qsizetype n = 0; n * kVerificationLength < data.size(); ++n) {
                    if (n >= controller.calibrations.size())
                        controller.calibrations.append(
                            CalibrationEntry{QString(), QString(), QStringLiteral("no calibration ID came for it")});
                    controller.calibrations[n].verification =
                        verificationText(data.mid(n * kVerificationLength, kVerificationLength));
                }
            } else if (id == SparkPerformance || id == CompressionPerformance) {
                const PerformanceRead counters = readPerformance(
                    id, pieces(item, can, kCounterLength, QStringLiteral("in-use counters"), info_.problems));
                controller.performance = counters.entries;
                if (!counters.problem.isEmpty())
                    info_.problems.append(
                        QStringLiteral("controller %1: %2").arg(item.controller).arg(counters.problem));
            } else if (id == ControllerName) {
                const TextItem text = itemText(item.data);
                controller.name = text.text;
                if (!text.problem.isEmpty())
                    info_.problems.append(
                        QStringLiteral("the name of controller %1: %2").arg(item.controller).arg(text.problem));
            }
        }
    }
    if (info_.vinController < 0)
        info_.vinProblem = !info_.supported      ? QStringLiteral("the vehicle does not report vehicle information")
                           : items.contains(Vin) ? QStringLiteral("no controller sent the VIN it offers")
                                                 : QStringLiteral("the vehicle does not report its VIN");
    else if (!info_.vin.valid())
        info_.vinProblem = info_.vin.problem;
    emit infoChanged();
}

void VehicleInfo::readTestResults(PassContext& pass) {
    tests_ = {};
    emit testsChanged();
    tests_.read = true;
    if (pass.exchange().headerLayout() == HeaderLayout::Legacy) {
        emit testsChanged();
        return;
    }
    // The support bitmaps, 00, 20, 40 ... as long as some controller marks the next one.
    QMap<int, QList<int>> monitors; // controller -> monitors
    for (int base = 0; base <= 0xE0 && pass.mayGoOn(); base += 0x20) {
        const InfoRead read = request(pass, 6, base);
        if (!read.problem.isEmpty()) tests_.problems.append(read.problem);
        bool more = false;
        for (const InfoItem& item : read.items) {
            for (const int monitor : supportedMonitors(base, item.data)) {
                if (monitor == base + 0x20)
                    more = true;
                else
                    monitors[item.controller].append(monitor);
            }
        }
        if (!more) break;
    }
    tests_.supported = !monitors.isEmpty();
    QList<int> asked;
    for (const QList<int>& list : monitors)
        for (const int monitor : list)
            if (!asked.contains(monitor)) asked.append(monitor);
    std::sort(asked.begin(), asked.end());
    for (const int monitor : asked) {
        if (!pass.mayGoOn()) break;
        const InfoRead read = request(pass, 6, monitor);
        if (!read.problem.isEmpty()) tests_.problems.append(read.problem);
        for (const InfoItem& item : read.items) {
            const MonitorTestRead tests = readMonitorTests(item.controller, QByteArray(1, char(monitor)) + item.data);
            tests_.tests.append(tests.tests);
            if (!tests.problem.isEmpty()) tests_.problems.append(tests.problem);
        }
    }
    sortFailedFirst(tests_.tests);
    emit testsChanged();
}

QString VehicleInfo::infoText() const {
    if (!info_.read) return {};
    QString out;
    if (info_.vinController >= 0)
        out += QStringLiteral("VIN: ") + vinSummary(info_.vin) + crlf;
    else
        out += QStringLiteral("VIN: (none: ") + info_.vinProblem + QStringLiteral(")") + crlf;
    for (const ControllerInfo& c : info_.controllers) {
        out += QStringLiteral("Controller %1: %2")
                   .arg(c.controller)
                   .arg(c.name.isEmpty() ? QStringLiteral("(no name)") : c.name) +
               crlf;
        for (const CalibrationEntry& cal : c.calibrations) {
            out += QStringLiteral("   Calibration ID: %1").arg(cal.id);
            if (!cal.problem.isEmpty()) out += QStringLiteral(" (not readable: %1)").arg(cal.problem);
            out += QStringLiteral("   CVN: %1")
                       .arg(cal.verification.isEmpty() ? QStringLiteral("(none)") : cal.verification) +
                   crlf;
        }
        if (!c.performance.isEmpty()) out += QStringLiteral("   In-use performance:") + crlf;
        for (const PerformanceEntry& entry : c.performance)
            out += QStringLiteral("      ") + performanceText(entry) + crlf;
    }
    for (const QString& problem : info_.problems)
        out += QStringLiteral("Could not be read: ") + problem + crlf;
    return out;
}

QString VehicleInfo::testsText() const {
    if (!tests_.read) return {};
    QString out;
    if (!tests_.supported && tests_.problems.isEmpty())
        return QStringLiteral("The vehicle does not report on-board test results.") + crlf;
    for (const MonitorTestResult& t : tests_.tests) {
        out += QStringLiteral("%1%2, test %3 (controller %4): %5, min %6, max %7")
                   .arg(t.passed ? QStringLiteral("   ") : QStringLiteral("** "))
                   .arg(monitorTestName(t.monitor))
                   .arg(t.test, 2, 16, QLatin1Char('0'))
                   .arg(t.controller)
                   .arg(testValueText(t, t.value), testValueText(t, t.minimum), testValueText(t, t.maximum));
        out += QStringLiteral("  ") + passedText(t.passed);
        if (!t.note.isEmpty()) out += QStringLiteral(" (") + t.note + QLatin1Char(')');
        out += crlf;
    }
    for (const QString& problem : tests_.problems)
        out += QStringLiteral("Could not be read: ") + problem + crlf;
    return out;
}

QString VehicleInfo::stamped(const QString& text) const {
    return reportStamp(reportTime_ ? reportTime_() : dateTimeText(QDateTime::currentDateTime())) + text + crlf;
}

void VehicleInfo::copyInfo() {
    host_.setClipboardText(infoText());
}

void VehicleInfo::saveInfo() {
    appendReportFile(host_, FileKind::VehicleInformation, programFolder_, QStringLiteral("vehicle information"),
                     QStringLiteral("vehicle.txt"), [this] { return stamped(infoText()); });
}

void VehicleInfo::copyTests() {
    host_.setClipboardText(testsText());
}

void VehicleInfo::saveTests() {
    appendReportFile(host_, FileKind::TestResults, programFolder_, QStringLiteral("test results"),
                     QStringLiteral("tests.txt"), [this] { return stamped(testsText()); });
}

} // namespace zelcor
