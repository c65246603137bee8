#include "vehicleinfo/inforeply.h"

#include "dtc/codereply.h"

#include <QMap>

namespace zelcor {

namespace {

int byteAt(const QByteArray& bytes, qsizetype i) {
    return quint8(bytes.at(i));
}

void addProblem(InfoRead& read, const QString& problem) {
    read.problem = read.problem.isEmpty() ? problem : read.problem + QStringLiteral("; ") + problem;
}

// CAN: one message per controller: the response byte, the item, for service 09 the number
// of data items (not after a support bitmap), the data.
InfoRead canItems(const QStringList& lines, HeaderLayout layout, int response, int item) {
    const bool countByte = response == 0x49 && item % 0x20 != 0;
    InfoRead read;
    for (const CanController& controller : reassembleCan(lines, layout)) {
        for (const CanMessage& m : controller.messages) {
            if (m.open) {
                addProblem(read, QStringLiteral("the reply of controller %1 ended after %2 of %3 bytes")
                                     .arg(controller.address)
                                     .arg(m.payload.size())
                                     .arg(m.length));
                continue;
            }
            if (m.payload.size() < 2 || byteAt(m.payload, 0) != response || byteAt(m.payload, 1) != item) continue;
            if (m.payload.size() < 3) {
                addProblem(read, QStringLiteral("the reply of controller %1 holds no data").arg(controller.address));
                continue;
            }
            if (countByte)
                read.items.append({controller.address, byteAt(m.payload, 2), m.payload.mid(3)});
            else
                read.items.append({controller.address, 1, m.payload.mid(2)});
        }
    }
    return read;
}

// Legacy buses: per line a three-byte header, 49, the item, the message number, four
// data bytes and the check byte. The numbers put the messages in order.
InfoRead legacyItems(const QStringList& lines, int response, int item) {
    InfoRead read;
    QMap<int, QMap<int, QByteArray>> byController; // address -> number -> four bytes
    QList<int> order;
    QList<int> damaged;
    for (const QString& line : lines) {
        const QByteArray bytes = hexBytes(line);
        if (bytes.size() < 5 || byteAt(bytes, 3) != response || byteAt(bytes, 4) != item) continue;
        const int address = byteAt(bytes, 2);
        if (!order.contains(address)) order.append(address);
        if (bytes.size() < 11) {
            if (!damaged.contains(address))
                addProblem(read, QStringLiteral("a message of controller %1 was cut short").arg(address));
            damaged.append(address);
            continue;
        }
        const int number = byteAt(bytes, 5);
        QMap<int, QByteArray>& messages = byController[address];
        if (messages.contains(number) && messages.value(number) != bytes.mid(6, 4)) {
            if (!damaged.contains(address))
                addProblem(read,
                           QStringLiteral("controller %1 sent message %2 twice, differently").arg(address).arg(number));
            damaged.append(address);
        }
        messages.insert(number, bytes.mid(6, 4));
    }
    for (const int address : order) {
        if (damaged.contains(address)) continue;
        const QMap<int, QByteArray>& messages = byController.value(address);
        QByteArray data;
        int expected = 1;
        for (auto it = messages.begin(); it != messages.end(); ++it, ++expected) {
            if (it.key() != expected) break;
            data += it.value();
        }
        if (expected - 1 != messages.size()) {
            addProblem(read, QStringLiteral("message %1 of controller %2 is missing").arg(expected).arg(address));
            continue;
        }
        read.items.append({address, int(messages.size()), data});
    }
    return read;
}

} // namespace

InfoRead readInfoItem(const QString& reply, HeaderLayout layout, int item, int service) {
    const int response = 0x40 + service;
    QStringList lines = reply.split(QLatin1Char('\r'), Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("SEARCHING..."));
    QStringList sound;
    QString damaged;
    for (const QString& line : lines) {
        if (isHexText(normaliseLine(line, layout)))
            sound.append(line);
        else if (damaged.isEmpty())
            damaged = line;
    }
    InfoRead read =
        layout == HeaderLayout::Legacy ? legacyItems(sound, response, item) : canItems(sound, layout, response, item);
    if (read.items.isEmpty() && read.problem.isEmpty()) {
        const QString error = adapterErrorIn(reply);
        read.problem = error.isEmpty() || error == QStringLiteral("NO DATA") ? QString() : error;
        if (read.problem.isEmpty() && !damaged.isEmpty() && error.isEmpty())
            read.problem = QStringLiteral("a damaged line \"%1\"").arg(quotable(damaged));
    }
    return read;
}

} // namespace zelcor
