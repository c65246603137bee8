#pragma once
// Trouble codes from the replies to a service 03 (stored), 07 (pending) or 0A (permanent)
// request, as list items, or why they could not be read.

#include "link/reply.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zelcor {

// Blanks between the code and the reporting controller's address in a list item.
inline constexpr int codeItemGap = 7;
// Closing item of every list of codes that was read.
inline const QString endOfListItem = QStringLiteral("--- End of list ---");
// Item shown while the codes are read.
inline const QString readingItem = QStringLiteral("--- Reading ---");
// What stands in the list when the codes could not be read, before the reason.
inline const QString unreadableCodesText = QStringLiteral("Codes could not be read: ");

// The codes of every controller that answered, in order: code, seven blanks, the
// controller's address in decimal ("P0133       16"); or, when the reply cannot be
// trusted (an adapter error word, a damaged line, a segmented reply cut short, fewer
// codes than announced, no controller answering), why.
struct CodeRead {
    QStringList items;
    QString problem;         // empty when the codes were read
    bool unanswered = false; // the adapter said NO DATA and nothing else
};

// One message of a controller on CAN, reassembled from its frames: the payload bytes,
// starting with the response byte.
struct CanMessage {
    QByteArray payload;
    qsizetype length = 0; // announced payload length in bytes
    int nextSequence = 1; // sequence number the next consecutive frame must carry
    bool open = false;    // a segmented message that never received all its frames
};

// The messages of one controller, in the order their first frames came.
struct CanController {
    int address;
    std::vector<CanMessage> messages;
};

// The messages of every controller that answered on CAN (ISO 15765-2), in the order the
// controllers first spoke. `lines`: one frame each, headers on, as the adapter wrote them.
std::vector<CanController> reassembleCan(const QStringList& lines, HeaderLayout layout);

// `reply`: the lines separated by CR, blanks, LF and ">" removed, headers on.
// `service`: 3 (stored codes), 7 (pending codes) or 0x0A (permanent codes).
CodeRead readTroubleCodes(const QString& reply, HeaderLayout layout, int service);

// The adapter's word for a request that no controller answered.
inline const QString noDataWord = QStringLiteral("NO DATA");

// The stored codes that the controllers answering "0101" count (`reply` as for
// readTroubleCodes), added up; -1 when none of them answered.
int reportedCodeCount(const QString& reply, HeaderLayout layout);

// The read of a list that the adapter answered with NO DATA alone. Nothing pending and a car
// older than permanent codes both answer so: an empty list. For stored codes some cars do
// too, so it is an empty list when the car's own count `reported` says none, and a failed
// read naming the count when it says more; -1 (the count is unknown) keeps NO DATA as the
// reason.
CodeRead unansweredCodes(int service, int reported);

// The list as shown: the code items, then the empty item and "--- End of list ---"; or
// the one item "Codes could not be read: <why>".
QStringList troubleCodeList(const CodeRead& read);

} // namespace zelcor
