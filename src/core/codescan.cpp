#include "core/codescan.h"

#include "core/scanreport.h"
#include "core/session.h"
#include "dtc/codereply.h"
#include "dtc/explaincode.h"
#include "link/helptexts.h"

#include <QJsonArray>

namespace zelcor {

namespace {

// The code items of a list as read: everything but the empty item and the end marker.
QList<ScanCode> listedCodes(const QStringList& items, const QString& folder, bool& errorShown, Host& host) {
    QList<ScanCode> codes;
    for (qsizetype i = 0; i + 2 < items.size(); ++i) {
        const QString& item = items[i];
        if (item.trimmed().isEmpty()) continue;
        int error = 0;
        const QString explanation = explainCode(item.left(6), folder, &error);
        if (error != 0 && !errorShown) {
            // Once per scan: every further lookup would fail the same way.
            host.message(codesFileErrorText(error, folder, helpUrl(), supportEmail()), codesFileErrorTitle,
                         MessageIcon::Critical);
            errorShown = true;
        }
        codes.append({item.left(5), item.mid(5).trimmed(), oneLineExplanation(explanation)});
    }
    return codes;
}

QString codeLines(const QList<ScanCode>& codes, const QString& problem) {
    if (!problem.isEmpty()) return QStringLiteral("  ") + unreadableCodesText + problem + QLatin1Char('\n');
    if (codes.isEmpty()) return QStringLiteral("  (none)\n");
    QString out;
    for (const ScanCode& c : codes)
        out += QStringLiteral("  %1  %2  %3\n")
                   .arg(c.code, -5)
                   .arg(c.controller, -3)
                   .arg(c.explanation.isEmpty() ? missingExplanationText(c.code) : c.explanation);
    return out;
}

QJsonArray codesArray(const QList<ScanCode>& codes) {
    QJsonArray list;
    for (const ScanCode& c : codes)
        list.append(QJsonObject{{QStringLiteral("code"), c.code},
                                {QStringLiteral("controller"), c.controller},
                                {QStringLiteral("explanation"), c.explanation}});
    return list;
}

} // namespace

QString oneLineExplanation(const QString& explanation) {
    QStringList parts;
    for (const QString& line : explanation.split(QStringLiteral("\r\n"))) {
        // A line of the file starts with its key; a line saying there is none does not.
        const QString text = (isTroubleCode(line.left(5)) ? line.mid(6) : line).trimmed();
        if (!text.isEmpty()) parts.append(text);
    }
    return parts.join(QStringLiteral(" / "));
}

void scanCodes(Session& session, ScanReport& report) {
    Link& link = session.link();
    if (link.stopRequested()) return;
    session.navigation().setFunction(Function::TroubleCodes);
    session.runPass();
    bool errorShown = false;
    const CodesPanel& codes = session.codes().codesPanel();
    report.stored = listedCodes(codes.stored, session.programFolder(), errorShown, session.host());
    report.pending = listedCodes(codes.pending, session.programFolder(), errorShown, session.host());
    report.permanent = listedCodes(codes.permanent, session.programFolder(), errorShown, session.host());
    report.storedProblem = codes.storedProblem;
    report.pendingProblem = codes.pendingProblem;
    report.permanentProblem = codes.permanentProblem;
    if (!codes.storedProblem.isEmpty()) report.errors.append({QStringLiteral("stored"), codes.storedProblem});
    if (!codes.pendingProblem.isEmpty()) report.errors.append({QStringLiteral("pending"), codes.pendingProblem});
    if (!codes.permanentProblem.isEmpty()) report.errors.append({QStringLiteral("permanent"), codes.permanentProblem});
    report.codesRead = true;

    if (link.stopRequested()) return;
    session.navigation().setFunction(Function::FreezeFrame);
    session.runPass();
    report.freezeFrame.clear();
    const FreezeFrame& freeze = session.codes().freezeFrame();
    for (const FreezeFrameRow& row : freeze.rows)
        if (row.visible && !row.label.isEmpty()) report.freezeFrame.append({row.label, row.value.trimmed()});
    report.freezeExplanation = freeze.explanation == textWhenNoFreezeFrameIsStored
                                   ? textWhenNoFreezeFrameIsStored
                                   : oneLineExplanation(freeze.explanation);
    report.freezeProblem = freeze.problem;
    if (!freeze.problem.isEmpty()) {
        report.freezeExplanation.clear();
        report.errors.append({QStringLiteral("freeze_frame"), freeze.problem});
    }
}

QString codesText(const ScanReport& report) {
    if (!report.codesRead) return {};
    QString out = QStringLiteral("Stored Trouble Codes:\n") + codeLines(report.stored, report.storedProblem);
    out += QStringLiteral("Pending Trouble Codes:\n") + codeLines(report.pending, report.pendingProblem);
    out += QStringLiteral("Permanent Trouble Codes:\n") + codeLines(report.permanent, report.permanentProblem);
    out += QStringLiteral("Freeze Frame:\n");
    if (!report.freezeProblem.isEmpty())
        out += QStringLiteral("  ") + unreadableFreezeFrameText + report.freezeProblem + QLatin1Char('\n');
    else if (report.freezeFrame.isEmpty())
        out += QStringLiteral("  (none)\n");
    for (const ScanFreezeRow& row : report.freezeFrame)
        out += QStringLiteral("  %1: %2\n").arg(row.name, row.value);
    if (!report.freezeExplanation.isEmpty())
        out += QStringLiteral("  DTC Explanation: %1\n").arg(report.freezeExplanation);
    return out;
}

void addCodesJson(const ScanReport& report, QJsonObject& json) {
    // A list that could not be read is null, never an empty list.
    const auto listOrNull = [](const QJsonArray& list, const QString& problem) {
        return problem.isEmpty() ? QJsonValue(list) : QJsonValue(QJsonValue::Null);
    };
    json[QStringLiteral("stored")] = listOrNull(codesArray(report.stored), report.storedProblem);
    json[QStringLiteral("pending")] = listOrNull(codesArray(report.pending), report.pendingProblem);
    json[QStringLiteral("permanent")] = listOrNull(codesArray(report.permanent), report.permanentProblem);
    QJsonArray rows;
    for (const ScanFreezeRow& row : report.freezeFrame)
        rows.append(QJsonObject{{QStringLiteral("name"), row.name}, {QStringLiteral("value"), row.value}});
    json[QStringLiteral("freeze_frame")] = listOrNull(rows, report.freezeProblem);
}

} // namespace zelcor
