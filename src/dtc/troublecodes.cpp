#include "dtc/troublecodes.h"

#include "base/datetime.h"
#include "base/programfolder.h"
#include "dtc/codereply.h"
#include "dtc/explaincode.h"
#include "dtc/reports.h"
#include "link/helptexts.h"
#include "obd/parameters.h"

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

TroubleCodes::TroubleCodes(Host& host, const QString& programFolder) : host_(host), programFolder_(programFolder) {}

void TroubleCodes::readCodes(PassContext& pass) {
    // Erasing and saving must not start on half-filled lists.
    codes_.eraseEnabled = false;
    codes_.saveEnabled = false;
    codes_.stored = QStringList{readingItem};
    codes_.pending = QStringList{readingItem};
    codes_.storedIndex = -1;
    codes_.pendingIndex = -1;
    codes_.storedProblem.clear();
    codes_.pendingProblem.clear();
    emit codesChanged();

    Exchange& exchange = pass.exchange();
    for (int service : {3, 7}) {
        exchange.send(QStringLiteral("0%1").arg(service));
        const QString reply = exchange.receiveAll();
        if (service == 3) host_.setClipboardText(reply);
        const CodeRead read = readTroubleCodes(reply, exchange.headerLayout(), service);
        (service == 3 ? codes_.stored : codes_.pending) = troubleCodeList(read);
        (service == 3 ? codes_.storedProblem : codes_.pendingProblem) = read.problem;
        emit codesChanged();
    }
    codes_.eraseEnabled = true;
    codes_.saveEnabled = true;
    emit codesChanged();
}

bool TroubleCodes::erase(PassContext& pass) {
    if (pass.stopRequested()) return false;
    pass.exchange().send(QStringLiteral("04"));
    pass.exchange().receiveAll();
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
    if (error != 0)
        host_.message(codesFileErrorText(error, programFolder_, helpUrl(), supportEmail()), codesFileErrorTitle,
                      MessageIcon::Critical);
    return text;
}

// Selects an item of the stored or pending list and shows the explanation of its first
// six characters.
void TroubleCodes::showExplanation(bool stored, int index) {
    const QStringList& list = stored ? codes_.stored : codes_.pending;
    (stored ? codes_.storedIndex : codes_.pendingIndex) = index;
    codes_.explanation = explanation(list.value(index).left(6));
    emit codesChanged();
}

void TroubleCodes::selectStored(int index) {
    codes_.pendingIndex = -1;
    showExplanation(true, index);
}

void TroubleCodes::selectPending(int index) {
    codes_.storedIndex = -1;
    showExplanation(false, index);
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
    codes_.storedProblem.clear();
    codes_.pendingProblem.clear();
    codes_.explanation.clear();
    emit codesChanged();
}

// Every listed code with its explanation, each explanation looked up by selecting the
// item as a click would.
void TroubleCodes::saveCodes() {
    const bool chosen = saveReport(QStringLiteral("trouble codes"), QStringLiteral("errors.txt"), [this] {
        // codeReport asks for the explanations of the stored items, then of the pending ones,
        // in list order; count the calls to know which item is asked for.
        const int storedItems = int(qMax<qsizetype>(codes_.stored.size() - 2, 0));
        int call = 0;
        const auto explain = [&](const QString&) {
            const bool stored = call < storedItems;
            showExplanation(stored, stored ? call : call - storedItems);
            ++call;
            return codes_.explanation;
        };
        return codeReport(reportStampTime(), codes_.stored, codes_.pending, explain, codes_.storedProblem,
                          codes_.pendingProblem);
    });
    if (!chosen) return;
    codes_.pendingIndex = -1;
    codes_.storedIndex = -1;
    emit codesChanged();
}

// The freeze frame panel as it shows now.
void TroubleCodes::saveFreezeFrame() {
    saveReport(QStringLiteral("freeze frame"), QStringLiteral("freeze.txt"),
               [this] { return freezeFrameReport(reportStampTime(), freeze_.rows, freeze_.explanation); });
}

QString TroubleCodes::reportStampTime() const {
    return reportTime_ ? reportTime_() : dateTimeText(QDateTime::currentDateTime());
}

bool TroubleCodes::saveReport(const QString& what, const QString& defaultName, const std::function<QString()>& report) {
    host_.message(tipText(what), QString(), MessageIcon::Information);
    SaveDialogRequest request;
    request.defaultExtension = QStringLiteral("txt");
    request.filter = QStringLiteral("*.txt");
    request.proposedPath = inFolder(programFolder_, defaultName);
    QString path = host_.saveFileName(request);
    if (path.isEmpty()) return false;
    path = withExtension(path, QStringLiteral(".txt"));

    // Reports are only ever appended to, the whole report in one write.
    const QByteArray bytes = report().toUtf8();
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() && file.flush();
    if (!written)
        host_.message(QStringLiteral("The report could not be saved to %1:\r\n%2").arg(path, file.errorString()),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
    return true;
}

} // namespace zelcor
