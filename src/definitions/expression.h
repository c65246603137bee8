#pragma once
// The formula of a manufacturer parameter: parsed once into a small stack program, then
// evaluated against every reply in double precision.
//
// Grammar, lowest precedence first; every binary operator groups to the left, and the
// precedence follows C (* / over + - over shifts over & over |):
//
//   expression := and { "|" and }                 bitwise or
//   and        := shift { "&" shift }             bitwise and
//   shift      := sum { ( "<" | ">" ) sum }       a<n: a shifted left by n bits, a>n: right
//   sum        := product { ( "+" | "-" ) product }
//   product    := unary { ( "*" | "/" ) unary }
//   unary      := ( "-" | "+" ) unary | primary
//   primary    := number | byte | "{" byte ":" bit "}" | "val{" name "}"
//               | function "(" expression { ":" expression } ")" | "(" expression ")"
//   number     := digits [ "." [ digits ] ] | "." digits      (decimal)
//   byte       := letters: A..Z are the reply's data bytes 0..25, then AA..AZ, BA..ZZ,
//                 AAA, ... (either case); A is the first byte after the echoed service
//                 and identifier
//   bit        := 0..7, bit 0 the lowest: {B:7} is 1 when the top bit of B is set
//   function   := MAX and MIN (two or more arguments), ABS (one), SIGNED (one byte: the
//                 byte read as a signed 8-bit number); names in either case
//   name       := the Name of another parameter of the same file, as written there
//
// Blanks between tokens are ignored. Shifts, & and | work on the operands' integer parts
// (cut toward zero) as 64-bit two's-complement numbers; a shift is by 0 to 63 bits.

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <span>

namespace zelcor {

// The name of data byte `index` (0 = "A", 26 = "AA").
QString byteName(int index);

// What one evaluation gives: the value, or why there is none.
struct Evaluation {
    std::optional<double> value;
    QString problem;
};

class Expression {
public:
    // The program of `text`; nothing, with the reason in `error`, when it is not a formula.
    static std::optional<Expression> parse(QStringView text, QString* error);

    // The highest data byte the formula reads (0 = A); -1 when it reads none.
    int highestByte() const { return highestByte_; }
    // The parameter names of its val{} references, each once, in the order they first appear.
    const QStringList& references() const { return references_; }

    // The value for the reply data `data` (A first). `referenceValues` holds the current
    // value of each of references(), in that order (nothing where one has no value yet).
    Evaluation evaluate(QByteArrayView data, std::span<const std::optional<double>> referenceValues = {}) const;

private:
    friend class ExpressionParser;
    enum class Op : quint8 {
        Number,
        Byte,
        SignedByte,
        Bit,
        Reference,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide,
        ShiftLeft,
        ShiftRight,
        And,
        Or,
        Max,
        Min,
        Abs
    };
    struct Step {
        Op op;
        int operand = 0; // the byte, the reference, or the argument count of MAX and MIN
        int bit = 0;
        double number = 0;
    };
    QList<Step> steps_;
    QStringList references_;
    int highestByte_ = -1;
    int stackDepth_ = 0;
};

} // namespace zelcor
