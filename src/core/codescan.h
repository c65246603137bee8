#pragma once
// The trouble code stages of the headless scan: stored, pending and permanent codes with their
// explanations, and the freeze frame rows.

#include <QJsonObject>
#include <QString>

namespace zelcor {

class Session;
struct ScanReport;

// Runs the codes pass (254), then the freeze frame pass (248), and fills the report's
// codes and freeze frame rows from what the panels show.
void scanCodes(Session& session, ScanReport& report);

// An explanation from codes.dat on one line: each line without its key, joined by " / ".
// A line without a key (the one saying the file has none for the code) stays whole.
QString oneLineExplanation(const QString& explanation);

// The codes and freeze frame sections of the plain text report.
QString codesText(const ScanReport& report);
// Adds "stored", "pending", "permanent" and "freeze_frame" to the JSON report.
void addCodesJson(const ScanReport& report, QJsonObject& json);

} // namespace zelcor
