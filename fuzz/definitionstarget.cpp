// Fuzz target: manufacturer parameter definition files and their formulas. The input is a
// definition file, then a NUL, then reply data. The file is read; every accepted
// parameter's formula is evaluated against the data, and the whole set planned and
// evaluated once with the data as every request's reply.

#include "definitions/requestplan.h"
#include "fuzzrig.h"

#include <cmath>

using namespace zelcor;
using namespace zelcor::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray contents = split < 0 ? input : input.left(split);
    const QByteArray reply = split < 0 ? QByteArray() : input.mid(split + 1);

    const DefinitionFile file = readDefinitions(contents);
    int accepted = 0;
    for (const LineVerdict& v : file.verdicts) {
        require(v.accepted() == (v.parameter >= 0), "an accepted line names its parameter, a rejected one none");
        if (v.accepted()) ++accepted;
        v.text();
    }
    require(accepted == file.parameters.size(), "every accepted line gives one parameter");
    for (const ParameterDefinition& d : file.parameters) {
        require(d.equation.highestByte() < longestReplyData(d.request), "no accepted formula reads beyond any reply");
        require(d.references.size() == d.equation.references().size(), "every val{} is resolved");
        for (const int r : d.references)
            require(r >= 0 && r < file.parameters.size(), "a val{} names an accepted parameter");
        const Evaluation e = d.equation.evaluate(reply);
        require(e.value ? std::isfinite(*e.value) && e.problem.isEmpty() : !e.problem.isEmpty(),
                "a value is a number, no value has a reason");
    }

    const RequestPlan plan({file});
    QList<RequestOutcome> outcomes;
    for (const PlannedRequest& r : plan.requests()) {
        QByteArray message = QByteArray::fromHex(r.request.text().toLatin1());
        message[0] = char(r.request.service + 0x40);
        outcomes.append({message + reply, QString()});
    }
    QList<ParameterValue> values;
    plan.evaluate(outcomes, &values);
    require(values.size() == plan.parameters().size(), "every parameter gets a value or a reason");
    for (const ParameterValue& v : values)
        require(v.value ? std::isfinite(*v.value) : !v.problem.isEmpty(), "no value without a reason");
    return 0;
}
