#pragma once
// The CSV data log of the live-data panel (File, Start / Mark, Stop) and, beside the CSV
// file the user chose, the recording of the same drive (same name, ".log") that the
// replay window plays. Both are only ever appended to; each finished row reaches the
// system before the next pass (a killed program loses nothing) and the disk within a
// second, at every Mark and at Stop.

#include "base/clock.h"
#include "base/host.h"
#include "live/channels.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <array>

namespace zelcor {

struct Settings;
class ParameterChannels;

// The two files of a running log.
class DataLogFiles {
public:
    // Opens both files for appending; false with the reason when either cannot be opened or
    // the CSV file is not a data log.
    bool open(const QString& csvPath, QString* error);
    void close();
    bool isOpen() const { return csv_.isOpen(); }

    void writeCsv(const QString& text);
    void writeRecord(const QString& line); // one recording line, CR LF added
    // Hands everything written so far to the system and, with `sync`, to the disk; false
    // when a write failed.
    bool commit(bool sync);
    QString errorString() const;

    // The recording beside a CSV log: "drive.csv" -> "drive.log".
    static QString recordingPath(const QString& csvPath);

private:
    QFile csv_;
    QFile recording_;
    bool failed_ = false;
};

class DataLog : public QObject {
    Q_OBJECT
public:
    DataLog(Host& host, Clock& clock, const QString& programFolder);

    const QString& path() const { return path_; }   // the chosen file, empty before File
    const QString& title() const { return title_; } // its name as shown
    bool logging() const { return logging_; }
    // The rows written since Start (marks do not reset it).
    int rowsWritten() const { return rowsWritten_; }

    // File: the TIP box, then the data log's save dialog; nothing while a log runs. A chosen
    // file that holds something other than a data log is refused with a box.
    void chooseFile();
    // Start / Mark: opens the files when no log runs (nothing when no row is enabled),
    // then starts a new section with its header and marks.
    void startOrMark(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings,
                     const ParameterChannels& parameters);
    // Stop: ends the row under way and closes the files.
    void stop();

    // A live-data pass writes a row when the log ran at its start and no mark came since.
    void beginPass() {
        rowActive_ = logging_;
        fieldsInRow_ = 0;
        valueInRow_ = false;
    }
    bool writingRow() const { return logging_ && rowActive_; }
    // "time,value," for one enabled row, to the row under way.
    void writeField(const QString& value);
    // An accepted reply of a parameter, for the drive's recording.
    void recordReply(int code, const QString& reply);
    // The value of a manufacturer channel, for the drive's recording.
    void recordValue(int code, const QString& value);
    // After the pass's last row: the line ends and the row goes to the disk. A pass that
    // the link cut short leaves the rows it did not reach empty; one that got no value at
    // all writes no line.
    void endRow();
    // The link went (`gone`), or came back after `seconds`: a line that says so in the CSV
    // log, and in the recording a mark after which the drive goes on.
    void markGap(bool gone, double seconds);

signals:
    void changed();

private:
    // The rows so far go to the system, and with `sync` to the disk; a failed write stops
    // logging with a box.
    void commit(bool sync);
    void reportFailure(const QString& error);
    // A mark in the recording with `text`, then the section's channels.
    void startRecordingSection(const QString& text, const QDateTime& now);

    Host& host_;
    Clock& clock_;
    const QString programFolder_;
    DataLogFiles files_;
    QString path_;
    QString title_ = QStringLiteral("noname");
    bool logging_ = false;
    bool rowActive_ = false;
    int rowsWritten_ = 0;
    int columns_ = 0;            // values a row holds: the rows enabled at the last Start / Mark
    int fieldsInRow_ = 0;        // fields the row under way holds so far
    bool valueInRow_ = false;    // one of them holds a value
    QString row_;                // the row under way, written whole at its end
    QStringList sectionRecords_; // what follows the recording's mark: its channels since the last Start / Mark
    double sectionStart_ = 0;    // clock at the last Start / Mark (the recording's times)
    double lastSync_ = 0;        // clock when the files last went to the disk
};

// The header line of the recorded rows (those with "Enable Monitoring" checked), without
// its line end: "Time,name (units) [min~max]," per row.
QString logHeader(const std::array<LiveRow, kLiveRows>& rows, const Settings& settings,
                  const ParameterChannels& parameters);

// A channel's name as the log writes it: the two-line names joined by one blank.
QString logChannelName(int code, const Settings& settings, const ParameterChannels& parameters);

// Whether rows may be appended to `path`: it is missing or empty, or it is a data log (its
// first line that is not blank is a header line).
bool mayAppendDataLog(const QString& path);

// The chosen file name with ".csv" unless it already ends so (in any case).
QString csvFileName(const QString& chosen);

} // namespace zelcor
