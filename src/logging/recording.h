#pragma once
// Recorded drives: text lines of three numeric fields and the rest of the line. A mark
// record (90001) starts a section with its date and time, a channel-definition record
// (90000) gives the next slot to a parameter, and a data record holds an adapter reply
// with its time in seconds since the section's start.
//
// Sections that log manufacturer parameters also hold a definitions record (90003: the
// definition files used, separated by tabs) and, per such channel, a manufacturer-channel
// record (90002, its channel code: minimum, maximum, units and name separated by tabs,
// empty ends for a scale the file leaves open). Their data records hold the computed value
// under the channel's code (from 10000), which readers of mode 01 replies pass over.

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

inline constexpr double kMarkRecord = 90001;
inline constexpr double kChannelRecord = 90000;
inline constexpr double kManufacturerChannelRecord = 90002;
inline constexpr double kDefinitionsRecord = 90003;
inline constexpr int kMaxRecordedPid = 256;
inline constexpr int kFirstRecordedManufacturerCode = 10000;
inline constexpr int kLastRecordedManufacturerCode = 19999;

struct ReplayRecord {
    enum class Kind { Mark, Channel, Data, ManufacturerChannel, Definitions };
    Kind kind = Kind::Data;
    double time = 0; // data: seconds since the section's start
    int pid = 0;     // data and channel definitions: the PID or the manufacturer channel's code
    double date = 0; // mark: the section's start as a date value
    QString text;    // data: the normalised reply or the value; mark: the mark's text; channel: its name
    // Manufacturer channels: their scale and units; definitions: the files.
    std::optional<double> minimum;
    std::optional<double> maximum;
    QString units;
    QStringList files;

    bool isManufacturer() const { return pid >= kFirstRecordedManufacturerCode; }
};

// Reads one line; none for a line that does not hold a record.
std::optional<ReplayRecord> parseRecord(const QString& line);

// The lines as they are written (without their line end).
QString markRecordLine(const QDateTime& start, const QString& text);
QString channelRecordLine(int pid, const QString& name);
QString dataRecordLine(double seconds, int pid, const QString& reply);
QString manufacturerChannelRecordLine(int code, const QString& name, const QString& units,
                                      std::optional<double> minimum, std::optional<double> maximum);
QString definitionsRecordLine(const QStringList& files);

// Date values count days since 30 December 1899; the fraction is the time of day.
double dateValue(const QDateTime& when);
QDateTime fromDateValue(double days);

// Reads a recording record by record. Lines that hold no record are skipped and
// counted; blank lines are passed over silently.
class RecordingReader {
public:
    bool open(const QString& path);
    QString errorString() const { return file_.errorString(); }
    void close() { file_.close(); }

    // The next record; false at the end of the file.
    bool next(ReplayRecord& record);
    bool atEnd() const { return !file_.isOpen() || file_.atEnd(); }
    // Where the line of the record last returned by next() begins.
    qint64 recordPosition() const { return recordPosition_; }
    qint64 position() const { return file_.pos(); }
    void seek(qint64 position) { file_.seek(position); }
    void rewind() { seek(0); }

    int skippedLines() const { return skipped_; }
    void resetSkipped() { skipped_ = 0; }

private:
    bool readLine(QString& line, bool& tooLong);

    QFile file_;
    int skipped_ = 0;
    qint64 recordPosition_ = 0;
};

} // namespace zelcor
