#pragma once
// Vehicle information and on-board test results: the VIN, each controller's name,
// calibration IDs and verification numbers, and the monitors' test results, with their
// passes and reports.

#include "base/host.h"
#include "link/passcontext.h"
#include "vehicleinfo/monitortests.h"
#include "vehicleinfo/performance.h"
#include "vehicleinfo/vin.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

namespace zelcor {

struct CalibrationEntry {
    QString id;           // padding removed
    QString verification; // eight hex digits; empty when the controller sent none for it
    QString problem;      // why the ID is no text; empty when it is one
};

struct ControllerInfo {
    int controller = 0; // address
    QString name;       // "ECM-EngineControl"; empty when not reported
    QList<CalibrationEntry> calibrations;
    QList<PerformanceEntry> performance; // in-use performance counters; empty when not reported
};

// What the Vehicle Information panel shows.
struct VehicleInfoPanel {
    bool read = false;      // the pass ran
    bool supported = false; // some controller answered for its supported items
    VinCheck vin;
    int vinController = -1;
    QString vinProblem; // why no VIN is shown: not reported, or not readable
    QList<ControllerInfo> controllers;
    QStringList problems; // replies that could not be trusted
};

// What the Test Results panel shows.
struct TestResultsPanel {
    bool read = false;
    bool supported = false;
    QList<MonitorTestResult> tests; // failed tests first
    QStringList problems;
};

class VehicleInfo : public QObject {
    Q_OBJECT
public:
    VehicleInfo(Host& host, const QString& programFolder) : host_(host), programFolder_(programFolder) {}

    const VehicleInfoPanel& infoPanel() const { return info_; }
    const TestResultsPanel& testsPanel() const { return tests_; }

    // Service 09: the supported items, then the VIN, calibration IDs, verification
    // numbers and controller names.
    void readVehicleInfo(PassContext& pass);
    // Service 06 on CAN: the supported monitors, then each monitor's test results.
    void readTestResults(PassContext& pass);

    // Detection forgets what was read before.
    void clear();

    // The panels as text, one item a line (CR LF), for Copy and Save to file.
    QString infoText() const;
    QString testsText() const;

    // Copy puts the panel's text on the clipboard; Save to file appends it, under the
    // date stamp, to the file the user chooses.
    void copyInfo();
    void saveInfo();
    void copyTests();
    void saveTests();
    // The date and time stamped on saved reports; the current time when unset.
    void setReportTime(std::function<QString()> reportTime) { reportTime_ = std::move(reportTime); }

signals:
    void infoChanged();
    void testsChanged();

private:
    ControllerInfo& controllerInfo(int address);

    QString stamped(const QString& text) const;

    Host& host_;
    const QString programFolder_;
    VehicleInfoPanel info_;
    TestResultsPanel tests_;
    std::function<QString()> reportTime_;
};

} // namespace zelcor
