#include "definitions/expression.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

// Deeper nesting than this is no formula anyone writes; the limit keeps the parser's own
// recursion small.
constexpr int kMaxNesting = 64;
// Byte numbers are cut off here: far beyond any reply, and far from overflowing.
constexpr int kByteNumberCap = 1000000;

bool isLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Letters as a byte number: A..Z, then AA..ZZ, AAA, ... (each letter a digit 1..26).
int byteIndexOf(QStringView letters) {
    int value = 0;
    for (const QChar c : letters)
        value = std::min(kByteNumberCap, value * 26 + (c.toUpper().unicode() - 'A' + 1));
    return value - 1;
}

// The integer part of `value` as a 64-bit number; false when it has none that fits.
bool integerPart(double value, qint64* out) {
    if (!(value > -9.2e18 && value < 9.2e18)) return false;
    *out = qint64(value);
    return true;
}

Evaluation noValue(const QString& problem) {
    return {std::nullopt, problem};
}

} // namespace

QString byteName(int index) {
    QString name;
    for (int n = index + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QLatin1Char(char('A' + (n - 1) % 26)));
    return name;
}

// Recursive descent over the grammar of the header, writing the stack program as it goes.
class ExpressionParser {
public:
    explicit ExpressionParser(QStringView text) : text_(text) {}

    std::optional<Expression> run(QString* error) {
        skipBlanks();
        if (at_ == text_.size()) return failed(QStringLiteral("the equation is empty"), error);
        if (!expression()) return failed(error_, error);
        skipBlanks();
        if (at_ < text_.size()) return failed(unexpected(), error);
        return out_;
    }

private:
    using Op = Expression::Op;

    std::optional<Expression> failed(const QString& reason, QString* error) {
        if (error) *error = reason;
        return std::nullopt;
    }
    bool fail(const QString& reason) {
        error_ = reason;
        return false;
    }
    QString unexpected() const {
        if (at_ >= text_.size()) return QStringLiteral("the equation ends too early");
        return QStringLiteral("unexpected \"%1\" at character %2").arg(text_[at_]).arg(at_ + 1);
    }

    void skipBlanks() {
        while (at_ < text_.size() && text_[at_].isSpace())
            ++at_;
    }
    // The next character after blanks (NUL at the end).
    QChar next() {
        skipBlanks();
        return at_ < text_.size() ? text_[at_] : QChar();
    }
    bool take(char c) {
        if (next() != QLatin1Char(c)) return false;
        ++at_;
        return true;
    }
    QStringView word() {
        const qsizetype start = at_;
        while (at_ < text_.size() && (isLetter(text_[at_]) || isDigit(text_[at_]) || text_[at_] == QLatin1Char('_')))
            ++at_;
        return text_.mid(start, at_ - start);
    }
    static bool allLetters(QStringView w) { return !w.isEmpty() && std::all_of(w.begin(), w.end(), isLetter); }

    // Appends a step that changes the stack's height by `change`.
    void append(Expression::Step step, int change) {
        out_.steps_.append(step);
        height_ += change;
        out_.stackDepth_ = std::max(out_.stackDepth_, height_);
    }
    void emitByte(Op op, int index, int bit = 0) {
        out_.highestByte_ = std::max(out_.highestByte_, index);
        append({op, index, bit, 0}, 1);
    }

    bool expression() {
        if (++depth_ > kMaxNesting) return fail(QStringLiteral("the equation is nested too deeply"));
        const bool ok = binary(0);
        --depth_;
        return ok;
    }

    // The binary operator of precedence `level` (0 the lowest) at the next character.
    static std::optional<Op> binaryOp(int level, QChar c) {
        switch (level) {
        case 0:
            if (c == QLatin1Char('|')) return Op::Or;
            break;
        case 1:
            if (c == QLatin1Char('&')) return Op::And;
            break;
        case 2:
            if (c == QLatin1Char('<')) return Op::ShiftLeft;
            if (c == QLatin1Char('>')) return Op::ShiftRight;
            break;
        case 3:
            if (c == QLatin1Char('+')) return Op::Add;
            if (c == QLatin1Char('-')) return Op::Subtract;
            break;
        default:
            if (c == QLatin1Char('*')) return Op::Multiply;
            if (c == QLatin1Char('/')) return Op::Divide;
        }
        return std::nullopt;
    }
    bool binary(int level) {
        if (level == 5) return unary();
        if (!binary(level + 1)) return false;
        while (const auto op = binaryOp(level, next())) {
            ++at_;
            if (!binary(level + 1)) return false;
            append({*op}, -1);
        }
        return true;
    }

    bool unary() {
        if (take('+')) return nested([this] { return unary(); });
        if (take('-')) {
            if (!nested([this] { return unary(); })) return false;
            append({Op::Negate}, 0);
            return true;
        }
        return primary();
    }
    template <typename Parse> bool nested(Parse parse) {
        if (++depth_ > kMaxNesting) return fail(QStringLiteral("the equation is nested too deeply"));
        const bool ok = parse();
        --depth_;
        return ok;
    }

    bool primary() {
        const QChar c = next();
        if (isDigit(c) || c == QLatin1Char('.')) return number();
        if (c == QLatin1Char('(')) {
            ++at_;
            if (!expression()) return false;
            return take(')') || fail(QStringLiteral("missing \")\" at character %1").arg(at_ + 1));
        }
        if (c == QLatin1Char('{')) return bit();
        if (!isLetter(c)) return fail(unexpected());
        const qsizetype start = at_;
        const QStringView name = word();
        if (next() == QLatin1Char('(')) {
            ++at_;
            return function(name);
        }
        if (name.compare(QLatin1String("val"), Qt::CaseInsensitive) == 0 && next() == QLatin1Char('{'))
            return reference(start);
        if (!allLetters(name)) return fail(QStringLiteral("unknown name %1 at character %2").arg(name).arg(start + 1));
        emitByte(Op::Byte, byteIndexOf(name));
        return true;
    }

    bool number() {
        const qsizetype start = at_;
        while (at_ < text_.size() && isDigit(text_[at_]))
            ++at_;
        if (at_ < text_.size() && text_[at_] == QLatin1Char('.')) {
            ++at_;
            while (at_ < text_.size() && isDigit(text_[at_]))
                ++at_;
        }
        const QStringView digits = text_.mid(start, at_ - start);
        bool ok = false;
        const double value = digits.toDouble(&ok);
        if (digits == QLatin1String(".") || !ok || !std::isfinite(value))
            return fail(QStringLiteral("\"%1\" at character %2 is no number").arg(digits).arg(start + 1));
        append({Op::Number, 0, 0, value}, 1);
        return true;
    }

    // "{X:n}", at the brace.
    bool bit() {
        const qsizetype start = at_++;
        skipBlanks();
        const QStringView letters = word();
        const QString form = QStringLiteral("{byte:bit}, as in {A:0}, at character %1").arg(start + 1);
        if (!allLetters(letters) || !take(':')) return fail(QStringLiteral("expected ") + form);
        skipBlanks();
        const QStringView digits = word();
        bool ok = false;
        const int bit = digits.toInt(&ok);
        if (!ok || !take('}')) return fail(QStringLiteral("expected ") + form);
        if (bit < 0 || bit > 7) return fail(QStringLiteral("{%1:%2}: a byte has bits 0 to 7").arg(letters, digits));
        emitByte(Op::Bit, byteIndexOf(letters), bit);
        return true;
    }

    // "val{Name}", at the brace; `start` is where "val" begins.
    bool reference(qsizetype start) {
        const qsizetype close = text_.indexOf(QLatin1Char('}'), at_);
        if (close < 0) return fail(QStringLiteral("val{ at character %1 is not closed").arg(start + 1));
        const QString name = text_.mid(at_ + 1, close - at_ - 1).trimmed().toString();
        at_ = close + 1;
        if (name.isEmpty()) return fail(QStringLiteral("val{} names no parameter"));
        qsizetype slot = out_.references_.indexOf(name);
        if (slot < 0) {
            slot = out_.references_.size();
            out_.references_.append(name);
        }
        append({Op::Reference, int(slot)}, 1);
        return true;
    }

    // A function's arguments and closing parenthesis, after the opening one.
    bool function(QStringView name) {
        const QString upper = name.toString().toUpper();
        if (upper == QLatin1String("SIGNED")) {
            skipBlanks();
            const QStringView letters = word();
            if (!allLetters(letters) || !take(')'))
                return fail(QStringLiteral("%1() takes one byte, as in Signed(A)").arg(name));
            emitByte(Op::SignedByte, byteIndexOf(letters));
            return true;
        }
        Op op;
        if (upper == QLatin1String("MAX"))
            op = Op::Max;
        else if (upper == QLatin1String("MIN"))
            op = Op::Min;
        else if (upper == QLatin1String("ABS"))
            op = Op::Abs;
        else
            return fail(QStringLiteral("unknown function %1").arg(name));
        int count = 0;
        do {
            if (!expression()) return false;
            ++count;
        } while (take(':'));
        if (!take(')')) return fail(QStringLiteral("missing \")\" at character %1").arg(at_ + 1));
        if (op == Op::Abs && count != 1) return fail(QStringLiteral("%1() takes one argument").arg(name));
        if (op != Op::Abs && count < 2)
            return fail(QStringLiteral("%1() takes two or more arguments, as in %1(A:B)").arg(name));
        append({op, count}, 1 - count);
        return true;
    }

    QStringView text_;
    qsizetype at_ = 0;
    int depth_ = 0;
    int height_ = 0;
    QString error_;
    Expression out_;
};

std::optional<Expression> Expression::parse(QStringView text, QString* error) {
    return ExpressionParser(text).run(error);
}

Evaluation Expression::evaluate(QByteArrayView data, std::span<const std::optional<double>> referenceValues) const {
    QVarLengthArray<double, 32> stack(stackDepth_);
    int top = 0; // the number of values on the stack
    const auto byteAt = [&data](int index) { return quint8(data[index]); };
    for (const Step& step : steps_) {
        switch (step.op) {
        case Op::Number:
            stack[top++] = step.number;
            break;
        case Op::Byte:
        case Op::SignedByte:
        case Op::Bit: {
            if (step.operand >= data.size())
                return noValue(QStringLiteral("byte %1 beyond the reply (%2 %3)")
                                   .arg(byteName(step.operand))
                                   .arg(data.size())
                                   .arg(QLatin1String(data.size() == 1 ? "byte" : "bytes")));
            const quint8 b = byteAt(step.operand);
            stack[top++] = step.op == Op::Byte ? b : step.op == Op::SignedByte ? qint8(b) : (b >> step.bit) & 1;
            break;
        }
        case Op::Reference: {
            if (size_t(step.operand) >= referenceValues.size() || !referenceValues[step.operand])
                return noValue(QStringLiteral("val{%1} has no value").arg(references_[step.operand]));
            stack[top++] = *referenceValues[step.operand];
            break;
        }
        case Op::Negate:
            stack[top - 1] = -stack[top - 1];
            break;
        case Op::Abs:
            stack[top - 1] = std::fabs(stack[top - 1]);
            break;
        case Op::Max:
        case Op::Min: {
            const double* first = stack.data() + top - step.operand;
            const double* last = stack.data() + top;
            const double result = step.op == Op::Max ? *std::max_element(first, last) : *std::min_element(first, last);
            top -= step.operand;
            stack[top++] = result;
            break;
        }
        default: {
            const double right = stack[--top];
            double& left = stack[top - 1];
            switch (step.op) {
            case Op::Add:
                left += right;
                break;
            case Op::Subtract:
                left -= right;
                break;
            case Op::Multiply:
                left *= right;
                break;
            case Op::Divide:
                if (right == 0) return noValue(QStringLiteral("division by zero"));
                left /= right;
                break;
            default: {
                qint64 a = 0, b = 0;
                if (!integerPart(left, &a) || !integerPart(right, &b))
                    return noValue(QStringLiteral("a number beyond 64 bits in a bitwise operation"));
                if (step.op == Op::And || step.op == Op::Or) {
                    left = double(step.op == Op::And ? a & b : a | b);
                } else {
                    if (b < 0 || b > 63) return noValue(QStringLiteral("a shift by %1 bits").arg(b));
                    left = double(step.op == Op::ShiftLeft ? qint64(quint64(a) << b) : a >> b);
                }
            }
            }
        }
        }
    }
    Q_ASSERT(top == 1);
    if (!std::isfinite(stack[0])) return noValue(QStringLiteral("the result is not a finite number"));
    return {stack[0], QString()};
}

} // namespace zelcor
