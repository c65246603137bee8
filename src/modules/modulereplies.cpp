#include "modules/modulereplies.h"

#include "base/numbers.h"

#include <QHash>

namespace zelcor {

namespace {

int byteAt(const QByteArray& bytes, qsizetype index) {
    return quint8(bytes.at(index));
}

constexpr int kUdsCodesResponse = 0x59;
constexpr int kKwpCodesResponse = 0x58;
constexpr int kReportByStatusMask = 0x02;

// Bits 6 and 5 of a KWP2000 code's status: where the code stands.
constexpr quint8 kKwpStorageMask = 0x60;
constexpr quint8 kKwpPresent = 0x60;
constexpr quint8 kKwpStoredNotPresent = 0x20;
constexpr quint8 kKwpMaturing = 0x40;
constexpr quint8 kKwpNotComplete = 0x10;
constexpr quint8 kKwpLamp = 0x80;

quint8 bit(CodeStatus status) {
    return quint8(status);
}

quint8 kwpStatusBits(quint8 kwp) {
    quint8 status = 0;
    if (kwp & kKwpLamp) status |= bit(CodeStatus::WarningLamp);
    switch (kwp & kKwpStorageMask) {
    case kKwpPresent:
        status |= bit(CodeStatus::TestFailed) | bit(CodeStatus::Confirmed);
        break;
    case kKwpStoredNotPresent:
        status |= bit(CodeStatus::Confirmed);
        break;
    case kKwpMaturing:
        status |= bit(CodeStatus::Pending);
        break;
    default:
        break;
    }
    if (kwp & kKwpNotComplete) status |= bit(CodeStatus::NotCompletedThisCycle);
    return status;
}

// Why `message` is not the positive answer `response`, empty when it is.
ModuleCodeRead notTheAnswer(const QByteArray& message, int response) {
    ModuleCodeRead read;
    if (message.isEmpty()) {
        read.problem = QStringLiteral("an empty answer");
    } else if (const auto refused = negativeResponse(message)) {
        read.refused = refused;
        read.problem = refused->text();
    } else if (byteAt(message, 0) != response) {
        read.problem =
            QStringLiteral("the answer starts %1, not %2").arg(hexByte(byteAt(message, 0)), hexByte(response));
    }
    return read;
}

} // namespace

const QList<CodeStatusBit>& codeStatusBits() {
    static const QList<CodeStatusBit> bits{
        {CodeStatus::TestFailed, QStringLiteral("test_failed"), QStringLiteral("test failed")},
        {CodeStatus::FailedThisCycle, QStringLiteral("failed_this_cycle"), QStringLiteral("failed this cycle")},
        {CodeStatus::Pending, QStringLiteral("pending"), QStringLiteral("pending")},
        {CodeStatus::Confirmed, QStringLiteral("confirmed"), QStringLiteral("confirmed")},
        {CodeStatus::NotCompletedSinceClear, QStringLiteral("not_completed_since_clear"),
         QStringLiteral("not completed since clear")},
        {CodeStatus::FailedSinceClear, QStringLiteral("failed_since_clear"), QStringLiteral("failed since clear")},
        {CodeStatus::NotCompletedThisCycle, QStringLiteral("not_completed_this_cycle"),
         QStringLiteral("not completed this cycle")},
        {CodeStatus::WarningLamp, QStringLiteral("warning_lamp"), QStringLiteral("warning lamp requested")},
    };
    return bits;
}

QStringList codeStatusTexts(quint8 status) {
    QStringList texts;
    for (const CodeStatusBit& b : codeStatusBits())
        if (status & quint8(b.bit)) texts.append(b.text);
    return texts;
}

QString ModuleCode::shown() const {
    return failureType < 0 ? code : code + QLatin1Char('-') + hexByte(failureType);
}

QString troubleCodeName(quint8 high, quint8 low) {
    static const char letters[] = {'P', 'C', 'B', 'U'};
    return QLatin1Char(letters[high >> 6]) + QString::number((high >> 4) & 0x03) +
           QString::number(high & 0x0F, 16).toUpper() + hexByte(low);
}

QString failureTypeText(int failureType) {
    static const QHash<int, QString> names{
        {0x00, QStringLiteral("no further detail")},
        {0x01, QStringLiteral("general electrical failure")},
        {0x02, QStringLiteral("general signal failure")},
        {0x04, QStringLiteral("system internal failure")},
        {0x07, QStringLiteral("mechanical failure")},
        {0x08, QStringLiteral("bus signal or message failure")},
        {0x11, QStringLiteral("circuit short to ground")},
        {0x12, QStringLiteral("circuit short to battery")},
        {0x13, QStringLiteral("circuit open")},
        {0x14, QStringLiteral("circuit short to ground or open")},
        {0x15, QStringLiteral("circuit short to battery or open")},
        {0x16, QStringLiteral("circuit voltage below threshold")},
        {0x17, QStringLiteral("circuit voltage above threshold")},
        {0x1C, QStringLiteral("circuit voltage out of range")},
        {0x1F, QStringLiteral("circuit intermittent")},
        {0x23, QStringLiteral("signal stuck low")},
        {0x24, QStringLiteral("signal stuck high")},
        {0x29, QStringLiteral("signal invalid")},
        {0x2F, QStringLiteral("signal erratic")},
        {0x31, QStringLiteral("no signal")},
        {0x42, QStringLiteral("general memory failure")},
        {0x49, QStringLiteral("internal electronic failure")},
        {0x4B, QStringLiteral("over temperature")},
        {0x54, QStringLiteral("missing calibration")},
        {0x55, QStringLiteral("not configured")},
        {0x62, QStringLiteral("signal compare failure")},
        {0x64, QStringLiteral("signal plausibility failure")},
        {0x71, QStringLiteral("actuator stuck")},
        {0x81, QStringLiteral("invalid serial data received")},
        {0x86, QStringLiteral("signal invalid")},
        {0x87, QStringLiteral("missing message")},
        {0x88, QStringLiteral("bus off")},
        {0x92, QStringLiteral("performance or incorrect operation")},
        {0x96, QStringLiteral("component internal failure")},
    };
    const auto it = names.find(failureType);
    return it != names.end() ? *it : QStringLiteral("failure type %1").arg(hexByte(failureType));
}

QString NegativeResponse::text() const {
    return QStringLiteral("%1 (7F %2 %3)").arg(negativeResponseText(code), hexByte(service), hexByte(code));
}

std::optional<NegativeResponse> negativeResponse(const QByteArray& message) {
    if (message.size() < 3 || byteAt(message, 0) != 0x7F) return std::nullopt;
    return NegativeResponse{byteAt(message, 1), byteAt(message, 2)};
}

QString negativeResponseText(int code) {
    static const QHash<int, QString> names{
        {0x10, QStringLiteral("general reject")},
        {0x11, QStringLiteral("service not supported")},
        {0x12, QStringLiteral("sub-function not supported")},
        {0x13, QStringLiteral("incorrect message length or format")},
        {0x14, QStringLiteral("response too long")},
        {0x21, QStringLiteral("busy, repeat request")},
        {0x22, QStringLiteral("conditions not correct")},
        {0x24, QStringLiteral("request sequence error")},
        {0x31, QStringLiteral("request out of range")},
        {0x33, QStringLiteral("security access denied")},
        {0x72, QStringLiteral("general programming failure")},
        {0x78, QStringLiteral("response pending")},
        {0x7E, QStringLiteral("sub-function not supported in this session")},
        {0x7F, QStringLiteral("service not supported in this session")},
    };
    const auto it = names.find(code);
    return it != names.end() ? *it : QStringLiteral("negative response %1").arg(hexByte(code));
}

ModuleCodeRead decodeUdsCodes(const QByteArray& message) {
    ModuleCodeRead read = notTheAnswer(message, kUdsCodesResponse);
    if (!read.read()) return read;
    if (message.size() < 3 || byteAt(message, 1) != kReportByStatusMask) {
        read.problem = QStringLiteral("the answer is cut short");
        if (message.size() >= 2 && byteAt(message, 1) != kReportByStatusMask)
            read.problem = QStringLiteral("the answer is to sub-function %1, not 02").arg(hexByte(byteAt(message, 1)));
        return read;
    }
    const QByteArray records = message.mid(3);
    if (records.size() % 4 != 0) {
        read.problem = QStringLiteral("the list stops inside code %1").arg(records.size() / 4 + 1);
        return read;
    }
    for (qsizetype i = 0; i < records.size(); i += 4)
        read.codes.append({troubleCodeName(quint8(records[i]), quint8(records[i + 1])), byteAt(records, i + 2),
                           quint8(records[i + 3]), QString()});
    return read;
}

ModuleCodeRead decodeKwpCodes(const QByteArray& message) {
    ModuleCodeRead read = notTheAnswer(message, kKwpCodesResponse);
    if (!read.read()) return read;
    if (message.size() < 2) {
        read.problem = QStringLiteral("the answer is cut short");
        return read;
    }
    const int announced = byteAt(message, 1);
    const QByteArray records = message.mid(2);
    if (records.size() != qsizetype(announced) * 3) {
        read.problem =
            QStringLiteral("the list announces %1 codes, %2 bytes follow").arg(announced).arg(records.size());
        return read;
    }
    for (qsizetype i = 0; i < records.size(); i += 3)
        read.codes.append({troubleCodeName(quint8(records[i]), quint8(records[i + 1])), -1,
                           kwpStatusBits(quint8(records[i + 2])), QString()});
    return read;
}

std::optional<QString> identifierText(const QByteArray& message, quint16 identifier) {
    if (message.size() < 3 || byteAt(message, 0) != 0x62 || byteAt(message, 1) != identifier >> 8 ||
        byteAt(message, 2) != (identifier & 0xFF))
        return std::nullopt;
    QString text;
    for (const char c : message.mid(3)) {
        const quint8 b = quint8(c);
        text.append(b >= 0x20 && b < 0x7F ? QChar(b) : b == 0x00 || b == 0xFF ? QChar(' ') : QChar('?'));
    }
    return text.trimmed();
}

} // namespace zelcor
