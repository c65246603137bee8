#include "dtc/troublecodes.h"

#include "base/datetime.h"
#include "base/programfolder.h"
#include "dtc/codereply.h"
#include "dtc/explaincode.h"
#include "dtc/reportfile.h"
#include "dtc/reports.h"
#include "link/helptexts.h"
#include "obd/parameters.h"

#include <QDateTime>
#include <QFile>

namespace zelcor {

namespace {

const QString erasingItem = QStringLiteral("--- Erasing ---");
constexpr int kPermanentService = 0x0A;

// The stored codes the car itself counts, from its answers to "0101"; -1 when none came.
int askCodeCount(Exchange& exchange) {
    exchange.send(QStringLiteral("0101"));
    return reportedCodeCount(exchange.receiveAll(0), exchange.headerLayout());
}

} // namespace

TroubleCodes::TroubleCodes(Host& host, const QString& programFolder) : host_(host), programFolder_(programFolder) {}

void TroubleCodes::readCodes(PassContext& pass) {
    // Erasing and saving must not start on half-filled lists.
    codes_.eraseEnabled = false;
    codes_.saveEnabled = false;
    codes_.stored = QStringList{readingItem};
    codes_.pending = QStringList{readingItem};
    codes_.permanent = QStringList{readingItem};
    codes_.storedIndex = -1;
    codes_.pendingIndex = -1;
    codes_.permanentIndex = -1;
    codes_.storedProblem.clear();
    codes_.pendingProblem.clear();
    codes_.permanentProblem.clear();
    emit codesChanged();

    Exchange& exchange = pass.exchange();
    for (int service : {3, 7, kPermanentService}) {
        exchange.send(QStringLiteral("%1").arg(service, 2, 16, QLatin1Char('0')).toUpper());
        const QString reply = exchange.receiveAll();
        if (service == 3) host_.setClipboardText(reply);
        CodeRead read = readTroubleCodes(reply, exchange.headerLayout(), service);
        if (read.unanswered) read = unansweredCodes(service, service == 3 ? askCodeCount(exchange) : 0);
        QStringList& list = service == 3 ? codes_.stored : service == 7 ? codes_.pending : codes_.permanent;
        QString& problem = service == 3   ? codes_.storedProblem
                           : service == 7 ? codes_.pendingProblem
                                          : codes_.permanentProblem;
        list = troubleCodeList(read);
        problem = read.problem;
        emit codesChanged();
    }
    if (erased_)
        codes_.permanentNote = QStringLiteral("Permanent codes clear themselves after the fault is repaired and the "
                                              "monitor passes");
    codes_.eraseEnabled = true;
    codes_.saveEnabled = true;
    emit codesChanged();
}

bool TroubleCodes::erase(PassContext& pass) {
    if (pass.stopRequested()) return false;
    pass.exchange().send(QStringLiteral("04"));
    pass.exchange().receiveAll();
    erased_ = true;
    return true;
}

void TroubleCodes::readFreezeFrame(PassContext& pass) {
    FreezeFrameServices services;
    services.decode = [&pass](int pid, const QByteArray& data) {
        return decodeParameter(pid, data, pass.settings()).text;
    };
    services.explain = [this](const QString& code) { return explanation(code); };

    freeze_.clear();
    emit freezeFrameChanged();
    FreezeFrameReader reader(freeze_, services);
    const auto showProblem = [this] {
        if (!freeze_.problem.isEmpty()) freeze_.explanation = unreadableFreezeFrameText + freeze_.problem;
    };
    Exchange& exchange = pass.exchange();
    if (reader.start(exchange.request(freezeFrameBitmapRequest))) {
        for (QString request = reader.nextRequest(); !request.isEmpty(); request = reader.nextRequest()) {
            // A stop ends the read without further requests; the rows read so far stay.
            if (pass.stopRequested()) break;
            reader.takeReply(exchange.request(request));
            showProblem();
            emit freezeFrameChanged();
        }
    }
    showProblem();
    emit freezeFrameChanged();
}

QString TroubleCodes::explanation(const QString& code) {
    int error = 0;
    const QString text = explainCode(code, programFolder_, &error);
    if (error != 0) {
        host_.message(codesFileErrorText(error, programFolder_, helpUrl(), supportEmail()), codesFileErrorTitle,
                      MessageIcon::Critical);
        return text;
    }
    // A code without a line says so, as one line of the file would.
    const QString missing = text.isEmpty() ? missingExplanationText(code.trimmed()) : QString();
    return missing.isEmpty() ? text : missing + QLatin1String("\r\n");
}

// Selects an item of one list, clears the others' selection and shows the explanation
// of the item's first six characters.
void TroubleCodes::showExplanation(CodeList which, int index) {
    codes_.storedIndex = which == CodeList::Stored ? index : -1;
    codes_.pendingIndex = which == CodeList::Pending ? index : -1;
    codes_.permanentIndex = which == CodeList::Permanent ? index : -1;
    const QStringList& list = which == CodeList::Stored    ? codes_.stored
                              : which == CodeList::Pending ? codes_.pending
                                                           : codes_.permanent;
    codes_.explanation = explanation(list.value(index).left(6));
    emit codesChanged();
}

void TroubleCodes::selectStored(int index) {
    showExplanation(CodeList::Stored, index);
}

void TroubleCodes::selectPending(int index) {
    showExplanation(CodeList::Pending, index);
}

void TroubleCodes::selectPermanent(int index) {
    showExplanation(CodeList::Permanent, index);
}

void TroubleCodes::holdButtonsForErase() {
    codes_.eraseEnabled = false;
    codes_.saveEnabled = false;
    emit codesChanged();
}

void TroubleCodes::askToConfirmErase() {
    codes_.confirmVisible = true;
    emit codesChanged();
}

void TroubleCodes::showErasing() {
    codes_.stored.append(erasingItem);
    codes_.pending.append(erasingItem);
    cancelErase();
}

void TroubleCodes::cancelErase() {
    codes_.eraseEnabled = true;
    codes_.saveEnabled = true;
    codes_.confirmVisible = false;
    emit codesChanged();
}

void TroubleCodes::clear() {
    codes_.stored.clear();
    codes_.pending.clear();
    codes_.permanent.clear();
    codes_.storedProblem.clear();
    codes_.pendingProblem.clear();
    codes_.permanentProblem.clear();
    codes_.permanentNote.clear();
    erased_ = false;
    codes_.explanation.clear();
    emit codesChanged();
}

// Every listed code with its explanation, each explanation looked up by selecting the
// item as a click would.
void TroubleCodes::saveCodes() {
    const bool chosen =
        saveReport(FileKind::CodeReport, QStringLiteral("trouble codes"), QStringLiteral("errors.txt"), [this] {
            // codeReport asks for the explanations of the stored items, then of the pending and
            // the permanent ones, in list order; count the calls to know which item is asked for.
            const int storedItems =
                codes_.storedProblem.isEmpty() ? int(qMax<qsizetype>(codes_.stored.size() - 2, 0)) : 0;
            const int pendingItems =
                codes_.pendingProblem.isEmpty() ? int(qMax<qsizetype>(codes_.pending.size() - 2, 0)) : 0;
            int call = 0;
            const auto explain = [&](const QString&) {
                if (call < storedItems)
                    showExplanation(CodeList::Stored, call);
                else if (call < storedItems + pendingItems)
                    showExplanation(CodeList::Pending, call - storedItems);
                else
                    showExplanation(CodeList::Permanent, call - storedItems - pendingItems);
                ++call;
                return codes_.explanation;
            };
            return codeReport(reportStampTime(), codes_.stored, codes_.pending, explain, codes_.storedProblem,
                              codes_.pendingProblem, codes_.permanent, codes_.permanentProblem);
        });
    if (!chosen) return;
    codes_.pendingIndex = -1;
    codes_.storedIndex = -1;
    codes_.permanentIndex = -1;
    emit codesChanged();
}

// The freeze frame panel as it shows now.
void TroubleCodes::saveFreezeFrame() {
    saveReport(FileKind::FreezeFrameReport, QStringLiteral("freeze frame"), QStringLiteral("freeze.txt"),
               [this] { return freezeFrameReport(reportStampTime(), freeze_.rows, freeze_.explanation); });
}

QString TroubleCodes::reportStampTime() const {
    return reportTime_ ? reportTime_() : dateTimeText(QDateTime::currentDateTime());
}

bool TroubleCodes::saveReport(FileKind kind, const QString& what, const QString& defaultName,
                              const std::function<QString()>& report) {
    return appendReportFile(host_, kind, programFolder_, what, defaultName, report);
}

} // namespace zelcor
