#pragma once
// The trace log, log.txt in the program folder: tagged lines of the adapter
// conversation for technical support, only ever appended to. While a trace is
// replayed the same file is read back instead.

#include <QFile>
#include <QString>

namespace zelcor {

class TraceLog {
public:
    void setPath(const QString& path) { path_ = path; }
    QString path() const { return path_; }

    // Closes the file, then opens it for appending.
    void openForAppending();
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

private:
    QString path_;
    QFile file_;
};

} // namespace zelcor
