#pragma once
// The requests a set of definition files needs, each asked once per pass, and the values
// of every parameter computed from their replies, val{} references after the parameters
// they name.

#include "definitions/definitionfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace zelcor {

// One request of the plan and the parameters its reply feeds.
struct PlannedRequest {
    ParameterRequest request;
    QList<int> parameters; // indices into RequestPlan::parameters()
};

// What came back for one request: the whole reply message (its response service byte
// first, frames already joined), or why nothing usable came.
struct RequestOutcome {
    QByteArray message;
    QString problem; // set when no message came (no answer, the link's error text)
};

struct ParameterValue {
    std::optional<double> value;
    QString problem; // why there is no value
};

// The data bytes of `message` after the echoed service and identifier of `request`;
// nothing, with the reason in `problem`, for a negative response or a reply to
// something else.
std::optional<QByteArrayView> replyData(const ParameterRequest& request, const QByteArray& message, QString* problem);

class RequestPlan {
public:
    RequestPlan() = default;
    // The accepted parameters of `files`, in file and line order.
    explicit RequestPlan(const QList<DefinitionFile>& files);

    const QList<ParameterDefinition>& parameters() const { return parameters_; }
    // The requests to ask, in the order their first parameter appears. A request whose
    // parameters read no byte of it (computed from val{} alone) is not asked.
    const QList<PlannedRequest>& requests() const { return requests_; }

    // Every parameter's value from one outcome per request (in the order of requests()),
    // into `values` (one per parameter; its storage is kept from pass to pass).
    void evaluate(const QList<RequestOutcome>& outcomes, QList<ParameterValue>* values) const;

    // The plan that reads only `wanted` (indices into parameters()) and the parameters their
    // val{} references need; `kept` gets, for each parameter of that plan, its index here.
    RequestPlan part(const QList<int>& wanted, QList<int>* kept) const;

private:
    void build(QList<ParameterDefinition> parameters);

    QList<ParameterDefinition> parameters_; // references are indices into this list
    QList<PlannedRequest> requests_;
    QList<int> requestOf_; // each parameter's request, -1 when it reads no reply
    QList<int> order_;     // the parameters, each after those it references
};

} // namespace zelcor
