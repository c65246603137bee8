// What the user does on the trouble code and freeze frame panels: explaining the
// clicked code, the two-step erase and saving the reports.

#include "base/datetime.h"
#include "base/programfolder.h"
#include "core/session.h"
#include "dtc/explaincode.h"
#include "dtc/reports.h"
#include "link/helptexts.h"

#include <QDateTime>
#include <QFile>

namespace zelcor {

namespace {

const QString erasingItem = QStringLiteral("--- Erasing ---");

QString tipText(const QString& what) {
    return QStringLiteral("TIP:  After this message you will be asked where to save the %1.\r\n"
                          "          Save to MY DOCUMENTS or the DESKTOP so it is easy to find.")
        .arg(what);
}

} // namespace

QString Session::explainCode(const QString& code) {
    int error = 0;
    const QString text = explaincode(code, programFolder, &error);
    if (error != 0)
        host.message(codesFileErrorText(error, helpUrl(), supportEmail()), codesFileErrorTitle, MessageIcon::Critical);
    return text;
}

// Selects item `index` of the stored (List5) or pending (List6) list and shows its
// explanation: the lookup of the item's first six characters.
void Session::showExplanation(bool stored, int index) {
    const QStringList& list = stored ? List5 : List6;
    (stored ? dtc.storedIndex : dtc.pendingIndex) = index;
    Text10 = explainCode(list.value(index).left(6));
    emit panelChanged(Panel::D03);
}

// A press in one list removes the selection from the other, so the explanation always
// belongs to the one selected line.
void Session::List5_Click(int index) {
    dtc.pendingIndex = -1;
    showExplanation(true, index);
}

void Session::List6_Click(int index) {
    dtc.storedIndex = -1;
    showExplanation(false, index);
}

// ERASE ALL CODES: waits for a read in progress to finish (at most a second), then asks
// for the second click. Nothing is sent yet.
void Session::Command4_Click() {
    dtc.eraseEnabled = false;
    dtc.saveEnabled = false;
    emit panelChanged(Panel::D03);
    clock.waitUntil(1.0, [this] { return funccode == 255; });
    dtc.confirmVisible = true;
    emit panelChanged(Panel::D03);
}

// ERASE CODES NOW: the next pass sends the erase request, the one after reads the codes again.
void Session::Command5_Click() {
    funccode = 253;
    List5.append(erasingItem);
    List6.append(erasingItem);
    dtc.eraseEnabled = true;
    dtc.saveEnabled = true;
    dtc.confirmVisible = false;
    emit panelChanged(Panel::D03);
}

// CANCEL: nothing is erased; the codes are read again all the same.
void Session::Command6_Click() {
    funccode = 254;
    dtc.eraseEnabled = true;
    dtc.saveEnabled = true;
    dtc.confirmVisible = false;
    emit panelChanged(Panel::D03);
}

// SAVE CODES TO FILE: every listed code with its explanation, each explanation looked up
// by selecting the item as a click would.
void Session::Command11_Click() {
    const bool chosen = saveReport(tipText(QStringLiteral("trouble codes")), QStringLiteral("errors.txt"), [this] {
        // codeReport asks for the explanations of the stored items, then of the pending ones,
        // in list order; count the calls to know which item is asked for.
        const int storedItems = int(qMax<qsizetype>(List5.size() - 2, 0));
        int call = 0;
        const auto explain = [&](const QString&) {
            const bool stored = call < storedItems;
            showExplanation(stored, stored ? call : call - storedItems);
            ++call;
            return Text10;
        };
        return codeReport(reportStampTime(), List5, List6, explain);
    });
    if (!chosen) return;
    dtc.pendingIndex = -1;
    dtc.storedIndex = -1;
    emit panelChanged(Panel::D03);
}

// Save Freeze to File: the panel as it shows now.
void Session::Command21_Click() {
    saveReport(tipText(QStringLiteral("freeze frame")), QStringLiteral("freeze.txt"),
               [this] { return freezeFrameReport(reportStampTime(), freeze.rows, freeze.explanation); });
}

QString Session::reportStampTime() const {
    return reportTime ? reportTime() : dateTimeText(QDateTime::currentDateTime());
}

bool Session::saveReport(const QString& tip, const QString& defaultName, const std::function<QString()>& report) {
    host.message(tip, QString(), MessageIcon::Information);
    SaveDialogRequest request;
    request.defaultExtension = QStringLiteral("txt");
    request.filter = QStringLiteral("*.txt");
    request.proposedPath = inFolder(programFolder, defaultName);
    QString path = host.saveFileName(request);
    if (path.isEmpty()) return false;
    path = withExtension(path, QStringLiteral(".txt"));

    // Reports are only ever appended to, the whole report in one write.
    const QByteArray bytes = report().toUtf8();
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() && file.flush();
    if (!written)
        host.message(QStringLiteral("The report could not be saved to %1:\r\n%2").arg(path, file.errorString()),
                     QStringLiteral("Error"), MessageIcon::Exclamation);
    return true;
}

} // namespace zelcor
