#include "link/tracelog.h"

namespace zelcor {

namespace {
const QString kPassTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
} // namespace

QString TraceLog::passEndLine(const QDateTime& now) {
    return QStringLiteral("T") + now.toString(kPassTimeFormat);
}

QDateTime TraceLog::passEndTime(const QString& line) {
    return QDateTime::fromString(line.mid(1).trimmed(), kPassTimeFormat);
}

void TraceLog::openForAppending() {
    close();
    if (path_.isEmpty() || held_) return;
    file_.setFileName(path_);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) file_.close();
}

void TraceLog::close() {
    if (file_.isOpen()) file_.close();
}

void TraceLog::writeLine(const QString& text) {
    if (!isOpenForWriting()) return;
    QByteArray bytes = text.toLatin1();
    bytes.append("\r\n");
    // Each line reaches the operating system at once, so a crash loses nothing written.
    file_.write(bytes);
    file_.flush();
}

bool TraceLog::openForReplay() {
    close();
    file_.setFileName(path_);
    return file_.open(QIODevice::ReadOnly);
}

bool TraceLog::readLine(QString& line) {
    // A line ends at CR LF, at a lone CR or at a lone LF.
    if (!file_.isOpen() || file_.atEnd()) return false;
    QByteArray bytes;
    char c;
    while (file_.getChar(&c)) {
        if (c == '\n') break;
        if (c == '\r') {
            char next;
            if (file_.peek(&next, 1) == 1 && next == '\n') file_.getChar(&next);
            break;
        }
        bytes.append(c);
    }
    line = QString::fromLatin1(bytes);
    return true;
}

} // namespace zelcor
