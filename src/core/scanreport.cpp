#include "core/scanreport.h"

#include "base/numbers.h"
#include "core/codescan.h"
#include "core/livescan.h"
#include "core/session.h"
#include "vehicle/decodepid.h"
#include "vehicle/pidnames.h"

#include <QJsonArray>

namespace zelcor {

namespace {

QString hexAddress(const QString& decimal) { return hex2(int(val(decimal))); }

QJsonArray toArray(const QStringList& list) { return QJsonArray::fromStringList(list); }

QString joined(const QStringList& list) { return list.isEmpty() ? QStringLiteral("(none)") : list.join(QStringLiteral(", ")); }

} // namespace

QString ScanReport::text() const {
    QString out;
    out += QStringLiteral("Protocol: %1\n").arg(protocol);
    out += QStringLiteral("Controllers:\n");
    for (const QString& c : controllers)
        out += QStringLiteral("  %1 (%2 hex)%3\n").arg(c, hexAddress(c), c == selected ? QStringLiteral("  [selected]") : QString());
    out += QStringLiteral("Check-Engine (MIL) Light: %1\n").arg(mil);
    out += QStringLiteral("Number of Trouble Codes: %1\n").arg(codeCount);
    out += QStringLiteral("Continuous Tests Supported: %1\n").arg(joined(continuous));
    out += QStringLiteral("Non-Continuous Tests Supported: %1\n").arg(joined(nonContinuous));
    out += QStringLiteral("Self-Tests Failed or Not Completed: %1\n").arg(joined(incomplete));
    out += QStringLiteral("Parameters:\n");
    for (const ScanPid& p : pids)
        out += QStringLiteral("  %1  %2: %3\n").arg(hex2(p.pid), p.name, p.text);
    out += codesText(*this);
    if (passRate) {
        out += QStringLiteral("Live data:\n");
        for (const ScanLive& l : live)
            out += QStringLiteral("  %1  %2: %3\n").arg(l.code, 3).arg(l.name, l.text);
        out += QStringLiteral("Pass rate: %1 /sec\n").arg(*passRate, 0, 'f', 1);
    }
    return out;
}

QJsonObject ScanReport::json() const {
    QJsonObject o;
    o[QStringLiteral("protocol")] = protocol;
    QJsonArray list;
    for (const QString& c : controllers)
        list.append(QJsonObject{{QStringLiteral("decimal"), c}, {QStringLiteral("hex"), hexAddress(c)}});
    o[QStringLiteral("controllers")] = list;
    o[QStringLiteral("selected")] = selected;
    o[QStringLiteral("mil")] = mil;
    o[QStringLiteral("code_count")] = codeCount;
    o[QStringLiteral("monitors")] = QJsonObject{{QStringLiteral("continuous"), toArray(continuous)},
                                                {QStringLiteral("noncontinuous"), toArray(nonContinuous)},
                                                {QStringLiteral("incomplete"), toArray(incomplete)}};
    QJsonArray pidList;
    for (const ScanPid& p : pids) {
        QJsonObject item{{QStringLiteral("pid"), p.pid},
                         {QStringLiteral("name"), p.name},
                         {QStringLiteral("text"), p.text},
                         {QStringLiteral("units"), p.units}};
        item[QStringLiteral("value")] = p.value ? QJsonValue(*p.value) : QJsonValue(QJsonValue::Null);
        pidList.append(item);
    }
    o[QStringLiteral("pids")] = pidList;
    addCodesJson(*this, o);
    if (passRate) {
        QJsonArray liveList;
        for (const ScanLive& l : live) {
            QJsonObject item{{QStringLiteral("code"), l.code},
                             {QStringLiteral("name"), l.name},
                             {QStringLiteral("text"), l.text},
                             {QStringLiteral("units"), l.units}};
            item[QStringLiteral("value")] = l.value ? QJsonValue(*l.value) : QJsonValue(QJsonValue::Null);
            liveList.append(item);
        }
        o[QStringLiteral("live")] = liveList;
        o[QStringLiteral("pass_rate")] = *passRate;
    }
    return o;
}

int runScan(Session& session, ScanReport& report, double liveSeconds) {
    enum class Stage { Detect, GeneralInfo, Pids, Live, Done };
    Stage stage = Stage::Detect;
    int passes = 0;
    LiveScan liveScan(session, liveSeconds);
    session.connection.hooks.runPass = [&] {
        // A car that keeps answering but never with what a stage needs ends the scan.
        if (stage != Stage::Live && ++passes > 40) {
            session.stopflag = true;
            return;
        }
        switch (stage) {
        case Stage::Detect:
            session.COMMS(); // detection; selects General Info when it succeeds
            if (!session.needinit && session.funccode == 1)
                stage = Stage::GeneralInfo;
            break;
        case Stage::GeneralInfo:
            session.COMMS();
            if (!session.needinit && !session.generalInfo.mil.isEmpty())
                stage = Stage::Pids;
            break;
        case Stage::Pids:
            report.pids.clear();
            for (int pid = 0x03; pid <= 0x20 && !session.stopflag; ++pid) {
                if (!session.pidsup[pid])
                    continue;
                session.send(QStringLiteral("01") + hex2(pid));
                const QString reply = session.receive();
                ScanPid item;
                item.pid = pid;
                item.name = pidname(pid);
                PidOutputs out;
                item.text = decodepid(pid, reply, session.ecuaddr, session.settings, out);
                if (!item.text.isEmpty()) {
                    item.value = out.value;
                    item.units = out.units;
                }
                report.pids.append(item);
            }
            scanCodes(session, report);
            session.needinit = false; // a PID without an answer is no lost link here
            if (liveSeconds > 0 && !session.stopflag) {
                stage = Stage::Live;
                liveScan.start();
                break;
            }
            stage = Stage::Done;
            session.stopflag = true;
            break;
        case Stage::Live:
            if (liveScan.pass()) {
                stage = Stage::Done;
                session.stopflag = true;
            }
            break;
        case Stage::Done:
            session.stopflag = true;
            break;
        }
    };
    session.connection.CONNECT();

    report.protocol = session.protocolText;
    report.controllers = session.generalInfo.controllers;
    report.selected = session.generalInfo.currentAddress;
    report.mil = session.generalInfo.mil;
    report.codeCount = int(val(session.generalInfo.codeCount));
    report.continuous = session.generalInfo.continuous;
    report.nonContinuous = session.generalInfo.nonContinuous;
    report.incomplete = session.generalInfo.incomplete;
    if (liveScan.started())
        liveScan.fill(report);

    switch (session.connection.lastError) {
    case -1:
        return stage == Stage::Done ? 0 : 3;
    case 1:
        return 3;
    default:
        return 2;
    }
}

} // namespace zelcor
