#include "definitions/parameterpass.h"

#include "dtc/codereply.h"
#include "link/addressing.h"

namespace zelcor {

namespace {

constexpr int kNegativeResponse = 0x7F;
constexpr int kResponsePending = 0x78;
// Reads of late lines after a "response pending", and how long each waits.
constexpr int kPendingReads = 2;
constexpr double kPendingWait = 0.5;

bool isPending(const QByteArray& message) {
    return message.size() >= 3 && quint8(message[0]) == kNegativeResponse && quint8(message[2]) == kResponsePending;
}

// The request's service answered, positively or not.
bool answersService(const QByteArray& message, int service) {
    if (message.isEmpty()) return false;
    const int first = quint8(message[0]);
    if (first == kNegativeResponse) return message.size() >= 2 && quint8(message[1]) == service;
    return first == service + 0x40;
}

// Headers that every emission-related controller hears: asked as with no header at all.
bool isFunctional(const QString& header) {
    return header.isEmpty() || header == QLatin1String("7DF") || header == QLatin1String("18DB33F1");
}

} // namespace

RequestOutcome ParameterPass::ask(const ParameterRequest& request, const QString& replyId) {
    RequestOutcome outcome;
    const HeaderLayout layout = exchange_.headerLayout();
    exchange_.send(request.text());
    QString text = exchange_.receiveAll(0);
    if (text.isEmpty()) {
        outcome.problem = QStringLiteral("the adapter stopped answering");
        problem_ = outcome.problem;
        return outcome;
    }
    for (int read = 0;; ++read) {
        QStringList lines;
        QString error;
        for (const QString& line : text.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
            const QString word = adapterErrorIn(line);
            if (word == noDataWord) continue;
            if (!word.isEmpty())
                error = word; // a full buffer or a bus error may have swallowed frames
            else if (replyId.isEmpty() ||
                     (line.size() > replyId.size() && line.startsWith(replyId, Qt::CaseInsensitive)))
                lines.append(line);
        }
        if (!error.isEmpty()) {
            outcome.problem = QStringLiteral("the adapter said %1 to %2").arg(error, request.text());
            return outcome;
        }
        bool pending = false;
        if (layout == HeaderLayout::Legacy) {
            for (const QString& line : lines) {
                const Reply reply = parseReply(normaliseLine(line, layout), QString(), layout);
                if (!reply.isSound() || reply.service < 0) continue;
                QByteArray message(1, char(reply.service));
                if (reply.parameter >= 0) message.append(char(reply.parameter));
                message.append(reply.data);
                if (isPending(message)) {
                    pending = true;
                } else if (answersService(message, request.service)) {
                    outcome.message = message;
                    return outcome;
                }
            }
        } else {
            for (const CanController& controller : reassembleCan(lines, layout)) {
                for (const CanMessage& message : controller.messages) {
                    if (isPending(message.payload)) {
                        pending = true;
                    } else if (answersService(message.payload, request.service)) {
                        // A reply cut short keeps the bytes that came: the parameters that
                        // read no further still get their values.
                        outcome.message = message.payload;
                        return outcome;
                    }
                }
            }
        }
        if (!pending || read >= kPendingReads || exchange_.stopRequested()) break;
        const QString more = exchange_.receiveAll(kPendingWait);
        if (more.isEmpty()) break;
        text += QLatin1Char('\r') + more;
    }
    outcome.problem = QStringLiteral("no reply to %1").arg(request.text());
    return outcome;
}

RequestOutcome ParameterPass::askOnHeader(const ParameterRequest& request) {
    RequestOutcome outcome;
    if (isFunctional(request.header)) {
        if (!header_.isEmpty()) {
            talkToAll(exchange_, false);
            header_.clear();
        }
        return ask(request, QString());
    }
    const auto address = addressForHeader(request.header);
    const HeaderLayout layout = exchange_.headerLayout();
    if (!address) {
        outcome.problem = QStringLiteral("header %1: no controller address known for it").arg(request.header);
    } else if (layout == HeaderLayout::Legacy) {
        outcome.problem = QStringLiteral("header %1: controllers are addressed so on CAN only").arg(request.header);
    } else if (address->extended != (layout == HeaderLayout::Can29)) {
        outcome.problem =
            QStringLiteral("header %1: the car speaks %2-bit CAN")
                .arg(request.header, layout == HeaderLayout::Can29 ? QStringLiteral("29") : QStringLiteral("11"));
    }
    if (!outcome.problem.isEmpty()) return outcome;
    if (header_ != request.header) {
        header_ = request.header; // a refused header may have moved the adapter all the same
        headerProblem_.clear();
        if (!talkTo(exchange_, *address, &headerProblem_))
            headerProblem_ = QStringLiteral("header %1: %2").arg(request.header, headerProblem_);
    }
    if (!headerProblem_.isEmpty()) {
        outcome.problem = headerProblem_;
        return outcome;
    }
    return ask(request, address->replyText());
}

void ParameterPass::run() {
    problem_.clear();
    header_.clear();
    outcomes_.clear();
    for (const PlannedRequest& planned : plan_.requests()) {
        if (problem_.isEmpty() && exchange_.stopRequested()) problem_ = QStringLiteral("the pass was stopped");
        if (!problem_.isEmpty()) {
            outcomes_.append({QByteArray(), problem_});
            continue;
        }
        outcomes_.append(askOnHeader(planned.request));
    }
    if (!header_.isEmpty() && !exchange_.linkLost()) talkToAll(exchange_, false);
    header_.clear();
    plan_.evaluate(outcomes_, &values_);
}

} // namespace zelcor
