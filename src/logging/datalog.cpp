#include "logging/datalog.h"

#include "base/format.h"
#include "config/settings.h"
#include "live/chaninfo.h"
#include "vehicle/pidnames.h"

#include <unistd.h>

namespace zelcor {

namespace {

bool openAppending(QFile& file, const QString& path) {
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

// Flushes Qt's buffer and asks the system to put the file's data on the disk.
bool toDisk(QFile& file) {
    if (!file.isOpen()) return true;
    if (!file.flush()) return false;
    return ::fdatasync(file.handle()) == 0;
}

} // namespace

bool DataLogFiles::open(const QString& csvPath, QString* error) {
    close();
    failed_ = false;
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
    commit();
    csv_.close();
    recording_.close();
}

void DataLogFiles::writeCsv(const QString& text) {
    if (csv_.isOpen() && csv_.write(text.toUtf8()) < 0) failed_ = true;
}

void DataLogFiles::writeRecord(const QString& line) {
    if (recording_.isOpen() && recording_.write((line + QStringLiteral("\r\n")).toUtf8()) < 0) failed_ = true;
}

bool DataLogFiles::commit() {
    if (!toDisk(csv_) || !toDisk(recording_)) failed_ = true;
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

QString logChannelName(int code, const Settings& settings) {
    ChannelInfo info;
    if (!chaninfo(code, settings, info)) return pidname(code);
    return info.name.replace(QLatin1String("\r\n"), QLatin1String(" "));
}

QString logHeader(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings) {
    QString header;
    for (const LiveRow& row : rows) {
        if (!row.enabled) continue;
        ChannelInfo info;
        chaninfo(row.channel.code(), settings, info);
        header += QStringLiteral("Time,") + info.name.replace(QLatin1String("\r\n"), QLatin1String(" ")) +
                  QStringLiteral(" (") + info.units + QStringLiteral(") [") + generalNumber(info.minimum) +
                  QLatin1Char('~') + generalNumber(info.maximum) + QStringLiteral("],");
    }
    return header;
}

QString csvFileName(const QString& chosen) {
    return chosen.toLower().endsWith(QLatin1String(".csv")) ? chosen : chosen + QStringLiteral(".csv");
}

} // namespace zelcor
