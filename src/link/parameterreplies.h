#pragma once
// The answer to one request for several service 01 PIDs ("010C0D05"), split back into one
// reply per PID. Only the selected controller's message counts, reassembled from its
// frames; each PID's bytes come from its own place in that message, so a PID the answer
// lacks, or bytes cut off, leave that PID without a reply instead of shifting others.

#include "link/reply.h"

#include <QList>
#include <QString>

namespace zelcor {

// The data bytes a service 01 PID's answer holds; 0 when the parameter table does not know
// the PID.
int answerBytes(int pid);

// `text` is everything received for the request: lines separated by CR, blanks, LF and
// the prompt removed, headers on (`layout` CAN). The result holds one Reply per PID of
// `pids`, in that order: a sound one, written as the single-PID reply line the
// controller would have sent, for each PID found whole; one that says why not for the
// rest; empty ones all when nothing came at all (the link is lost).
QList<Reply> splitParameterReplies(const QString& text, const QString& selectedController, HeaderLayout layout,
                                   const QList<int>& pids);

} // namespace zelcor
