#include "modules/modulescan.h"

#include "modules/moduleanswer.h"

#include <algorithm>

namespace zelcor {

namespace {

// A request that is asked again when the module only said "response pending", and the
// reads of late lines before that.
constexpr int kAttempts = 3;
constexpr int kPendingReads = 2;
constexpr double kPendingWait = 0.5;

const QString kDiscoveryRequest = QStringLiteral("3E00"); // TesterPresent: harmless in any session
const QString kSystemNameRequest = QStringLiteral("22F197");
const QString kUdsCodesRequest = QStringLiteral("1902FF"); // every code whatever its status
const QString kKwpCodesRequest = QStringLiteral("1802FF00");
const QString kUdsClearRequest = QStringLiteral("14FFFFFF");
const QString kKwpClearRequest = QStringLiteral("14FF00");
constexpr int kClearResponse = 0x54;
// A module answers within 50 ms: twice that, in the adapter's 4.096 ms steps, for each
// address that keeps silent; and the adapter's own wait again afterwards.
const QString kShortWait = QStringLiteral("ATST19");
const QString kDefaultWait = QStringLiteral("ATST32");

bool saysOk(const QString& text) {
    return text.contains(QLatin1String("OK"));
}

} // namespace

QString protocolName(ModuleProtocol protocol) {
    return protocol == ModuleProtocol::Kwp ? QStringLiteral("kwp") : QStringLiteral("uds");
}

bool ModuleResult::warningLamp() const {
    return std::any_of(codes.begin(), codes.end(), [](const ModuleCode& c) { return c.has(CodeStatus::WarningLamp); });
}

void ModuleScan::progress(int done, int total, const QString& step) {
    if (onProgress_) onProgress_({done, total, step});
}

bool ModuleScan::mayGoOn() {
    if (problem_.isEmpty() && exchange_.stopRequested()) problem_ = QStringLiteral("the scan was stopped");
    return problem_.isEmpty();
}

bool ModuleScan::address(const ModuleAddress& address) {
    if (!talkTo(exchange_, address, &problem_)) return false;
    flowControlMoved_ = flowControlMoved_ || address.ownFlowControl;
    return true;
}

void ModuleScan::backToFunctional() {
    talkToAll(exchange_, flowControlMoved_);
    if (waitShortened_) {
        exchange_.send(kDefaultWait);
        exchange_.receiveAll(0);
    }
    flowControlMoved_ = false;
    waitShortened_ = false;
}

ModuleScan::Asked ModuleScan::ask(const ModuleAddress& address, const QString& request) {
    Asked asked;
    const HeaderLayout layout = exchange_.headerLayout();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        exchange_.send(request);
        QString text = exchange_.receiveAll(0);
        if (text.isEmpty()) {
            problem_ = QStringLiteral("the adapter stopped answering");
            asked.problem = problem_;
            return asked;
        }
        for (int read = 0;; ++read) {
            const ModuleAnswer answer = moduleAnswer(text, address, layout);
            asked.heard = asked.heard || !answer.silent();
            if (!answer.problem.isEmpty()) {
                asked.problem = answer.problem;
                return asked;
            }
            bool pending = false;
            QList<QByteArray> finals;
            for (const QByteArray& message : answer.messages) {
                const auto negative = negativeResponse(message);
                if (negative && negative->pending())
                    pending = true;
                else if (!finals.contains(message))
                    finals.append(message); // the same answer twice is one answer
            }
            if (finals.size() > 1) {
                asked.problem = QStringLiteral("the module gave %1 different answers").arg(finals.size());
                return asked;
            }
            if (finals.size() == 1) {
                asked.message = finals.first();
                return asked;
            }
            if (!pending) {
                asked.problem = QStringLiteral("no answer");
                return asked;
            }
            if (read >= kPendingReads || !mayGoOn()) break;
            const QString more = exchange_.receiveAll(kPendingWait);
            if (more.isEmpty()) break;
            text += QLatin1Char('\r') + more;
        }
        if (!mayGoOn()) break;
    }
    asked.problem = QStringLiteral("the module kept answering \"response pending\"");
    return asked;
}

ModuleCodeRead ModuleScan::readCodesAs(const ModuleAddress& address, ModuleProtocol protocol, bool* heard) {
    const Asked asked = ask(address, protocol == ModuleProtocol::Kwp ? kKwpCodesRequest : kUdsCodesRequest);
    *heard = asked.heard;
    if (!asked.problem.isEmpty()) {
        ModuleCodeRead read;
        read.problem = asked.problem;
        return read;
    }
    return protocol == ModuleProtocol::Kwp ? decodeKwpCodes(asked.message) : decodeUdsCodes(asked.message);
}

void ModuleScan::readCodes(ModuleResult& module) {
    bool heard = false;
    ModuleCodeRead read = readCodesAs(module.address, module.protocol, &heard);
    // A module that refuses the one form, or keeps silent, is asked the other form once.
    if (!read.read() && (read.refused || !heard) && mayGoOn()) {
        const ModuleProtocol other = module.protocol == ModuleProtocol::Uds ? ModuleProtocol::Kwp : ModuleProtocol::Uds;
        bool otherHeard = false;
        const ModuleCodeRead second = readCodesAs(module.address, other, &otherHeard);
        if (second.read()) {
            module.protocol = other;
            read = second;
        }
    }
    module.codes = read.codes;
    module.error = read.read() ? QString() : QStringLiteral("codes could not be read: ") + read.problem;
}

QList<ModuleResult> ModuleScan::scan() {
    problem_.clear();
    QList<ModuleResult> found;
    const QList<ModuleAddress>& candidates = candidateAddresses(exchange_.headerLayout());
    if (candidates.isEmpty()) {
        problem_ = QStringLiteral("modules are reached on CAN only, and this car speaks another protocol");
        return found;
    }
    const int steps = int(candidates.size());
    exchange_.send(kShortWait);
    waitShortened_ = saysOk(exchange_.receiveAll(0));
    for (int i = 0; i < steps && mayGoOn(); ++i) {
        const ModuleAddress& candidate = candidates[i];
        progress(i, steps, QStringLiteral("looking at %1").arg(candidate.label()));
        if (!address(candidate)) break;
        if (!ask(candidate, kDiscoveryRequest).heard || !problem_.isEmpty()) continue;
        ModuleResult module;
        module.address = candidate;
        found.append(module);
    }
    const int total = steps + int(found.size());
    for (int i = 0; i < found.size() && mayGoOn(); ++i) {
        ModuleResult& module = found[i];
        progress(steps + i, total, QStringLiteral("reading the codes of %1").arg(module.address.label()));
        if (!address(module.address)) break;
        const Asked name = ask(module.address, kSystemNameRequest);
        module.name = identifierText(name.message, systemNameIdentifier).value_or(QString());
        if (mayGoOn()) readCodes(module);
    }
    if (!problem_.isEmpty()) found.clear(); // a scan cut short would show modules as missing
    backToFunctional();
    progress(total, total, QString());
    return found;
}

bool ModuleScan::clear(ModuleResult& module) {
    problem_.clear();
    module.clearError.clear();
    bool cleared = false;
    if (address(module.address)) {
        const Asked asked =
            ask(module.address, module.protocol == ModuleProtocol::Kwp ? kKwpClearRequest : kUdsClearRequest);
        cleared = !asked.message.isEmpty() && quint8(asked.message.at(0)) == kClearResponse;
        if (!cleared) {
            const auto refused = negativeResponse(asked.message);
            module.clearError = QStringLiteral("clearing failed: ") + (refused ? refused->text()
                                                                       : asked.problem.isEmpty()
                                                                           ? QStringLiteral("an unexpected answer")
                                                                           : asked.problem);
        }
        // What the module holds now, cleared or not.
        if (mayGoOn()) readCodes(module);
    }
    if (!problem_.isEmpty() && module.clearError.isEmpty())
        module.clearError = QStringLiteral("clearing failed: ") + problem_;
    backToFunctional();
    return cleared;
}

bool ModuleScan::clearAll(QList<ModuleResult>& modules) {
    bool all = true;
    for (int i = 0; i < modules.size(); ++i) {
        progress(i, int(modules.size()), QStringLiteral("clearing %1").arg(modules[i].shownName()));
        all = clear(modules[i]) && all;
        if (!problem_.isEmpty()) return false;
    }
    progress(int(modules.size()), int(modules.size()), QString());
    return all;
}

} // namespace zelcor
