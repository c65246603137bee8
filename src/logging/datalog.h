#pragma once
// The files of a running data log: the CSV file the user chose and, beside it, the
// recording of the same drive (same name, ".log") that the replay window plays. Both
// are only ever appended to; each finished row reaches the disk before the next pass.

#include "live/channelstate.h"

#include <QFile>
#include <QString>
#include <array>

namespace zelcor {

struct Settings;

class DataLogFiles {
public:
    // Opens both files for appending; false with the reason when either cannot be opened.
    bool open(const QString& csvPath, QString* error);
    void close();
    bool isOpen() const { return csv_.isOpen(); }

    void writeCsv(const QString& text);
    void writeRecord(const QString& line); // one recording line, CR LF added
    // Hands everything written so far to the disk; false when a write failed.
    bool commit();
    QString errorString() const;

    // The recording beside a CSV log: "drive.csv" -> "drive.log".
    static QString recordingPath(const QString& csvPath);

private:
    QFile csv_;
    QFile recording_;
    bool failed_ = false;
};

// The header line of the recorded rows (those with "Enable Monitoring" checked), without
// its line end: "Time,name (units) [min~max]," per row.
QString logHeader(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings);

// A channel's name as the log writes it: the two-line names joined by one blank.
QString logChannelName(int code, const Settings& settings);

// The chosen file name with ".csv" unless it already ends so (in any case).
QString csvFileName(const QString& chosen);

} // namespace zelcor
