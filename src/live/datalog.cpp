#include "live/datalog.h"

#include "base/datetime.h"
#include "base/format.h"
#include "base/programfolder.h"
#include "config/settings.h"
#include "live/parameterchannels.h"
#include "logging/recording.h"

#include <QFileInfo>
#include <algorithm>
#include <unistd.h>
#include <utility>

namespace zelcor {

namespace {

bool openAppending(QFile& file, const QString& path) {
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// Hands Qt's buffer to the system (which keeps it when the program dies) and, with
// `sync`, asks the system to put the file's data on the disk (which keeps it when the
// machine dies).
bool commitFile(QFile& file, bool sync) {
    if (!file.isOpen()) return true;
    if (!file.flush()) return false;
    return !sync || ::fdatasync(file.handle()) == 0;
}

// The disk gets the rows at least this often while a log runs (seconds).
constexpr double kSyncInterval = 1.0;

const QString kTip = QStringLiteral("TIP:  After this message you will be asked where to save the log file.\r\n"
                                    "          Save to MY DOCUMENTS or the DESKTOP so it is easy to find.");

// Every header line starts so; a data log's first line that is not blank is a header.
const QString kHeaderStart = QStringLiteral("Time,");

QString notDataLogText(const QString& path) {
    return QStringLiteral("%1 is not a data log, so no rows are added to it.").arg(path);
}

bool anyRowEnabled(const std::array<LiveRow, kLiveRows>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const LiveRow& row) { return row.enabled; });
}

} // namespace

bool DataLogFiles::open(const QString& csvPath, QString* error) {
    close();
    failed_ = false;
    if (!mayAppendDataLog(csvPath)) {
        if (error) *error = notDataLogText(csvPath);
        return false;
    }
    if (!openAppending(csv_, csvPath)) {
        if (error) *error = csvPath + QStringLiteral(": ") + csv_.errorString();
        return false;
    }
    const QString recordingFile = recordingPath(csvPath);
    if (!openAppending(recording_, recordingFile)) {
        if (error) *error = recordingFile + QStringLiteral(": ") + recording_.errorString();
        csv_.close();
        return false;
    }
    return true;
}

void DataLogFiles::close() {
    csv_.close();
    recording_.close();
}

void DataLogFiles::writeCsv(const QString& text) {
    if (csv_.isOpen() && csv_.write(text.toUtf8()) < 0) failed_ = true;
}

void DataLogFiles::writeRecord(const QString& line) {
    if (recording_.isOpen() && recording_.write((line + QStringLiteral("\r\n")).toUtf8()) < 0) failed_ = true;
}

bool DataLogFiles::commit(bool sync) {
    if (!commitFile(csv_, sync) || !commitFile(recording_, sync)) failed_ = true;
    return !failed_;
}

QString DataLogFiles::errorString() const {
    if (csv_.error() != QFileDevice::NoError) return csv_.fileName() + QStringLiteral(": ") + csv_.errorString();
    return recording_.fileName() + QStringLiteral(": ") + recording_.errorString();
}

QString DataLogFiles::recordingPath(const QString& csvPath) {
    QString path = csvPath;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) path.chop(4);
    return path + QStringLiteral(".log");
}

QString logChannelName(int code, const Settings& settings, const ParameterChannels& parameters) {
    const std::optional<ChannelInfo> info = liveChannelInfo(code, settings, parameters);
    if (!info) return parameterName(code);
    return QString(info->name).replace(QLatin1String("\r\n"), QLatin1String(" "));
}

QString logHeader(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings,
                  const ParameterChannels& parameters) {
    QString header;
    for (const LiveRow& row : rows) {
        if (!row.enabled) continue;
        // A channel without information gives an empty name and a range of 0 to 0.
        ChannelInfo info = liveChannelInfo(row.channel.code(), settings, parameters).value_or(ChannelInfo{});
        header += kHeaderStart + info.name.replace(QLatin1String("\r\n"), QLatin1String(" ")) + QStringLiteral(" (") +
                  info.units + QStringLiteral(") [") + generalNumber(info.minimum) + QLatin1Char('~') +
                  generalNumber(info.maximum) + QStringLiteral("],");
    }
    return header;
}

DataLog::DataLog(Host& host, Clock& clock, const QString& programFolder)
    : host_(host), clock_(clock), programFolder_(programFolder) {}

void DataLog::chooseFile() {
    if (logging_) return;
    SaveDialogRequest request(FileKind::DataLog);
    request.defaultExtension = QStringLiteral("csv");
    request.filter = QStringLiteral("Logs (*.csv)");
    request.proposedPath = inFolder(programFolder_, QStringLiteral("noname.csv"));
    host_.message(kTip, QString(), MessageIcon::None);
    const QString chosen = host_.saveFileName(request);
    if (chosen.isEmpty()) return;
    const QString path = csvFileName(chosen);
    if (!mayAppendDataLog(path)) {
        host_.message(notDataLogText(path) +
                          QStringLiteral("\r\nPress File again and choose a new name, or a data log saved before."),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        return;
    }
    path_ = path;
    title_ = QFileInfo(path_).fileName();
    emit changed();
}

void DataLog::startOrMark(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings,
                          const ParameterChannels& parameters) {
    if (path_.isEmpty()) return;
    if (!logging_) {
        if (!anyRowEnabled(rows)) return;
        QString error;
        if (!files_.open(path_, &error)) {
            host_.message(QStringLiteral("The data log could not be opened:\r\n") + error +
                              QStringLiteral("\r\nChoose another file with File."),
                          QStringLiteral("Error"), MessageIcon::Exclamation);
            return;
        }
        logging_ = true;
        rowsWritten_ = 0;
        emit changed();
    }

    // A new section: the mark line ends a row under way, the rest of the pass is dropped
    // and the next full pass writes the first row under the new header.
    files_.writeCsv(std::exchange(row_, QString()) + QStringLiteral("\r\n"));
    rowActive_ = false;
    files_.writeCsv(logHeader(rows, settings, parameters) + QStringLiteral("\r\n"));

    columns_ = 0;
    sectionRecords_.clear();
    bool definitionsNamed = false;
    for (const LiveRow& row : rows) {
        const int code = row.channel.code();
        if (row.enabled) ++columns_;
        if (row.enabled && code > 0 && code <= kMaxRecordedPid)
            sectionRecords_.append(channelRecordLine(code, logChannelName(code, settings, parameters)));
        const ParameterDefinition* definition = row.enabled ? parameters.definition(code) : nullptr;
        if (!definition) continue;
        if (!std::exchange(definitionsNamed, true))
            sectionRecords_.append(definitionsRecordLine(parameters.fileNames()));
        sectionRecords_.append(manufacturerChannelRecordLine(code, definition->name, definition->units,
                                                             definition->minimum, definition->maximum));
    }
    const QDateTime now = QDateTime::currentDateTime();
    startRecordingSection(dateTimeText(now), now);
    commit(true);
}

void DataLog::startRecordingSection(const QString& text, const QDateTime& now) {
    files_.writeRecord(markRecordLine(now, text));
    for (const QString& line : sectionRecords_)
        files_.writeRecord(line);
    sectionStart_ = clock_.now();
}

void DataLog::markGap(bool gone, double seconds) {
    if (!logging_) return;
    const QString time = timeText(QTime::currentTime());
    if (gone) {
        files_.writeCsv(time + QStringLiteral(",link lost: no answer,\r\n"));
    } else {
        const QString after = QStringLiteral("link back after %1 s").arg(qRound(seconds));
        files_.writeCsv(time + QLatin1Char(',') + after + QStringLiteral(",\r\n"));
        // The replay goes on from the mark without waiting out the gap.
        const QDateTime now = QDateTime::currentDateTime();
        startRecordingSection(dateTimeText(now) + QStringLiteral(" (") + after + QLatin1Char(')'), now);
    }
    commit(true);
}

void DataLog::stop() {
    if (!logging_) return;
    logging_ = false;
    files_.writeCsv(std::exchange(row_, QString()) + QStringLiteral("\r\n"));
    const bool written = files_.commit(true);
    const QString error = files_.errorString();
    files_.close();
    emit changed();
    if (!written) reportFailure(error);
}

void DataLog::writeField(const QString& value) {
    if (!writingRow()) return;
    row_ += timeText(QTime::currentTime()) + QLatin1Char(',') + value + QLatin1Char(',');
    ++fieldsInRow_;
    valueInRow_ = valueInRow_ || !value.isEmpty();
}

void DataLog::recordReply(int code, const QString& reply) {
    if (writingRow()) files_.writeRecord(dataRecordLine(clock_.now() - sectionStart_, code, reply));
}

void DataLog::recordValue(int code, const QString& value) {
    if (writingRow()) files_.writeRecord(dataRecordLine(clock_.now() - sectionStart_, code, value));
}

void DataLog::endRow() {
    if (!writingRow()) return;
    if (!valueInRow_) {
        row_.clear();
        return;
    }
    // Every value stays under its own header.
    while (fieldsInRow_ < columns_)
        writeField(QString());
    files_.writeCsv(std::exchange(row_, QString()) + QStringLiteral("\r\n"));
    ++rowsWritten_;
    commit(clock_.now() - lastSync_ >= kSyncInterval);
    emit changed();
}

void DataLog::commit(bool sync) {
    if (files_.commit(sync)) {
        if (sync) lastSync_ = clock_.now();
        return;
    }
    const QString error = files_.errorString();
    logging_ = false;
    files_.close();
    emit changed();
    reportFailure(error);
}

void DataLog::reportFailure(const QString& error) {
    host_.message(QStringLiteral("The data log could not be written, so logging has stopped:\r\n") + error +
                      QStringLiteral("\r\nThe rows written before are kept."),
                  QStringLiteral("Error"), MessageIcon::Exclamation);
}

bool mayAppendDataLog(const QString& path) {
    QFile file(path);
    // A file that cannot be read is left to the append, which says why it fails.
    if (!file.open(QIODevice::ReadOnly)) return true;
    // Start / Mark writes a blank line before each header; other blank lines are passed
    // over too, within the first few lines.
    constexpr int kLinesLooked = 16;
    constexpr qint64 kLongestLine = 4096;
    for (int i = 0; i < kLinesLooked && !file.atEnd(); ++i) {
        const QByteArray line = file.readLine(kLongestLine).trimmed();
        if (!line.isEmpty()) return line.startsWith(kHeaderStart.toLatin1());
    }
    return true;
}

QString csvFileName(const QString& chosen) {
    return chosen.toLower().endsWith(QLatin1String(".csv")) ? chosen : chosen + QStringLiteral(".csv");
}

} // namespace zelcor
