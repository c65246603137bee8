#include "link/link.h"

#include "base/format.h"
#include "base/numbers.h"
#include "base/programfolder.h"
#include "link/helptexts.h"

namespace zelcor {

Link::Link(Clock& clock_, Port& port_, Host& host_, const QString& programFolder_)
    : clock(clock_), port(port_), host(host_), programFolder(programFolder_) {
    trace.setPath(inFolder(programFolder, QStringLiteral("log.txt")));
    connect(&port, &Port::readyRead, this, [this] {
        if (pollerEnabled_)
            poll();
    });
    connect(&port, &Port::removed, this, [this] {
        if (pollerEnabled_)
            poll();
    });
}

void Link::setPollerEnabled(bool enabled) {
    pollerEnabled_ = enabled;
    if (enabled && port.isOpen() && port.bytesWaiting() > 0)
        poll();
}

void Link::poll() {
    if (replaying)
        return;
    // A device that went away may already report itself closed.
    if (port.errorNumber() == PortErrorDeviceRemoved) {
        deviceRemoved();
        return;
    }
    if (!port.isOpen())
        return;
    if (port.bytesWaiting() > 0) {
        const QByteArray bytes = port.readAll();
        if (!bytes.isEmpty()) {
            rxbuf += QString::fromLatin1(bytes);
            lastrxtime = clock.now();
        }
    }
    if (port.errorNumber() == PortErrorDeviceRemoved)
        deviceRemoved();
}

void Link::deviceRemoved() {
    stopflag = true;
    // One box per connection: the device keeps failing until the connection ends.
    if (removalReported_)
        return;
    removalReported_ = true;
    host.message(deviceRemovedMessage(), QStringLiteral("Error"), MessageIcon::Critical);
}

void Link::writeRaw(const QString& text) {
    if (port.isOpen())
        port.write(text.toLatin1());
}

void Link::send(const QString& ss) {
    if (settings.recording)
        logline(QStringLiteral("S") + ss);
    if (replaying)
        return;
    rxbuf.clear();
    writeRaw(ss + QStringLiteral("\r\n"));
    if (stopflag)
        return;
    clock.waitUntil(1.0, [this] { return rxbuf.contains(QLatin1Char('>')); });
    if (stopflag)
        return;
    clock.wait(settings.srtime);
}

QString Link::receive() {
    timeAfterReceive = generalSingle(float(clock.now() - lastrxtime));
    emit timeAfterReceiveChanged();
    QString s = readReply();
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('>'));
    if (settings.recording) {
        if (s.endsWith(QLatin1String("\r\r")))
            logline(QStringLiteral("GI\r\n") + s.left(s.size() - 2));
        else
            logline(QStringLiteral("GI\r\n") + s);
    }
    s.remove(QLatin1Char('\n'));
    if (!ecuaddr.isEmpty()) {
        const QStringList lines = s.split(QLatin1Char('\r'));
        for (const QString& line : lines) {
            if (line.size() < 7)
                continue;
            const QString normal = normaliseLine(line, hdrformat);
            if (normal.mid(4, 2) == ecuaddr) {
                s = normal;
                break;
            }
        }
    }
    s.remove(QLatin1Char('\r'));
    if (s.isEmpty())
        needinit = true;
    return s;
}

QString Link::ReceiveMulti(double tm2wait) {
    clock.wait(tm2wait);
    timeAfterReceive = generalSingle(float(clock.now() - lastrxtime));
    emit timeAfterReceiveChanged();
    QString s = readReply();
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('>'));
    s.remove(QLatin1Char('\n'));
    if (settings.recording)
        logline(QStringLiteral("RM\r\n") + s);
    clock.wait(0.0);
    return s;
}

QString Link::readbuf() {
    if (replaying)
        return replayReadbuf();
    QString s = rxbuf;
    rxbuf.clear();
    return s;
}

QString Link::readbuf(int n) {
    if (replaying)
        return replayReadbuf();
    QString s = rxbuf.left(n);
    rxbuf = rxbuf.mid(n);
    return s;
}

QString Link::readReply() {
    const QString s = readbuf();
    if (settings.recording)
        logline(replyLine(s));
    return s;
}

bool isReplyLine(const QString& line) { return line.startsWith(QLatin1Char('R')) && line != QLatin1String("RM"); }

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
    if (line == QLatin1String("RM"))
        line = QStringLiteral("R\\M");
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

QString Link::replayReadbuf() {
    const qint64 start = trace.position();
    QString line;
    while (trace.readLine(line)) {
        if (line.startsWith(QLatin1Char('L'))) {
            if (onReplayListLine)
                onReplayListLine(int(val(line.mid(1))));
        } else if (isReplyLine(line)) {
            return replyFromLine(line);
        } else if (line.startsWith(QLatin1Char('T'))) {
            break; // the recorded pass had no further reply
        }
    }
    trace.seek(start);
    return QString();
}

QString Link::normaliseLine(const QString& line, int hdrformat) {
    if (hdrformat == 2) // 7E8 06 41 00 ... -> 07 06 E8 41 00 ...
        return QStringLiteral("0") + line.mid(0, 1) + line.mid(3, 2) + line.mid(1, 2) + line.mid(5);
    if (hdrformat == 7) // 18DAF110 06 41 00 ... -> 18 06 10 41 00 ...
        return line.mid(0, 2) + line.mid(8, 2) + line.mid(6, 2) + line.mid(10);
    return line;
}

} // namespace zelcor
