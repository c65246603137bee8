#include "definitions/requestplan.h"

#include <QHash>
#include <QVarLengthArray>
#include <algorithm>

namespace zelcor {

namespace {

constexpr int kNegativeResponse = 0x7F;
constexpr int kPositiveOffset = 0x40;

QString hexByte(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// "request out of range (31)": the meaning of a negative response code.
QString refusalText(int code) {
    static const QHash<int, const char*> meanings{
        {0x10, "general reject"},
        {0x11, "service not supported"},
        {0x12, "sub-function not supported"},
        {0x13, "wrong message length or format"},
        {0x14, "response too long"},
        {0x21, "busy, repeat the request"},
        {0x22, "conditions not correct"},
        {0x24, "request sequence error"},
        {0x31, "request out of range"},
        {0x33, "security access denied"},
        {0x72, "general programming failure"},
        {0x78, "response pending"},
        {0x7E, "sub-function not supported in this session"},
        {0x7F, "service not supported in this session"},
    };
    const char* meaning = meanings.value(code, nullptr);
    return meaning ? QStringLiteral("%1 (%2)").arg(QLatin1String(meaning), hexByte(code))
                   : QStringLiteral("code %1").arg(hexByte(code));
}

} // namespace

std::optional<QByteArrayView> replyData(const ParameterRequest& request, const QByteArray& message, QString* problem) {
    const auto byteAt = [&message](qsizetype i) { return i < message.size() ? quint8(message[i]) : -1; };
    const int echo = 1 + request.identifierBytes;
    if (message.isEmpty()) {
        *problem = QStringLiteral("no reply to %1").arg(request.text());
    } else if (byteAt(0) == kNegativeResponse) {
        *problem = byteAt(2) < 0
                       ? QStringLiteral("a negative response to %1").arg(request.text())
                       : QStringLiteral("the controller refused %1: %2").arg(request.text(), refusalText(byteAt(2)));
    } else if (byteAt(0) != request.service + kPositiveOffset) {
        *problem = QStringLiteral("the reply answers service %1, not %2")
                       .arg(hexByte(byteAt(0) - kPositiveOffset), hexByte(request.service));
    } else if (message.size() < echo) {
        *problem = QStringLiteral("the reply to %1 ends before its identifier").arg(request.text());
    } else {
        quint32 identifier = 0;
        for (int i = 1; i < echo; ++i)
            identifier = identifier << 8 | quint32(byteAt(i));
        if (identifier == request.identifier) return QByteArrayView(message).sliced(echo);
        ParameterRequest answered = request;
        answered.identifier = identifier;
        *problem = QStringLiteral("the reply answers %1, not %2").arg(answered.text(), request.text());
    }
    return std::nullopt;
}

RequestPlan::RequestPlan(const QList<DefinitionFile>& files) {
    QList<ParameterDefinition> parameters;
    for (const DefinitionFile& file : files) {
        const int offset = int(parameters.size());
        for (ParameterDefinition d : file.parameters) {
            for (int& r : d.references)
                r += offset;
            parameters.append(d);
        }
    }
    build(std::move(parameters));
}

RequestPlan RequestPlan::part(const QList<int>& wanted, QList<int>* kept) const {
    QList<bool> needed(parameters_.size(), false);
    QList<int> open;
    for (const int i : wanted)
        if (i >= 0 && i < parameters_.size()) open.append(i);
    while (!open.isEmpty()) {
        const int i = open.takeLast();
        if (needed[i]) continue;
        needed[i] = true;
        for (const int r : parameters_[i].references)
            if (r >= 0 && r < parameters_.size() && !needed[r]) open.append(r);
    }
    kept->clear();
    QList<int> newIndex(parameters_.size(), -1);
    for (int i = 0; i < parameters_.size(); ++i) {
        if (!needed[i]) continue;
        newIndex[i] = int(kept->size());
        kept->append(i);
    }
    QList<ParameterDefinition> parameters;
    for (const int i : std::as_const(*kept)) {
        ParameterDefinition d = parameters_[i];
        for (int& r : d.references)
            r = r >= 0 && r < newIndex.size() ? newIndex[r] : -1;
        parameters.append(d);
    }
    RequestPlan plan;
    plan.build(std::move(parameters));
    return plan;
}

void RequestPlan::build(QList<ParameterDefinition> parameters) {
    parameters_ = std::move(parameters);

    requestOf_.fill(-1, parameters_.size());
    for (int i = 0; i < parameters_.size(); ++i) {
        const ParameterDefinition& d = parameters_[i];
        if (d.equation.highestByte() < 0) continue;
        auto known = std::find_if(requests_.begin(), requests_.end(),
                                  [&d](const PlannedRequest& r) { return r.request == d.request; });
        if (known == requests_.end()) known = requests_.insert(requests_.end(), PlannedRequest{d.request, {}});
        known->parameters.append(i);
        requestOf_[i] = int(known - requests_.begin());
    }

    // Each parameter after those it references; the files are read free of loops, and a
    // parameter left in one anyway is evaluated last, where its references have no value.
    QList<int> waiting(parameters_.size(), 0);
    QList<QList<int>> users(parameters_.size());
    for (int i = 0; i < parameters_.size(); ++i) {
        for (const int r : parameters_[i].references) {
            if (r < 0 || r >= parameters_.size()) continue;
            ++waiting[i];
            users[r].append(i);
        }
    }
    for (int i = 0; i < parameters_.size(); ++i)
        if (waiting[i] == 0) order_.append(i);
    for (qsizetype k = 0; k < order_.size(); ++k)
        for (const int user : users[order_[k]])
            if (--waiting[user] == 0) order_.append(user);
    for (int i = 0; i < parameters_.size(); ++i)
        if (waiting[i] > 0) order_.append(i);
}

void RequestPlan::evaluate(const QList<RequestOutcome>& outcomes, QList<ParameterValue>* values) const {
    Q_ASSERT(outcomes.size() == requests_.size());
    values->resize(parameters_.size());
    QVarLengthArray<std::optional<QByteArrayView>, 16> data(requests_.size());
    QVarLengthArray<QString, 16> problems(requests_.size());
    for (qsizetype r = 0; r < requests_.size() && r < outcomes.size(); ++r) {
        problems[r] = outcomes[r].problem;
        if (problems[r].isEmpty()) data[r] = replyData(requests_[r].request, outcomes[r].message, &problems[r]);
    }

    for (ParameterValue& v : *values)
        v = {};
    QVarLengthArray<std::optional<double>, 8> referenced;
    for (const int i : order_) {
        const ParameterDefinition& d = parameters_[i];
        ParameterValue& out = (*values)[i];
        const int r = requestOf_[i];
        if (r >= 0 && !data[r]) {
            out.problem = problems[r];
            continue;
        }
        referenced.resize(d.references.size());
        for (qsizetype k = 0; k < d.references.size(); ++k) {
            const int target = d.references[k];
            referenced[k] = target >= 0 && target < values->size() ? (*values)[target].value : std::nullopt;
        }
        Evaluation e = d.equation.evaluate(r >= 0 ? *data[r] : QByteArrayView(),
                                           {referenced.constData(), size_t(referenced.size())});
        out.value = e.value;
        out.problem = std::move(e.problem);
    }
}

} // namespace zelcor
