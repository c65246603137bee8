// Text to number and number to text: the rules every decoder, display and file share.

#include "base/format.h"
#include "base/numbers.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const std::pair<const char*, double> rows[] = {
            {"3200", 3200}, {" 1 2 . 5 ", 12.5}, {"0.25abc", 0.25}, {"abc", 0},    {"", 0},
            {"-5", -5},     {"1.5E2x", 150},     {"7E", 7},         {"&HFF", 255}, {"1.2.3", 1.2},
            {"12\r", 12},   {"2D1", 20},         {"&O17", 15},
        };
        for (const auto& [text, expected] : rows)
            QTest::newRow(text) << text << expected;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QTEST(zelcor::leadingNumber(text), "expected");
    }

    void hex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint64>("expected");
        const std::pair<const char*, quint64> rows[] = {
            {"", 0}, {"7B", 123}, {"ff", 255}, {"FFFF", 65535}, {"1AZ9", 26}};
        for (const auto& [text, expected] : rows)
            QTest::newRow(text) << text << expected;
    }
    void hex() {
        QFETCH(QString, text);
        QTEST(hexNumber(text), "expected");
    }

    void conversions() {
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1A"), 9), 0x1A);
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1A"), 11), 0); // beyond the end
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1"), 9), 1);   // one digit left
        QCOMPARE(hexByte(10), QStringLiteral("0A"));
        QCOMPARE(roundHalfEven(1726.5), 1726.0);
        QCOMPARE(roundHalfEven(1727.5), 1728.0);
        QCOMPARE(roundHalfEven(-2.5), -2.0);
        QCOMPARE(toInt16(32767.4).value(), qint16(32767));
        QCOMPARE(toInt16(-32768.0).value(), qint16(-32768));
        QVERIFY(!toInt16(32767.5).has_value()); // rounds to 32768
        QVERIFY(!toInt16(-40000).has_value());
        QCOMPARE(generalSingle(327.675f), QStringLiteral("327.675"));
        QCOMPARE(generalSingle(12345678.0f), QStringLiteral("1.234568E+07"));
        // Label steps: 1, 2 or 5 times a power of ten, about a fifth of the span or more.
        QCOMPARE(roundStep(100), 20.0);
        QCOMPARE(roundStep(7), 2.0);
        QCOMPARE(roundStep(30), 10.0);
        QCOMPARE(roundStep(0.5), 0.1);
    }

    void patterns_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const struct {
            double x;
            const char* pattern;
            const char* expected;
        } rows[] = {
            {12.5, "0", "13"},        {0.4, "#0", "0"},           {45.83, "##0", "46"},
            {3200.7, "###0", "3201"}, {0.0, "###0", "0"},         {62.1371192, "0.0", "62.1"},
            {7.2, "#0.0", "7.2"},     {181.4, "##0.0", "181.4"},  {-40.0, "##0.0", "-40.0"},
            {0.25, "0.00", "0.25"},   {2.675, "0.00", "2.68"},    {29.533, "##0.00", "29.53"},
            {0.45, "0.000", "0.450"}, {57.1597, "#.0#", "57.16"}, {60.0, "#.0#", "60.0"},
            {0.5, "#.0#", ".5"},      {8000.0, "0.", "8000."},    {3.14159, "0.0000", "3.1416"},
            {-0.04, "0.0", "0.0"},    {9.996, "0.00", "10.00"},   {158.5, "", "158.5"},
        };
        for (const auto& row : rows)
            QTest::addRow("%g %s", row.x, row.pattern) << row.x << row.pattern << row.expected;
    }
    void patterns() {
        QFETCH(double, x);
        QFETCH(QString, pattern);
        QTEST(formatNumber(x, pattern), "expected");
    }

    void general_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("expected");
        const std::pair<double, const char*> rows[] = {{8000.0, "8000"},   {158.5, "158.5"},   {0.25, "0.25"},
                                                       {-40.0, "-40"},     {0.0, "0"},         {0.1 + 0.2, "0.3"},
                                                       {0.00001, "1E-05"}, {0.0001, "0.0001"}, {1e16, "1E+16"}};
        for (const auto& [x, expected] : rows)
            QTest::newRow(expected) << x << expected;
    }
    void general() {
        QFETCH(double, x);
        QTEST(generalNumber(x), "expected");
    }
};

ZELCOR_TEST(NumbersTest)
#include "numbers_test.moc"
