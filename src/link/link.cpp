#include "link/link.h"

#include "base/format.h"
#include "base/numbers.h"
#include "base/programfolder.h"
#include "link/helptexts.h"

namespace zelcor {

Link::Link(Clock& clock, Port& port, Host& host, const Settings& settings, const QString& programFolder)
    : clock_(clock), port_(port), host_(host), settings_(settings), programFolder_(programFolder) {
    trace_.setPath(inFolder(programFolder_, QStringLiteral("log.txt")));
    connect(&port_, &Port::readyRead, this, [this] {
        if (pollerEnabled_) poll();
    });
    connect(&port_, &Port::removed, this, [this] {
        if (pollerEnabled_) poll();
    });
}

void Link::setPollerEnabled(bool enabled) {
    pollerEnabled_ = enabled;
    if (enabled && port_.isOpen() && port_.bytesWaiting() > 0) poll();
}

void Link::poll() {
    if (replaying_) return;
    // A device that went away may already report itself closed.
    if (port_.errorNumber() == int(PortError::DeviceRemoved)) {
        deviceRemoved();
        return;
    }
    if (!port_.isOpen()) return;
    if (port_.bytesWaiting() > 0) {
        const QByteArray bytes = port_.readAll();
        if (!bytes.isEmpty()) {
            received_ += QString::fromLatin1(bytes);
            lastReceiveTime_ = clock_.now();
        }
    }
    if (port_.errorNumber() == int(PortError::DeviceRemoved)) deviceRemoved();
}

void Link::deviceRemoved() {
    stopRequested_ = true;
    // One box per connection: the device keeps failing until the connection ends.
    if (removalReported_) return;
    removalReported_ = true;
    host_.message(deviceRemovedMessage(), QStringLiteral("Error"), MessageIcon::Critical);
}

void Link::writeRaw(const QString& text) {
    if (port_.isOpen()) port_.write(text.toLatin1());
}

void Link::send(const QString& command) {
    if (tracing()) traceLine(QStringLiteral("S") + command);
    if (replaying_) return;
    received_.clear();
    writeRaw(command + QStringLiteral("\r\n"));
    if (stopRequested_) return;
    clock_.waitUntil(1.0, [this] { return received_.contains(QLatin1Char('>')); });
    if (stopRequested_) return;
    clock_.wait(settings_.promptDelay);
}

void Link::noteReceiveTime() {
    timeAfterReceive_ = generalSingle(float(clock_.now() - lastReceiveTime_));
    emit timeAfterReceiveChanged();
}

Reply Link::receive() {
    noteReceiveTime();
    QString s = takeReply();
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('>'));
    if (tracing()) {
        if (s.endsWith(QLatin1String("\r\r")))
            traceLine(QStringLiteral("GI\r\n") + s.left(s.size() - 2));
        else
            traceLine(QStringLiteral("GI\r\n") + s);
    }
    s.remove(QLatin1Char('\n'));
    // The selected controller's line, when it answered.
    if (!selectedController_.isEmpty()) {
        const QStringList lines = s.split(QLatin1Char('\r'));
        for (const QString& line : lines) {
            if (line.size() < 7) continue;
            const QString normal = normaliseLine(line, headerLayout_);
            if (normal.mid(4, 2) == selectedController_) {
                s = normal;
                break;
            }
        }
    }
    s.remove(QLatin1Char('\r'));
    if (s.isEmpty()) linkLost_ = true;
    return parseReply(s, selectedController_);
}

QString Link::receiveAll(double wait) {
    clock_.wait(wait);
    noteReceiveTime();
    QString s = takeReply();
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('>'));
    s.remove(QLatin1Char('\n'));
    if (tracing()) traceLine(QStringLiteral("RM\r\n") + s);
    clock_.wait(0.0);
    return s;
}

QString Link::takeReceived() {
    if (replaying_) return replayedReply();
    QString s = received_;
    received_.clear();
    return s;
}

QString Link::takeReply() {
    const QString s = takeReceived();
    if (tracing()) traceLine(replyLine(s));
    return s;
}

bool isReplyLine(const QString& line) {
    return line.startsWith(QLatin1Char('R')) && line != QLatin1String("RM");
}

QString Link::replyLine(const QString& reply) {
    QString line = QStringLiteral("R");
    line.reserve(reply.size() + 8);
    for (const QChar c : reply) {
        if (c == QLatin1Char('\\'))
            line += QLatin1String("\\\\");
        else if (c == QLatin1Char('\r'))
            line += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            line += QLatin1String("\\n");
        else
            line += c;
    }
    // "RM" would read as the support tag.
    if (line == QLatin1String("RM")) line = QStringLiteral("R\\M");
    return line;
}

QString Link::replyFromLine(const QString& line) {
    QString reply;
    reply.reserve(line.size());
    for (qsizetype i = 1; i < line.size(); ++i) {
        QChar c = line.at(i);
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            c = line.at(++i);
            if (c == QLatin1Char('r'))
                c = QLatin1Char('\r');
            else if (c == QLatin1Char('n'))
                c = QLatin1Char('\n');
        }
        reply += c;
    }
    return reply;
}

// The next reply of the trace, the function choices ("L" lines) on the way applied; none
// when the recorded pass had no further reply.
QString Link::replayedReply() {
    const qint64 start = trace_.position();
    QString line;
    while (trace_.readLine(line)) {
        if (line.startsWith(QLatin1Char('L'))) {
            const auto entry = toInt16(leadingNumber(line.mid(1))); // none for a damaged line
            if (entry && onReplayListLine_) onReplayListLine_(*entry);
        } else if (isReplyLine(line)) {
            return replyFromLine(line);
        } else if (line.startsWith(QLatin1Char('T'))) {
            break;
        }
    }
    trace_.seek(start);
    return QString();
}

} // namespace zelcor
