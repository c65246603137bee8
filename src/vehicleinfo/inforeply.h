#pragma once
// The replies to a service 09 (or 06) request, one data block per controller: segmented
// CAN messages reassembled, numbered legacy messages put in order.

#include "link/reply.h"

#include <QList>
#include <QString>

namespace zelcor {

struct InfoItem {
    int controller = 0; // the sender's address
    int count = 0;      // CAN: the number of data items announced (1 after a bitmap); legacy: the messages
    QByteArray data;    // the bytes after the item: the count byte (CAN) and message numbers left out
};

struct InfoRead {
    QList<InfoItem> items; // one per controller that answered
    QString problem;       // why the reply cannot be trusted; empty when it can
    bool unsupported() const { return items.isEmpty(); }
};

// `reply`: the lines separated by CR, headers on. A controller that answers for another
// item, an adapter error word ("NO DATA": nobody answered) and a controller's damaged
// message each leave that controller out; a damaged message says why in `problem`.
InfoRead readInfoItem(const QString& reply, HeaderLayout layout, int item, int service = 9);

} // namespace zelcor
