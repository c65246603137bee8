#include "modules/moduleanswer.h"

#include "dtc/codereply.h"

namespace zelcor {

ModuleAnswer moduleAnswer(const QString& text, const ModuleAddress& address, HeaderLayout layout) {
    ModuleAnswer answer;
    const QString id = address.replyText();
    QStringList own;
    for (const QString& line : text.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const QString error = adapterErrorIn(line);
        if (error == noDataWord) continue;
        if (!error.isEmpty()) {
            // A full buffer or a bus error may have swallowed frames: nothing of it is trusted.
            answer.problem = QStringLiteral("the adapter said %1").arg(error);
            continue;
        }
        if (line.size() > id.size() && line.startsWith(id, Qt::CaseInsensitive))
            own.append(line);
        else
            ++answer.foreignLines;
    }
    if (!answer.problem.isEmpty()) return answer;
    for (const CanController& controller : reassembleCan(own, layout)) {
        for (const CanMessage& message : controller.messages) {
            if (message.open) {
                answer.problem = QStringLiteral("the answer stopped after %1 of %2 bytes")
                                     .arg(message.payload.size())
                                     .arg(message.length);
                answer.messages.clear();
                return answer;
            }
            if (!message.payload.isEmpty()) answer.messages.append(message.payload);
        }
    }
    return answer;
}

} // namespace zelcor
