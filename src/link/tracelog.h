#pragma once
// The trace log, log.txt in the program folder: tagged lines of the adapter
// conversation for technical support, only ever appended to. A trace replay reads
// the file back through a log of its own, and holds the writing one meanwhile.

#include <QDateTime>
#include <QFile>
#include <QString>

namespace zelcor {

class TraceLog {
public:
    void setPath(const QString& path) { path_ = path; }
    QString path() const { return path_; }

    // Closes the file, then opens it for appending (not while held).
    void openForAppending();
    // A replay reads the file: nothing is written until it lets go.
    void setHeld(bool held) {
        held_ = held;
        if (held) close();
    }
    bool held() const { return held_; }
    void close();
    // Writes text + CR LF when the file is open for appending, ignoring errors.
    void writeLine(const QString& text);
    bool isOpenForWriting() const { return file_.isOpen() && (file_.openMode() & QIODevice::Append); }

    // Replay side: the file opened for reading from its start.
    bool openForReplay();
    bool isOpenForReading() const {
        return file_.isOpen() && (file_.openMode() & QIODevice::ReadOnly) && !isOpenForWriting();
    }
    // Reads the next physical line without its line end; false at the end of the file.
    bool readLine(QString& line);
    qint64 position() const { return file_.pos(); }
    void seek(qint64 position) { file_.seek(position); }
    bool atEnd() const { return !file_.isOpen() || file_.atEnd(); }

    // The "T" line that ends every pass of a trace written with Debug on, and the time it holds.
    static QString passEndLine(const QDateTime& now);
    static QDateTime passEndTime(const QString& line);

private:
    QString path_;
    QFile file_;
    bool held_ = false;
};

} // namespace zelcor
