#pragma once
// The messages one module sent in answer to a request, taken from the adapter's lines (headers
// on, one frame a line) and reassembled, or why they cannot be trusted.

#include "link/reply.h"
#include "modules/moduleaddresses.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zelcor {

struct ModuleAnswer {
    QList<QByteArray> messages; // complete messages from the module's reply identifier, in order
    QString problem;            // an adapter error word, a message that stopped short
    int foreignLines = 0;       // lines from other identifiers, left out

    bool silent() const { return messages.isEmpty() && problem.isEmpty(); }
};

// `text`: the lines separated by CR, blanks, LF and the prompt removed.
ModuleAnswer moduleAnswer(const QString& text, const ModuleAddress& address, HeaderLayout layout);

} // namespace zelcor
