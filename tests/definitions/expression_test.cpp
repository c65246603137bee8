// Formulas of definition files: every operator and function, precedence and grouping,
// bytes past Z, val{} references, and every way a formula or its evaluation has no value.

#include "definitions/expression.h"
#include "testmain.h"

#include <QTest>
#include <cmath>

using namespace zelcor;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Bytes 00 01 02 ... 1F: byte AA is 26.
QByteArray counting() {
    QByteArray bytes;
    for (int i = 0; i < 32; ++i)
        bytes.append(char(i));
    return bytes;
}

void value(const char* formula, const char* hex, double expected, QList<double> references = {}) {
    QTest::newRow(formula) << formula << QByteArray::fromHex(hex) << references << expected << QString();
}
void none(const char* name, const QString& formula, const char* hex, const QString& problem,
          QList<double> references = {}) {
    QTest::newRow(name) << formula << QByteArray::fromHex(hex) << references << kNone << problem;
}

} // namespace

class ExpressionTest : public QObject {
    Q_OBJECT
private slots:
    void evaluate_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<double>>("references"); // NaN: no value yet
        QTest::addColumn<double>("expected");          // NaN: none, for `problem`
        QTest::addColumn<QString>("problem");

        value("A", "7B", 123);
        value("a*b", "0304", 12);
        value("A+B*C", "010203", 7);
        value("(A+B)*C", "010203", 9);
        value("A-B-C", "0A0302", 5);
        value("A/2.5+.5", "64", 40.5);
        value("-A+B", "0102", 1);
        value("--A", "05", 5);
        value("(A<8)+B", "0102", 258);
        value("A<4+4", "01", 256); // + binds tighter than a shift
        value("A>4", "F0", 15);
        value("A>1<1", "07", 6); // shifts group to the left
        value("A&15|B", "AB10", 0x1B);
        value("A|B&15", "10AB", 0x1B); // & binds tighter than |
        value("A<1&3", "03", 2);       // a shift binds tighter than &
        value("(A-B)&255", "0102", 255);
        value("Signed(A)", "FF", -1);
        value("signed(A)", "80", -128);
        value("Signed(A)", "7F", 127);
        value("(Signed(A)*256+B)/10", "FF38", -20);
        value("{A:7}+{A:0}*2+{b:1}*4", "8002", 5);
        value("MAX(A:B)", "0307", 7);
        value("min(A:B:C)", "050302", 2);
        value("ABS(A-B)", "0107", 6);
        value("MAX(A:(B+1)*2)", "0107", 16); // ":" parts the arguments, not the operators
        QTest::newRow("AA, AB") << "AA*100+ab" << counting() << QList<double>{} << 2627.0 << QString();
        value("val{Speed}*2", "", 20, {10});
        value("val{X}+val{Y}*val{ X }", "", 3, {1, 2}); // each name once, in order of appearance

        none("byte beyond the reply", "A+C", "0102", "byte C beyond the reply (2 bytes)");
        none("division by zero", "A/(B-B)", "0102", "division by zero");
        none("no value yet", "val{Speed}+A", "01", "val{Speed} has no value", {kNone});
        none("shift too far", "A<64", "01", "a shift by 64 bits");
        none("bitwise beyond 64 bits", "(A*10000000000*10000000000)|1", "01",
             "a number beyond 64 bits in a bitwise operation");
        const QString huge = QStringLiteral("1") + QString(300, QLatin1Char('0'));
        none("infinite", huge + "*" + huge, "", "the result is not a finite number");
    }
    void evaluate() {
        QFETCH(QString, formula);
        QFETCH(QByteArray, data);
        QFETCH(QList<double>, references);
        QFETCH(double, expected);
        QFETCH(QString, problem);
        QString error;
        const auto expression = Expression::parse(formula, &error);
        QVERIFY2(expression, qPrintable(error));
        QList<std::optional<double>> values;
        for (const double r : references)
            values.append(std::isnan(r) ? std::nullopt : std::optional<double>(r));
        const Evaluation e = expression->evaluate(data, {values.constData(), size_t(values.size())});
        QCOMPARE(e.problem, problem);
        if (std::isnan(expected)) {
            QVERIFY(!e.value);
        } else {
            QVERIFY(e.value);
            QCOMPARE(*e.value, expected);
        }
    }

    void rejected_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("error");
        const std::pair<QString, const char*> rows[] = {
            {"FOO(A)", "unknown function FOO"},
            {"  ", "the equation is empty"},
            {"A+", "the equation ends too early"},
            {"(A", "missing \")\" at character 3"},
            {"A)", "unexpected \")\" at character 2"},
            {"1.2.3", "unexpected \".\" at character 4"},
            {"A2", "unknown name A2 at character 1"},
            {"{A:8}", "{A:8}: a byte has bits 0 to 7"},
            {"{A}", "expected {byte:bit}, as in {A:0}, at character 1"},
            {"Signed(A+B)", "Signed() takes one byte, as in Signed(A)"},
            {"MAX(A)", "MAX() takes two or more arguments, as in MAX(A:B)"},
            {"abs(A:B)", "abs() takes one argument"},
            {"val{ }", "val{} names no parameter"},
            {"val{Speed", "val{ at character 1 is not closed"},
            {QString(200, QLatin1Char('(')) + "A", "the equation is nested too deeply"},
            {QString(200, QLatin1Char('-')) + "A", "the equation is nested too deeply"},
        };
        for (const auto& [formula, error] : rows)
            QTest::newRow(qPrintable(formula.left(12))) << formula << QString(error);
    }
    void rejected() {
        QFETCH(QString, formula);
        QFETCH(QString, error);
        QString reason;
        QVERIFY(!Expression::parse(formula, &reason));
        QCOMPARE(reason, error);
    }

    void highestByte() {
        const auto highest = [](const char* formula) {
            QString error;
            return Expression::parse(QString::fromLatin1(formula), &error)->highestByte();
        };
        QCOMPARE(highest("A+{C:1}+Signed(B)"), 2);
        QCOMPARE(highest("val{X}*2"), -1);
        QCOMPARE(highest("ab"), 27);
        QCOMPARE(highest("AAA"), 702);
        QCOMPARE(byteName(702), QStringLiteral("AAA"));
        QCOMPARE(byteName(51), QStringLiteral("AZ"));
    }
};

ZELCOR_TEST(ExpressionTest)
#include "expression_test.moc"
