#include "logging/traceport.h"

#include "base/numbers.h"
#include "link/link.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace zelcor {

namespace {
const QByteArray kPrompt = QByteArrayLiteral("\r\r>");
const QByteArray kNoData = QByteArrayLiteral("NO DATA\r\r>");
// The answer to a wakeup's request: enough for the wakeup to find the vehicle.
const QByteArray kWakeupAnswer = QByteArrayLiteral("41 00 00 00 00 00\r\r>");
} // namespace

const QLatin1String TracePort::kBanner("ELM327 (trace replay)");

bool TracePort::start(const QString& path) {
    stop();
    trace_.setPath(path);
    return trace_.openForReplay();
}

void TracePort::stop() {
    trace_.close();
    open_ = false;
    written_.clear();
    waiting_.clear();
    reset_ = false;
}

bool TracePort::open(int number) {
    Q_UNUSED(number)
    open_ = trace_.isOpenForReading();
    return open_;
}

QString TracePort::deviceName(int number) const {
    Q_UNUSED(number)
    return QFileInfo(trace_.path()).fileName();
}

QString TracePort::devicePath(int number) const {
    Q_UNUSED(number)
    return trace_.path();
}

QByteArray TracePort::readAll() {
    QByteArray bytes;
    bytes.swap(waiting_);
    return bytes;
}

void TracePort::write(const QByteArray& bytes) {
    if (!open_) return;
    written_ += bytes;
    bool answered = false;
    for (;;) {
        // A command ends at the first CR or LF.
        const qsizetype cr = written_.indexOf('\r'), lf = written_.indexOf('\n');
        const qsizetype end = cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf);
        if (end < 0) break;
        const QString command = QString::fromLatin1(written_.left(end)).trimmed().toUpper().remove(QLatin1Char(' '));
        written_.remove(0, end + 1);
        if (command.isEmpty()) continue;
        waiting_ += answer(command);
        answered = true;
    }
    if (answered) emit readyRead();
}

QByteArray TracePort::answer(const QString& command) {
    // The protocol's description is the one adapter setting whose answer the trace holds.
    if (command.startsWith(QLatin1String("AT")) && command != QLatin1String("ATDP")) {
        if (command == QLatin1String("ATZ") || command == QLatin1String("ATWS") || command == QLatin1String("ATI")) {
            reset_ = true;
            return "\r\r" + QByteArray(kBanner.data(), kBanner.size()) + kPrompt;
        }
        return recordedSettingAnswer(command).value_or("OK" + kPrompt);
    }
    // The STN chip's own commands, as a plain ELM327 answers them.
    if (command.startsWith(QLatin1String("ST"))) return "?" + kPrompt;
    // The first request after a reset is the wakeup's.
    if (std::exchange(reset_, false)) return kWakeupAnswer;
    return nextReply();
}

std::optional<QByteArray> TracePort::recordedSettingAnswer(const QString& command) {
    const qint64 start = trace_.position();
    QString line;
    bool sent = false;
    while (trace_.readLine(line) && !line.startsWith(QLatin1Char('T'))) {
        if (isReplyLine(line)) {
            // Only an adapter's answer to a setting, whether or not its command was read.
            const QByteArray reply = Link::replyFromLine(line).toLatin1();
            const QByteArray word = reply.trimmed().split('\r').value(0).trimmed();
            if (word == "OK" || word == "?") return reply.contains('>') ? reply : reply + '>';
            break;
        }
        if (line.startsWith(QLatin1Char('S'))) {
            if (sent || line.mid(1).trimmed().toUpper().remove(QLatin1Char(' ')) != command) break;
            sent = true;
        }
    }
    trace_.seek(start);
    return std::nullopt;
}

QByteArray TracePort::nextReply() {
    const qint64 start = trace_.position();
    QString line;
    while (trace_.readLine(line)) {
        if (line.startsWith(QLatin1Char('L'))) {
            const auto entry = toInt16(leadingNumber(line.mid(1))); // none for a damaged line
            if (entry && onListLine_) onListLine_(*entry);
        } else if (isReplyLine(line)) {
            QByteArray reply = Link::replyFromLine(line).toLatin1();
            // A reply taken before its prompt came still ends the command's wait.
            if (!reply.contains('>')) reply += '>';
            return reply;
        } else if (line.startsWith(QLatin1Char('T'))) {
            trace_.seek(start);
            return kNoData;
        }
    }
    trace_.seek(start);
    if (onEnd_) onEnd_();
    return QByteArrayLiteral(">");
}

} // namespace zelcor
