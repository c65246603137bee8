#pragma once
// On-board monitoring test results (service 06 on CAN): the monitors a controller
// supports, and each test record converted to its unit.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace zelcor {

struct MonitorTestResult {
    int controller = 0;
    int monitor = 0; // the monitor ID (21: catalyst bank 1)
    int test = 0;    // the test ID
    int scaling = 0; // the unit and scaling ID
    // In the unit; raw numbers when the scaling ID is unknown (then `note` says so).
    double value = 0, minimum = 0, maximum = 0;
    QString units;
    bool passed = false;
    QString note;
};

struct MonitorTestRead {
    QList<MonitorTestResult> tests;
    QString problem; // a record cut short; the complete records before it are kept
};

// The monitor's name ("Catalyst Monitor Bank 1"); "Monitor 5F" for one without a name.
QString monitorTestName(int monitor);

// The monitors a support bitmap (the four bytes after "46 <base>") marks, base + 1 ..
// base + 32; the last of them is the next bitmap.
QList<int> supportedMonitors(int base, const QByteArray& bitmap);

// `message`: the reply to "06 <monitor>" from `controller`, its response byte (46) left
// out: nine bytes a record (monitor, test, scaling ID, value, minimum, maximum).
MonitorTestRead readMonitorTests(int controller, const QByteArray& message);

// The value with as many decimals as its factor needs, and the unit.
QString testValueText(const MonitorTestResult& test, double value);

// Failed tests first, then by controller, monitor and test.
void sortFailedFirst(QList<MonitorTestResult>& tests);

} // namespace zelcor
