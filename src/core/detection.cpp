// The detection pass (function code 0): protocol, responding controllers, the
// selected controller, its supported PIDs, and from them the function list and the
// live-data and graph channel lists.

#include "base/numbers.h"
#include "core/listentry.h"
#include "core/session.h"
#include "vehicle/pidnames.h"

namespace zelcor {

namespace {

// The address of a controller-list entry: its first three characters as a number, in hex.
QString entryAddress(const QString& entry) { return hex2(int(val(entry.left(3)))); }

} // namespace

void Session::resetForDetection() {
    for (LiveRow& row : liveRows) {
        row.channel.clear();
        row.value.clear();
    }
    oxygen.reset();
    for (GraphTraceSelector& trace : graphTraces)
        trace.channel.clear();
    List4.clear();
    List4Index = -1;
    generalInfo.continuous.clear();
    generalInfo.nonContinuous.clear();
    generalInfo.incomplete.clear();
    List5.clear();
    List6.clear();
    generalInfo.controllers.clear();
    generalInfo.controllerIndex = -1;
    Text10.clear();
    textPanel.value.clear();
    generalInfo.codeCount.clear();
    generalInfo.mil.clear();
    addrready = false;
    emit functionListChanged();
    emit channelsChanged();
    for (Panel p : {Panel::D0101, Panel::D0104, Panel::D0113, Panel::D03, Panel::D250, Panel::D240})
        emit panelChanged(p);
}

void Session::addchanfirst(const QString& entry) {
    for (LiveRow& row : liveRows)
        row.channel.entries.prepend(entry);
    for (GraphTraceSelector& trace : graphTraces)
        trace.channel.entries.prepend(entry);
}

void Session::addchanlast(const QString& entry) {
    for (LiveRow& row : liveRows)
        row.channel.entries.append(entry);
    for (GraphTraceSelector& trace : graphTraces)
        trace.channel.entries.append(entry);
}

void Session::applySupportRules(int n) {
    const QString entry = listEntry(pidname(n), n);
    if (n == 1) {
        if (settings.recording)
            logline(QStringLiteral("CP1"));
        List4 << listEntry(QStringLiteral("General Info"), 1) << listEntry(QStringLiteral("DTC (Trouble Codes)"), 254)
              << listEntry(QStringLiteral("Freeze Frame Data"), 248) << listEntry(QStringLiteral("Real-Time Gauges"), 250)
              << listEntry(QStringLiteral("Real-Time Graphs"), 240);
    } else if ((n >= 3 && n <= 11) || n == 18 || (n >= 20 && n <= 27)) {
        addchanlast(entry);
    } else if (n == 12 || n == 13) {
        List4 << entry;
        addchanfirst(entry);
        if (n == 13) {
            addchanlast(listEntry(QStringLiteral("HP (experimental)"), 998));
            addchanlast(listEntry(QStringLiteral("Torque (experimental)"), 997));
        }
    } else if (n >= 14 && n <= 17) {
        addchanfirst(entry);
        if (n == 16)
            addchanlast(listEntry(QStringLiteral("Fuel Economy (MPG)"), 999));
    } else if (n == 19 || n == 30) {
        List4 << entry;
    } else if (n == 32) {
        List4 << entry;
        send(QStringLiteral("0120"));
        const QString reply = receive();
        if (replyMatches(reply, QStringLiteral("4120"))) {
            if (settings.recording)
                logline(QStringLiteral("C33"));
            for (int byte = 0; byte < 4; ++byte) {
                const int bits = hexByteAt(reply, 11 + 2 * byte);
                for (int bit = 0; bit < 8; ++bit) {
                    const int pid = 33 + byte * 8 + bit;
                    const bool supported = bits & (0x80 >> bit);
                    pidsup[pid] = supported ? 1 : 0;
                    if (supported && pid <= 63) {
                        const QString more = listEntry(pidname(pid), pid);
                        List4 << more;
                        addchanlast(more);
                    }
                }
            }
        }
    }
}

void Session::detect() {
    if (stopflag)
        return;
    if (!pendingaddr.isEmpty()) {
        ecuaddr = pendingaddr;
        pendingaddr.clear();
    }
    hdrformat = 5;
    resetForDetection();

    {
        RecordingPause pause(*this);
        send(QStringLiteral("ATDP"));
    }
    const QString description = readReply();
    protocolText = QString(description).remove(QLatin1Char('>')).remove(QLatin1Char('\n')).replace(QLatin1Char('\r'), QLatin1Char(' ')).trimmed();
    logline(QStringLiteral("P ") + description);

    send(QStringLiteral("0100"));
    const QString broadcast = ReceiveMulti(1.5);
    host.setClipboardText(description + QStringLiteral("/") + broadcast);

    for (QString line : broadcast.split(QLatin1Char('\r'))) {
        if (line.size() < 4)
            continue;
        // Only lines that answer the request name a controller; adapter texts such as
        // NO DATA or SEARCHING... would otherwise be read as addresses.
        const int at = line.indexOf(QLatin1String("4100"));
        if (at < 0)
            continue;
        if (at == 5) {
            hdrformat = 2;
            line = normaliseLine(line, 2);
        } else if (at == 10) {
            hdrformat = 7;
            line = normaliseLine(line, 7);
        }
        const int address = int(hexval(line.mid(4, 2)));
        generalInfo.controllers << QString::number(address);
        if (settings.recording)
            logline(QStringLiteral("A ") + QString::number(address, 16).toUpper());
    }

    const QStringList& responders = generalInfo.controllers;
    if (!ecuaddr.isEmpty()) {
        bool found = false;
        for (const QString& entry : responders) {
            if (entryAddress(entry) == ecuaddr) {
                found = true;
                if (settings.recording)
                    logline(QStringLiteral("GEA1"));
            }
        }
        if (found) {
            addrmiss = 0;
        } else if (++addrmiss > 2) {
            if (!responders.isEmpty()) {
                generalInfo.controllerIndex = 0;
                ecuaddr = entryAddress(responders.first());
                if (settings.recording)
                    logline(QStringLiteral("EA4:") + ecuaddr);
                generalInfo.currentAddress = responders.first();
            } else {
                ecuaddr = QStringLiteral("10");
                if (settings.recording)
                    logline(QStringLiteral("EA5:10"));
                generalInfo.currentAddress = QStringLiteral("16 - Engine");
            }
        }
    } else {
        if (settings.recording)
            logline(QStringLiteral("EA1"));
        if (!responders.isEmpty()) {
            generalInfo.controllerIndex = 0;
            ecuaddr = entryAddress(responders.first());
            if (settings.recording)
                logline(QStringLiteral("EA2:") + ecuaddr);
            generalInfo.currentAddress = responders.first();
        }
    }
    addrready = true;
    emit panelChanged(Panel::D0101);

    if (settings.recording)
        clock.wait(0.5);

    send(QStringLiteral("0100"));
    QString reply = receive();
    if (replyMatches(reply, QStringLiteral("4100"))) {
        if (settings.recording)
            logline(QStringLiteral("C3"));
        if (reply.mid(10, 8) == QLatin1String("00000000"))
            reply[10] = QLatin1Char('8'); // PID 01 always counts as supported
        for (int byte = 0; byte < 4; ++byte) {
            const int bits = hexByteAt(reply, 11 + 2 * byte);
            for (int bit = 0; bit < 8; ++bit) {
                const int pid = 1 + byte * 8 + bit;
                const bool supported = bits & (0x80 >> bit);
                pidsup[pid] = supported ? 1 : 0;
                if (supported)
                    applySupportRules(pid);
            }
        }
    }
    emit channelsChanged();

    if (List4.size() > 2) {
        emit functionListChanged();
        setList4Index(0);
    } else {
        List4.clear();
        needinit = true;
        emit functionListChanged();
    }
    if (settings.recording)
        logline(QStringLiteral("EA8:") + ecuaddr);
}

void Session::List7_Click(int index) {
    if (!addrready || index < 0 || index >= generalInfo.controllers.size())
        return;
    generalInfo.controllerIndex = index;
    const QString entry = generalInfo.controllers.at(index);
    const QString address = entryAddress(entry);
    if (address != ecuaddr) {
        pendingaddr = address;
        funccode = 0;
        generalInfo.currentAddress = entry;
    }
    emit panelChanged(Panel::D0101);
}

} // namespace zelcor
