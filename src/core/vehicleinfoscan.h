#pragma once
// The vehicle information stages of the headless scan: VIN, controllers' calibrations and
// names, and the on-board monitors' test results.

#include <QJsonObject>
#include <QString>

namespace zelcor {

class Session;
struct ScanReport;

// Runs the vehicle information pass, then the test results pass, and keeps what they read.
void scanVehicleInfo(Session& session, ScanReport& report);

// The "Vehicle Information" and "Test Results" sections of the plain text report.
QString vehicleInfoText(const ScanReport& report);
// Adds "vin", "vin_info", "controllers_info" and "monitor_tests" to the JSON report.
void addVehicleInfoJson(const ScanReport& report, QJsonObject& json);

} // namespace zelcor
