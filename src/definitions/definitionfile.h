#pragma once
// A manufacturer parameter definition file read line by line: each parameter it defines,
// and for every line that holds one (or tries to) whether it was accepted or why not.
//
// The file is comma-separated text, one parameter a line, eight columns: Name, ShortName,
// ModeAndPID, Equation, Min, Max, Units, Header. Fields may be quoted ("" stands for a quote
// inside); blanks around fields are dropped. Empty lines and a header row as the first
// line are passed over; lines end in LF, CR or CR LF; a byte-order mark is read. The
// columns after Equation may be left off; more than eight are refused unless the extra
// ones are empty. A val{} reference names another accepted parameter of the same file.

#include "definitions/expression.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace zelcor {

// The columns of a line, numbered as a spreadsheet shows them (None: the line as a whole;
// a fault in a column past Header has that column's number).
enum class DefinitionColumn { None = 0, Name, ShortName, ModeAndPid, Equation, Minimum, Maximum, Units, Header };
inline constexpr int kDefinitionColumns = 8;
// "Equation"; empty for None and the columns past Header.
QString columnName(DefinitionColumn column);

// What a parameter is asked with: the controller's CAN identifier and the request bytes.
struct ParameterRequest {
    QString header;          // 3 (11-bit) or 8 (29-bit) upper-case hex digits; empty: the functional address
    int service = 0;         // 0x01, 0x21 or 0x22
    quint32 identifier = 0;  // the PID (one byte) or the data identifier (two bytes, service 22)
    int identifierBytes = 1; // how many bytes the reply echoes after its service byte

    // The request as hex text: "2101", "220101", "010C".
    QString text() const;
    bool operator==(const ParameterRequest&) const = default;
};

// The ModeAndPID column read: "2101", "0x220101", "010C"; nothing, with the reason, else.
std::optional<ParameterRequest> parseModeAndPid(const QString& text, QString* error);
// The Header column read into `header` (empty stays functional); false with the reason else.
bool parseHeader(const QString& text, QString* header, QString* error);
// The most data bytes a reply to `request` can hold after its echoed service and identifier.
int longestReplyData(const ParameterRequest& request);

struct ParameterDefinition {
    QString name;
    QString shortName;
    ParameterRequest request;
    Expression equation;
    std::optional<double> minimum; // the gauge's scale, where the file gives it
    std::optional<double> maximum;
    QString units;
    QList<int> references; // for each of equation.references(): its parameter's index in the file
    int line = 0;
};

struct LineVerdict {
    int line = 0;                                     // counted from 1
    DefinitionColumn column = DefinitionColumn::None; // where the fault is
    QString reason;                                   // empty for an accepted line
    int parameter = -1;                               // its index in the file's parameters when accepted

    bool accepted() const { return reason.isEmpty(); }
    // "line 5, column 4 (Equation): unknown function FOO", "line 2: accepted".
    QString text() const;
};

struct DefinitionFile {
    QList<ParameterDefinition> parameters;
    QList<LineVerdict> verdicts; // in line order; empty lines and the header row have none

    int rejectedCount() const;
};

// Reads the contents of a definition file.
DefinitionFile readDefinitions(const QByteArray& contents);
// Reads the file at `path`; false with the reason in `error` when it cannot be read.
bool loadDefinitionFile(const QString& path, DefinitionFile* file, QString* error);

} // namespace zelcor
