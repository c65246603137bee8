#pragma once
// What a module's answers say, decoded from its reassembled message (response byte first):
// trouble code lists of ReadDTCInformation (19 02) and of the older KWP2000 form (18 02),
// negative responses, and identifiers such as the system name (22 F1 97).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

// The bits of a code's status byte (ISO 14229-1), as the module reports them.
enum class CodeStatus : quint8 {
    TestFailed = 0x01,
    FailedThisCycle = 0x02,
    Pending = 0x04,
    Confirmed = 0x08,
    NotCompletedSinceClear = 0x10,
    FailedSinceClear = 0x20,
    NotCompletedThisCycle = 0x40,
    WarningLamp = 0x80,
};

struct CodeStatusBit {
    CodeStatus bit;
    QString key;  // the name files use: "test_failed"
    QString text; // the name people read: "test failed"
};
// Every status bit, lowest first.
const QList<CodeStatusBit>& codeStatusBits();
// The texts of the bits set in `status`, lowest first.
QStringList codeStatusTexts(quint8 status);

struct ModuleCode {
    QString code;         // "C0035"
    int failureType = -1; // the byte after the code (-1: the KWP2000 form has none)
    quint8 status = 0;    // CodeStatus bits
    QString explanation;  // filled in by whoever reads codes.dat (explainModuleCodes)

    bool has(CodeStatus bit) const { return status & quint8(bit); }
    // "C0035-1C" with the failure type, the bare code without.
    QString shown() const;
    bool operator==(const ModuleCode&) const = default;
};

// "P", "C", "B" or "U" from the two high bits, then four hex digits: 0x4035 -> "C0035".
QString troubleCodeName(quint8 high, quint8 low);
// What a failure-type byte says ("circuit short to ground"); "failure type 5A" for the rest.
QString failureTypeText(int failureType);

// A negative response 7F <service> <code>.
struct NegativeResponse {
    int service = 0;
    int code = 0;
    // The module is still working on it: wait and read again.
    bool pending() const { return code == 0x78; }
    // "service not supported (7F 19 11)"
    QString text() const;
};
std::optional<NegativeResponse> negativeResponse(const QByteArray& message);
// The name of a negative response code ("request out of range"); "negative response 5A" else.
QString negativeResponseText(int code);

// A trouble code list, or why it could not be read. A list cut short is never "no codes".
struct ModuleCodeRead {
    QList<ModuleCode> codes;
    QString problem; // empty when the list was read
    std::optional<NegativeResponse> refused;

    bool read() const { return problem.isEmpty(); }
};
// The answer to 19 02 <mask>: 59 02 <availability mask>, then four bytes a code (three code
// bytes, status).
ModuleCodeRead decodeUdsCodes(const QByteArray& message);
// The answer to 18 02 FF 00: 58 <count>, then three bytes a code (two code bytes, status).
// Its status byte is read into the same bits: lamp (bit 7), and the storage state (bits 6
// and 5): present now (failed and confirmed), stored but not present (confirmed), or
// maturing (pending); bit 4, the test not complete this cycle.
ModuleCodeRead decodeKwpCodes(const QByteArray& message);

// The text of identifier `identifier` from its answer 62 <identifier> <ASCII>: blanks, zero
// and FF filler trimmed, other unprintable bytes as "?". None when `message` is not that answer.
std::optional<QString> identifierText(const QByteArray& message, quint16 identifier);

// Identifiers modules name themselves by.
inline constexpr quint16 systemNameIdentifier = 0xF197;
inline constexpr quint16 supplierIdentifier = 0xF18A;
inline constexpr quint16 serialNumberIdentifier = 0xF18C;

} // namespace zelcor
