#pragma once
// The headless scan: connects like CONNECT, runs detection and the passes the report
// needs, and renders what it read as plain text or JSON.

#include "definitions/parameterreport.h"
#include "link/capabilities.h"
#include "modules/modulescan.h"
#include "vehicleinfo/vehicleinfo.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

class Session;

struct ScanPid {
    int pid = 0;
    QString name;
    QString text;
    std::optional<double> value;
    QString units;
};

// One live-data channel's last reading.
struct ScanLive {
    int code = 0; // channel code: PID, or 997..999 for the derived channels
    QString name;
    QString text;
    std::optional<double> value;
    QString units;
};

// The live channels' readings after one pass, `t` seconds into the live stage.
struct ScanSample {
    double t = 0;
    QList<QPair<int, std::optional<double>>> values; // channel code, number read (none: no reading)
    QList<std::optional<double>> extended;           // the manufacturer parameters, in report order
};

// A trouble code as the codes panel lists it; the explanation on one line.
struct ScanCode {
    QString code;
    QString controller; // decimal address
    QString explanation;
};

// A freeze frame row: parameter name and decoded value.
struct ScanFreezeRow {
    QString name;
    QString value;
};

// What could not be read, and where: "stored", "pending", "freeze_frame", "connection".
struct ScanError {
    QString stage;
    QString message;
};

struct ScanReport {
    QString protocol;
    QStringList controllers; // decimal addresses
    QString selected;        // the decimal address shown as the current one
    QString mil;
    int codeCount = 0;
    QStringList continuous, nonContinuous, incomplete;
    QList<ScanPid> pids;
    bool codesRead = false;                // the trouble code stages ran
    QList<ScanCode> stored, pending;       // trouble codes
    QString storedProblem, pendingProblem; // why a list could not be read; empty when it was
    QList<ScanCode> permanent;             // permanent codes
    QString permanentProblem;
    QList<ScanFreezeRow> freezeFrame;
    QString freezeExplanation;      // of the code that caused the freeze frame, or that none is stored
    QString freezeProblem;          // why the freeze frame could not be read; empty when it was
    QList<ScanError> errors;        // everything that could not be read
    QList<ScanLive> live;           // with --live: the polled channels
    QList<ScanSample> samples;      // with --live: every pass
    std::optional<double> passRate; // with --live: live-data passes per second
    // With --live: the most passes per second the line, the adapter and the controller
    // allow for the same requests; none when the line's rate is not known to bound them.
    std::optional<double> boundRate;
    // With --live: how the live values were asked (fast polling and what the adapter could do).
    struct Polling {
        bool fast = false;
        bool ownHeader = false;
        bool responseCount = false;
        int pidsPerRequest = 1;
    } polling;
    std::optional<VehicleInfoPanel> vehicleInfo; // the vehicle information stage ran
    std::optional<TestResultsPanel> testResults; // the test results stage ran
    std::optional<QList<ModuleResult>> modules;  // with --modules: every module that answered
    QString modulesProblem;                      // why the whole-car scan stopped short
    // With --parameters: every manufacturer parameter loaded, as one pass read it.
    std::optional<QList<ParameterReading>> extended;
    QString extendedProblem; // why that pass stopped short
    // What the connection learned about the adapter; none when no adapter was found.
    std::optional<AdapterReport> adapter;

    QString text() const;
    QJsonObject json() const;
    // Something was read (the connection reached the car).
    bool hasContent() const { return !protocol.isEmpty() || !controllers.isEmpty(); }
};

// Runs the scan on a session whose port is set up; returns the exit status:
// 0 success, 2 no adapter, 3 no vehicle.
// With `liveSeconds` > 0 the first ten channels are then polled for that long; with `modules`
// every module of the car is asked for its codes before that, and with `parameters` the
// manufacturer parameters of that plan are read once.
int runScan(Session& session, ScanReport& report, double liveSeconds = 0, bool modules = false,
            const RequestPlan* parameters = nullptr);

} // namespace zelcor
