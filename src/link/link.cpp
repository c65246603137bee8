#include "link/link.h"

#include "base/format.h"
#include "base/numbers.h"
#include "base/programfolder.h"
#include "link/headerlessreply.h"
#include "link/helptexts.h"
#include "obd/parameters.h"

#include <QRegularExpression>

namespace zelcor {

Link::Link(Clock& clock, Port& port, Host& host, const Settings& settings, const QString& programFolder)
    : clock_(clock), port_(&port), host_(host), settings_(settings), programFolder_(programFolder) {
    trace_.setPath(inFolder(programFolder_, QStringLiteral("log.txt")));
    usePort(port);
}

void Link::usePort(Port& port) {
    disconnect(port_, nullptr, this, nullptr);
    port_ = &port;
    connect(port_, &Port::readyRead, this, [this] {
        if (pollerEnabled_) poll();
    });
    connect(port_, &Port::removed, this, [this] {
        if (pollerEnabled_) poll();
    });
}

void Link::setPollerEnabled(bool enabled) {
    pollerEnabled_ = enabled;
    if (enabled && port_->isOpen() && port_->bytesWaiting() > 0) poll();
}

void Link::poll() {
    // A device that went away may already report itself closed.
    if (port_->errorNumber() == int(PortError::DeviceRemoved)) {
        deviceRemoved();
        return;
    }
    if (!port_->isOpen()) return;
    if (port_->bytesWaiting() > 0) {
        const QByteArray bytes = port_->readAll();
        if (!bytes.isEmpty()) lastReceiveTime_ = clock_.now();
        // More than any reply holds, prompts in it or not, is a flood: the lot is dropped,
        // so that the buffer stays bounded whatever the adapter sends.
        if (received_.size() + bytes.size() > kReceiveLimit) {
            if (!overflowed_ && tracing())
                traceLine(QStringLiteral("X the adapter sent more than %1 bytes for one command; dropped")
                              .arg(kReceiveLimit));
            received_.clear();
            overflowed_ = true;
        } else {
            received_ += QString::fromLatin1(bytes);
        }
    }
    if (port_->errorNumber() == int(PortError::DeviceRemoved)) deviceRemoved();
}

void Link::deviceRemoved() {
    if (deviceMayReturn_) {
        deviceGone_ = true;
        linkLost_ = true;
        return;
    }
    stopRequested_ = true;
    // One box per connection: the device keeps failing until the connection ends.
    if (removalReported_) return;
    removalReported_ = true;
    emit deviceLost();
    host_.message(deviceRemovedMessage(openDevice_), QStringLiteral("Error"), MessageIcon::Critical);
}

void Link::writeRaw(const QString& text) {
    if (port_->isOpen()) port_->write(text.toLatin1());
}

Link::Expectation Link::expectationOf(const QString& command) {
    static const QRegularExpression request(QStringLiteral("^0([12])([0-9A-Fa-f]{2})(00)?([1-9A-Fa-f])?$"));
    const QRegularExpressionMatch m = request.match(command);
    Expectation e;
    if (!m.hasMatch() || (m.captured(1) == QLatin1String("2")) != m.hasCaptured(3)) return e;
    if (m.hasCaptured(4) && m.captured(1) != QLatin1String("1")) return e;
    e.service = m.captured(1).toInt();
    e.pid = m.captured(2).toInt(nullptr, 16);
    // PIDs 00, 20, 40 ... answer with four bytes of support bits; service 02 puts the frame number first.
    e.bytes = (e.pid % 0x20 == 0 ? 4 : parameterBytes(e.pid)) + (e.service == 2 ? 1 : 0);
    return e;
}

void Link::checkAnswer(Reply& reply) {
    if (expected_.service > 0) lastMismatch_ = {};
    if (reply.isEmpty()) return;
    if (expected_.service > 0 && reply.isSound() && reply.fromSelected &&
        (reply.service != 0x40 + expected_.service || reply.parameter != expected_.pid))
        lastMismatch_ = {lastCommand_, lastReplyLines_.join(QLatin1Char(' ')),
                         reply.whyNotAnswer(expected_.service, expected_.pid)};
    QString why = reply.problem;
    if (why.isEmpty() && expected_.service > 0) {
        why = reply.whyNotAnswer(expected_.service, expected_.pid);
        // Missing bytes are never read as 0: a short answer is a damaged one.
        if (why.isEmpty() && reply.data.size() < expected_.bytes)
            reply.problem = why =
                QStringLiteral("%1 data bytes where %2 were expected").arg(reply.data.size()).arg(expected_.bytes);
    }
    if (!why.isEmpty() && tracing()) traceLine(QStringLiteral("X ") + why);
}

void Link::send(const QString& command) {
    const std::optional<AdapterCommand> doubtful = doubtfulCommand(command);
    if (doubtful && adapter_.refuses(*doubtful)) {
        // Refused before on this connection: its answer is known without asking again.
        expected_ = {};
        lastCommand_ = command;
        received_ = QStringLiteral("?\r\r>");
        overflowed_ = false;
        return;
    }
    expected_ = expectationOf(command);
    lastCommand_ = command;
    ++commandsSent_;
    if (tracing()) traceLine(QStringLiteral("S") + command);
    received_.clear();
    overflowed_ = false;
    // A carriage return ends the command; a line feed after it would reach the adapter as
    // a new character and stop an answer on some of them.
    writeRaw(command + QStringLiteral("\r"));
    if (stopRequested_ || deviceGone_) return;
    waitForPrompt();
    if (doubtful) noteAnswer(*doubtful);
    if (!doubtful && !command.startsWith(QLatin1String("AT")) && received_.contains(QLatin1String("BUFFER FULL")))
        askAgainWithoutSpaces(command);
    if (stopRequested_ || deviceGone_) return;
    clock_.wait(settings_.promptDelay);
}

void Link::waitForPrompt() {
    clock_.waitUntil(1.0, [this] { return received_.contains(QLatin1Char('>')) || deviceGone_; });
}

void Link::noteAnswer(AdapterCommand command) {
    const QString answer = withoutEcho(received_);
    bool said = false;
    for (const QString& line : answer.split(QRegularExpression(QStringLiteral("[\r\n>]+")), Qt::SkipEmptyParts)) {
        if (line.trimmed() == QLatin1String("?")) {
            adapter_.note(command, false);
            return;
        }
        said = said || !line.trimmed().isEmpty();
    }
    // An answer without "?" (OK, or the protocol's number) means the adapter knows the command.
    if (said) adapter_.note(command, true);
}

void Link::askAgainWithoutSpaces(const QString& command) {
    if (adapter_.refuses(AdapterCommand::Spaces)) return;
    const QString cutShort = received_;
    auto setting = [this](const QString& spaces) {
        received_.clear();
        writeRaw(spaces + QStringLiteral("\r"));
        waitForPrompt();
        noteAnswer(AdapterCommand::Spaces);
    };
    setting(QStringLiteral("ATS0"));
    if (adapter_.refuses(AdapterCommand::Spaces) || stopRequested_) {
        received_ = cutShort;
        return;
    }
    adapter_.addQuirk(QStringLiteral("BUFFER FULL on long answers"));
    received_.clear();
    writeRaw(command + QStringLiteral("\r"));
    waitForPrompt();
    const QString again = received_;
    setting(QStringLiteral("ATS1"));
    // Still too long: the adapter's words stay in the answer, which then reads as refused.
    received_ = again;
}

QString Link::withoutEcho(const QString& reply) const {
    // An adapter whose echo cannot be switched off repeats the command before its answer.
    const QString& command = lastCommand_;
    if (command.isEmpty() || !reply.startsWith(command, Qt::CaseInsensitive)) return reply;
    const QStringView rest = QStringView(reply).mid(command.size());
    if (!rest.startsWith(QLatin1Char('\r')) && !rest.startsWith(QLatin1Char('\n'))) return reply;
    return rest.toString();
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
    s = withControllerHeaders(s);
    // The selected controller's line, when it answered; else everything, which answers nothing.
    const QStringList lines = s.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
    lastReplyLines_ = lines;
    Reply reply;
    bool chosen = false;
    if (!selectedController_.isEmpty()) {
        for (const QString& line : lines) {
            if (line.size() < 7) continue;
            const QString normal = normaliseLine(line, headerLayout_);
            if (normal.mid(4, 2).compare(selectedController_, Qt::CaseInsensitive) == 0) {
                reply = parseReply(normal, selectedController_, headerLayout_);
                chosen = true;
                break;
            }
        }
    }
    if (!chosen) {
        s.remove(QLatin1Char('\r'));
        reply = parseReply(s, selectedController_, headerLayout_);
        // Why, from the first line: the adapter's words, a damaged line, or another sender.
        if (!lines.isEmpty()) {
            const QString error = adapterErrorIn(s);
            const Reply first =
                parseReply(normaliseLine(lines.first(), headerLayout_), selectedController_, headerLayout_);
            if (!error.isEmpty()) {
                reply.problem = QStringLiteral("the adapter said %1").arg(error);
            } else if (first.isSound()) { // another controller's sound reply: it answers nothing here
                const QString text = reply.text;
                reply = first;
                reply.text = text;
                reply.fromSelected = false;
            } else {
                reply.problem = first.problem;
            }
        }
    }
    if (reply.isEmpty()) linkLost_ = true;
    if (overflowed_)
        reply.problem = QStringLiteral("the adapter sent more than %1 bytes for one command").arg(kReceiveLimit);
    checkAnswer(reply);
    return reply;
}

QString Link::receiveText() {
    noteReceiveTime();
    QString s = takeReply();
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('>'));
    if (tracing()) traceLine(QStringLiteral("GI\r\n") + (s.endsWith(QLatin1String("\r\r")) ? s.chopped(2) : s));
    s.remove(QLatin1Char('\n'));
    if (QString(s).remove(QLatin1Char('\r')).isEmpty()) linkLost_ = true;
    return withControllerHeaders(s);
}

QString Link::withControllerHeaders(const QString& lines) const {
    return headerlessController_.isEmpty() ? lines : withHeaders(lines, headerlessController_, headerLayout_);
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
    QString s = received_;
    received_.clear();
    return s;
}

QString Link::takeReply() {
    const QString s = takeReceived();
    lastReplyCharacters_ = s.size();
    if (tracing()) traceLine(replyLine(s));
    return withoutEcho(s);
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

} // namespace zelcor
