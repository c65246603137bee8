#pragma once
// One pass over the manufacturer parameters of a request plan: every (header, request) asked
// once on the controller its header names, the replies (segmented ones joined) fed to the
// plan, and the functional address set again for the OBD work afterwards.

#include "definitions/requestplan.h"
#include "link/exchange.h"

#include <QList>
#include <QString>

namespace zelcor {

class ParameterPass {
public:
    // The pass keeps `plan` by reference: it must outlive the pass.
    ParameterPass(Exchange& exchange, const RequestPlan& plan) : exchange_(exchange), plan_(plan) {}
    ParameterPass(Exchange& exchange, RequestPlan&& plan) = delete;

    // Asks every request of the plan and evaluates its parameters. A request that got no
    // usable answer leaves its parameters without value, each saying why; a reply cut short
    // leaves only those that read its missing bytes.
    void run();

    // One per parameter of the plan, from the last run().
    const QList<ParameterValue>& values() const { return values_; }
    // One per request of the plan, from the last run().
    const QList<RequestOutcome>& outcomes() const { return outcomes_; }
    // Why the last run() stopped before its last request (a stop, the link lost); empty else.
    const QString& problem() const { return problem_; }

private:
    RequestOutcome ask(const ParameterRequest& request, const QString& replyId);
    RequestOutcome askOnHeader(const ParameterRequest& request);

    Exchange& exchange_;
    const RequestPlan& plan_;
    QList<ParameterValue> values_;
    QList<RequestOutcome> outcomes_;
    QString problem_;
    QString header_;        // the header the adapter is set to; empty: the functional address
    QString headerProblem_; // why the adapter could not be set to header_
};

} // namespace zelcor
