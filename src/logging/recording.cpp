#include "logging/recording.h"

#include <cmath>

namespace zelcor {

namespace {

// A real recording has short lines; anything longer is not one and is skipped.
constexpr qint64 kMaxLineLength = 4096;
// The largest date value of the format (31 December 9999).
constexpr double kLastDateValue = 2958465.99999;

const QDate& epoch() {
    static const QDate day(1899, 12, 30);
    return day;
}

std::optional<double> number(const QString& field) {
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

std::optional<ReplayRecord> parseRecord(const QString& line) {
    const int first = line.indexOf(QLatin1Char(','));
    const int second = first < 0 ? -1 : line.indexOf(QLatin1Char(','), first + 1);
    const int third = second < 0 ? -1 : line.indexOf(QLatin1Char(','), second + 1);
    if (third < 0) return std::nullopt;
    const auto kind = number(line.left(first));
    const auto pid = number(line.mid(first + 1, second - first - 1));
    const auto date = number(line.mid(second + 1, third - second - 1));
    if (!kind || !pid || !date) return std::nullopt;

    ReplayRecord record;
    record.text = line.mid(third + 1);
    if (*kind == kMarkRecord) {
        if (*date < 0 || *date > kLastDateValue) return std::nullopt;
        record.kind = ReplayRecord::Kind::Mark;
        record.date = *date;
        return record;
    }
    if (*kind == kDefinitionsRecord) {
        record.kind = ReplayRecord::Kind::Definitions;
        record.files = record.text.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        return record;
    }
    const bool manufacturer = *pid >= kFirstRecordedManufacturerCode && *pid <= kLastRecordedManufacturerCode;
    if (*pid < 0 || (*pid > kMaxRecordedPid && !manufacturer) || *pid != std::floor(*pid)) return std::nullopt;
    record.pid = int(*pid);
    if (*kind == kManufacturerChannelRecord) {
        const QStringList fields = record.text.split(QLatin1Char('\t'));
        if (!manufacturer || fields.size() != 4) return std::nullopt;
        record.kind = ReplayRecord::Kind::ManufacturerChannel;
        record.minimum = number(fields[0]);
        record.maximum = number(fields[1]);
        record.units = fields[2];
        record.text = fields[3];
        return record;
    }
    if (manufacturer && *kind == kChannelRecord) return std::nullopt;
    if (*kind == kChannelRecord) {
        record.kind = ReplayRecord::Kind::Channel;
        return record;
    }
    if (*kind < 0 || *kind > kChannelRecord) return std::nullopt;
    record.kind = ReplayRecord::Kind::Data;
    record.time = *kind;
    return record;
}

QString markRecordLine(const QDateTime& start, const QString& text) {
    return QStringLiteral("%1,0,%2,%3").arg(kMarkRecord, 0, 'f', 0).arg(dateValue(start), 0, 'f', 8).arg(text);
}

QString channelRecordLine(int pid, const QString& name) {
    return QStringLiteral("%1,%2,0,%3").arg(kChannelRecord, 0, 'f', 0).arg(pid).arg(name);
}

QString dataRecordLine(double seconds, int pid, const QString& reply) {
    return QStringLiteral("%1,%2,0,%3").arg(std::max(seconds, 0.0), 0, 'f', 3).arg(pid).arg(reply);
}

QString manufacturerChannelRecordLine(int code, const QString& name, const QString& units,
                                      std::optional<double> minimum, std::optional<double> maximum) {
    const auto bound = [](std::optional<double> v) { return v ? QString::number(*v, 'g', 17) : QString(); };
    const auto plain = [](QString text) { return text.replace(QLatin1Char('\t'), QLatin1Char(' ')); };
    return QStringLiteral("%1,%2,0,%3\t%4\t%5\t%6")
        .arg(kManufacturerChannelRecord, 0, 'f', 0)
        .arg(code)
        .arg(bound(minimum), bound(maximum), plain(units), plain(name));
}

QString definitionsRecordLine(const QStringList& files) {
    QStringList names;
    for (const QString& file : files)
        names.append(QString(file).replace(QLatin1Char('\t'), QLatin1Char(' ')));
    return QStringLiteral("%1,0,0,%2").arg(kDefinitionsRecord, 0, 'f', 0).arg(names.join(QLatin1Char('\t')));
}

double dateValue(const QDateTime& when) {
    return double(epoch().daysTo(when.date())) + when.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime fromDateValue(double days) {
    const double whole = std::floor(days);
    const qint64 msecs = qint64(std::llround((days - whole) * 86400000.0));
    return QDateTime(epoch().addDays(qint64(whole)), QTime(0, 0)).addMSecs(msecs);
}

bool RecordingReader::open(const QString& path) {
    file_.close();
    file_.setFileName(path);
    skipped_ = 0;
    return file_.open(QIODevice::ReadOnly);
}

bool RecordingReader::readLine(QString& line, bool& tooLong) {
    if (atEnd()) return false;
    QByteArray bytes = file_.readLine(kMaxLineLength);
    tooLong = !bytes.endsWith('\n') && !file_.atEnd();
    if (tooLong) {
        // Pass over the rest of the overlong line.
        char c = 0;
        while (file_.getChar(&c) && c != '\n') {
        }
    }
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromLatin1(bytes);
    return true;
}

bool RecordingReader::next(ReplayRecord& record) {
    QString line;
    bool tooLong = false;
    for (;;) {
        const qint64 start = file_.pos();
        if (!readLine(line, tooLong)) return false;
        if (!tooLong && line.trimmed().isEmpty()) continue;
        if (const auto parsed = tooLong ? std::nullopt : parseRecord(line)) {
            record = *parsed;
            recordPosition_ = start;
            return true;
        }
        ++skipped_;
    }
}

} // namespace zelcor
