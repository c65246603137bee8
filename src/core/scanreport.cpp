#include "core/scanreport.h"

#include "base/numbers.h"
#include "core/codescan.h"
#include "core/livescan.h"
#include "core/session.h"
#include "core/vehicleinfoscan.h"
#include "definitions/parameterpass.h"
#include "modules/modulereport.h"
#include "obd/parameters.h"

#include <QJsonArray>
#include <cmath>

namespace zelcor {

namespace {

QString hexAddress(const QString& decimal) {
    return hexByte(int(leadingNumber(decimal)));
}

QJsonArray toArray(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

QString joined(const QStringList& list) {
    return list.isEmpty() ? QStringLiteral("(none)") : list.join(QStringLiteral(", "));
}

// How a scan that ended early ended, in a few words; `mismatch`: the last request the car
// answered with something else.
QString connectionErrorText(ConnectionError error, const Link::Mismatch& mismatch) {
    switch (error) {
    case ConnectionError::AdapterNotFound:
        return QStringLiteral("no adapter answered (ERROR NUMBER 0)");
    case ConnectionError::VehicleSilent:
        return QStringLiteral("the vehicle did not answer (ERROR NUMBER 1)");
    case ConnectionError::AdapterNotConfirmed:
        return QStringLiteral("the adapter did not answer again on its port");
    case ConnectionError::VehicleNotUnderstood:
        return QStringLiteral("the vehicle's answers could not be understood (ERROR NUMBER 3)");
    case ConnectionError::DeviceRemoved:
        return QStringLiteral("the adapter went away (ERROR NUMBER 8021)");
    case ConnectionError::None:
        break;
    }
    if (!mismatch.command.isEmpty())
        return QStringLiteral("the vehicle's answers did not match the requests: %1 was answered with \"%2\" (%3)")
            .arg(mismatch.command, quotable(mismatch.heard), mismatch.why);
    return QStringLiteral("the vehicle stopped answering before the scan was complete");
}

} // namespace

QString ScanReport::text() const {
    QString out;
    out += QStringLiteral("Protocol: %1\n").arg(protocol);
    out += QStringLiteral("Controllers:\n");
    for (const QString& c : controllers)
        out += QStringLiteral("  %1 (%2 hex)%3\n")
                   .arg(c, hexAddress(c), c == selected ? QStringLiteral("  [selected]") : QString());
    out += QStringLiteral("Check-Engine (MIL) Light: %1\n").arg(mil);
    out += QStringLiteral("Number of Trouble Codes: %1\n").arg(codeCount);
    out += QStringLiteral("Continuous Tests Supported: %1\n").arg(joined(continuous));
    out += QStringLiteral("Non-Continuous Tests Supported: %1\n").arg(joined(nonContinuous));
    out += QStringLiteral("Self-Tests Failed or Not Completed: %1\n").arg(joined(incomplete));
    out += QStringLiteral("Parameters:\n");
    for (const ScanPid& p : pids)
        out += QStringLiteral("  %1  %2: %3\n").arg(hexByte(p.pid), p.name, p.text);
    out += codesText(*this);
    out += vehicleInfoText(*this);
    if (modules) out += modulesText(*modules, modulesProblem);
    if (extended) out += parametersText(*extended, extendedProblem);
    if (passRate) {
        out += QStringLiteral("Live data:\n");
        for (const ScanLive& l : live)
            // PIDs as under "Parameters"; a channel computed from others has none.
            out += QStringLiteral("  %1  %2: %3\n")
                       .arg(l.code <= 0xFF ? hexByte(l.code) : QStringLiteral("--"), l.name, l.text);
        out += QStringLiteral("Pass rate: %1 /sec").arg(*passRate, 0, 'f', 1);
        if (boundRate && *boundRate > 0)
            out += QStringLiteral(", at most %1 /sec on this line (%2 %)")
                       .arg(*boundRate, 0, 'f', 1)
                       .arg(std::lround(100 * *passRate / *boundRate));
        out += QLatin1Char('\n');
        out += polling.fast ? QStringLiteral("Polling: fast, %1 PID(s) per request%2%3\n")
                                  .arg(polling.pidsPerRequest)
                                  .arg(polling.ownHeader ? QStringLiteral(", selected controller only") : QString(),
                                       polling.responseCount ? QStringLiteral(", response count") : QString())
                            : QStringLiteral("Polling: plain\n");
    }
    if (adapter) out += adapter->text();
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
    addVehicleInfoJson(*this, o);
    if (modules) o[QStringLiteral("modules")] = modulesJson(*modules);
    if (extended) o[QStringLiteral("extended")] = parametersJson(*extended);
    QJsonArray errorList;
    for (const ScanError& e : errors)
        errorList.append(QJsonObject{{QStringLiteral("stage"), e.stage}, {QStringLiteral("message"), e.message}});
    o[QStringLiteral("errors")] = errorList;
    if (adapter) o[QStringLiteral("adapter")] = adapter->json();
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
        if (boundRate && *boundRate > 0) {
            o[QStringLiteral("bound_rate")] = *boundRate;
            o[QStringLiteral("efficiency")] = *passRate / *boundRate;
        }
        QJsonArray sampleList;
        for (const ScanSample& sample : samples) {
            QJsonObject values;
            for (const auto& [code, value] : sample.values)
                values[QString::number(code)] = value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
            QJsonObject item{{QStringLiteral("t"), std::round(sample.t * 1000) / 1000},
                             {QStringLiteral("values"), values}};
            if (extended) {
                QJsonArray read;
                for (const std::optional<double>& value : sample.extended)
                    read.append(value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null));
                item[QStringLiteral("extended")] = read;
            }
            sampleList.append(item);
        }
        o[QStringLiteral("samples")] = sampleList;
        o[QStringLiteral("polling")] = QJsonObject{{QStringLiteral("fast"), polling.fast},
                                                   {QStringLiteral("own_header"), polling.ownHeader},
                                                   {QStringLiteral("response_count"), polling.responseCount},
                                                   {QStringLiteral("pids_per_request"), polling.pidsPerRequest}};
    }
    return o;
}

namespace {

// The whole-car scan, from the functional address and the adapter's own waits.
void scanModules(Session& session, ScanReport& report) {
    session.fastPolling().useFunctionalAddress();
    ModuleScan scan(session.link());
    QList<ModuleResult> found = scan.scan();
    explainModuleCodes(found, session.programFolder());
    report.modules = found;
    report.modulesProblem = scan.problem();
    if (!scan.problem().isEmpty()) report.errors.append({QStringLiteral("modules"), scan.problem()});
}

// One pass over the manufacturer parameters, from the functional address and back to it.
void scanParameters(Session& session, ScanReport& report, const RequestPlan& plan) {
    session.fastPolling().useFunctionalAddress();
    ParameterPass pass(session.link(), plan);
    pass.run();
    report.extended = parameterReadings(plan, pass.values());
    report.extendedProblem = pass.problem();
    if (!pass.problem().isEmpty()) report.errors.append({QStringLiteral("extended"), pass.problem()});
}

} // namespace

int runScan(Session& session, ScanReport& report, double liveSeconds, bool modules, const RequestPlan* parameters) {
    enum class Stage { Detect, GeneralInfo, Pids, Live, Done };
    Stage stage = Stage::Detect;
    int passes = 0;
    LiveScan liveScan(session, liveSeconds);
    liveScan.setParameters(parameters);
    Link& link = session.link();
    Navigation& navigation = session.navigation();
    session.connection().setPassRunner([&] {
        // A car that keeps answering but never with what a stage needs ends the scan.
        if (stage != Stage::Live && ++passes > 40) {
            link.requestStop();
            return;
        }
        switch (stage) {
        case Stage::Detect:
            session.runPass(); // detection; selects General Info when it succeeds
            if (!link.linkLost() && navigation.function() == Function::GeneralInfo) stage = Stage::GeneralInfo;
            break;
        case Stage::GeneralInfo:
            session.runPass();
            if (!link.linkLost() && !session.vehicle().generalInfo().mil.isEmpty()) stage = Stage::Pids;
            break;
        case Stage::Pids:
            report.pids.clear();
            for (int pid = 0x03; pid <= 0x20 && !link.stopRequested(); ++pid) {
                if (!session.detection().supports(pid)) continue;
                const Reply reply = link.request(QStringLiteral("01") + hexByte(pid));
                ScanPid item;
                item.pid = pid;
                item.name = parameterName(pid);
                if (reply.answers(0x01, pid)) {
                    const Decoded decoded = decodeParameter(pid, reply.data, session.settings());
                    item.text = decoded.text;
                    if (!item.text.isEmpty()) {
                        item.value = decoded.value;
                        item.units = decoded.units;
                    }
                }
                report.pids.append(item);
            }
            scanCodes(session, report);
            scanVehicleInfo(session, report);
            if (modules && !link.stopRequested()) scanModules(session, report);
            if (parameters && !link.stopRequested()) scanParameters(session, report, *parameters);
            link.setLinkLost(false); // a PID without an answer is no lost link here
            if (liveSeconds > 0 && !link.stopRequested()) {
                stage = Stage::Live;
                liveScan.start();
                break;
            }
            stage = Stage::Done;
            link.requestStop();
            break;
        case Stage::Live:
            if (liveScan.pass()) {
                stage = Stage::Done;
                link.requestStop();
            }
            break;
        case Stage::Done:
            link.requestStop();
            break;
        }
    });
    session.connection().run();

    const GeneralInfoPanel& info = session.vehicle().generalInfo();
    report.protocol = session.detection().protocolText();
    report.controllers = info.controllers;
    report.selected = info.currentAddress;
    report.mil = info.mil;
    report.codeCount = int(leadingNumber(info.codeCount));
    report.continuous = info.continuous;
    report.nonContinuous = info.nonContinuous;
    report.incomplete = info.incomplete;
    if (liveScan.started()) liveScan.fill(report);
    if (link.adapter().known()) report.adapter = link.adapter();

    const ConnectionError error = session.connection().lastError();
    if (error != ConnectionError::None || stage != Stage::Done) {
        const QString cause = session.connection().failureCause();
        const QString text = connectionErrorText(error, link.lastMismatch());
        report.errors.append(
            {QStringLiteral("connection"), cause.isEmpty() ? text : text + QStringLiteral(": ") + cause});
    }
    switch (error) {
    case ConnectionError::None:
        return stage == Stage::Done ? 0 : 3;
    case ConnectionError::VehicleSilent:
    case ConnectionError::VehicleNotUnderstood:
        return 3;
    default:
        return 2;
    }
}

} // namespace zelcor
