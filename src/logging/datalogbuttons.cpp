// The data-logging group of the live-data panel: File, Start / Mark and Stop, and the
// row writer the live-data pass fills while a log runs.

#include "base/datetime.h"
#include "base/programfolder.h"
#include "core/session.h"
#include "logging/recording.h"

#include <QFileInfo>

namespace zelcor {

namespace {

const QString kTip = QStringLiteral("TIP:  After this message you will be asked where to save the log file.\r\n"
                                    "          Save to MY DOCUMENTS or the DESKTOP so it is easy to find.");

bool anyRowEnabled(const std::array<LiveRow, kLiveRows>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const LiveRow& row) { return row.enabled; });
}

} // namespace

void Session::Command14_Click() {
    if (datalog.logging) return;
    SaveDialogRequest request;
    request.defaultExtension = QStringLiteral("csv");
    request.filter = QStringLiteral("Logs (*.csv)");
    request.proposedPath = inFolder(programFolder, QStringLiteral("noname.csv"));
    host.message(kTip, QString(), MessageIcon::None);
    const QString chosen = host.saveFileName(request);
    if (chosen.isEmpty()) return;
    datalog.path = csvFileName(chosen);
    datalog.title = QFileInfo(datalog.path).fileName();
    emit dataLogChanged();
}

void Session::Command15_Click() {
    if (datalog.path.isEmpty()) return;
    if (!datalog.logging) {
        if (!anyRowEnabled(liveRows)) return;
        QString error;
        if (!datalogFiles.open(datalog.path, &error)) {
            host.message(QStringLiteral("The data log could not be opened:\r\n") + error +
                             QStringLiteral("\r\nChoose another file with File."),
                         QStringLiteral("Error"), MessageIcon::Exclamation);
            return;
        }
        datalog.logging = true;
        datalog.rows.append = [this](const QString& fields) { datalogFiles.writeCsv(fields); };
        datalog.rows.endLine = [this] {
            datalogFiles.writeCsv(QStringLiteral("\r\n"));
            commitDataLog();
        };
        datalog.rows.reply = [this](int code, const QString& reply) {
            datalogFiles.writeRecord(dataRecordLine(clock.now() - datalog.sectionStart, code, reply));
        };
        emit dataLogChanged();
    }

    // A new section: the mark line ends a row under way, the rest of the pass is dropped
    // and the next full pass writes the first row under the new header.
    datalogFiles.writeCsv(QStringLiteral("\r\n"));
    datalog.rowactive = false;
    datalogFiles.writeCsv(logHeader(liveRows, settings) + QStringLiteral("\r\n"));

    const QDateTime now = QDateTime::currentDateTime();
    datalogFiles.writeRecord(markRecordLine(now, dateTimeText(now)));
    for (const LiveRow& row : liveRows) {
        const int code = row.channel.code();
        if (row.enabled && code > 0 && code <= kMaxRecordedPid)
            datalogFiles.writeRecord(channelRecordLine(code, logChannelName(code, settings)));
    }
    datalog.sectionStart = clock.now();
    commitDataLog();
}

void Session::Command16_Click() {
    if (!datalog.logging) return;
    datalog.logging = false;
    datalog.rows = LogRowSink();
    datalogFiles.writeCsv(QStringLiteral("\r\n"));
    datalogFiles.close();
    emit dataLogChanged();
}

void Session::commitDataLog() {
    if (datalogFiles.commit()) return;
    const QString error = datalogFiles.errorString();
    Command16_Click();
    host.message(QStringLiteral("The data log could not be written, so logging has stopped:\r\n") + error +
                     QStringLiteral("\r\nThe rows written before are kept."),
                 QStringLiteral("Error"), MessageIcon::Exclamation);
}

} // namespace zelcor
