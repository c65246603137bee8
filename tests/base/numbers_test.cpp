#include "base/format.h"
#include "base/numbers.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "3200" << 3200.0;
        QTest::newRow("blanks inside") << " 1 2 . 5 " << 12.5;
        QTest::newRow("trailing text") << "0.25abc" << 0.25;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("exponent") << "1.5E2x" << 150.0;
        QTest::newRow("lone E") << "7E" << 7.0;
        QTest::newRow("hex prefix") << "&HFF" << 255.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("line end") << "12\r" << 12.0;
    }
    void val() {
        QFETCH(QString, text);
        QTEST(zelcor::val(text), "expected");
    }

    void hex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint64>("expected");
        QTest::newRow("empty") << "" << quint64(0);
        QTest::newRow("byte") << "7B" << quint64(123);
        QTest::newRow("lower") << "ff" << quint64(255);
        QTest::newRow("unsigned 16") << "FFFF" << quint64(65535);
        QTest::newRow("stops at junk") << "1AZ9" << quint64(26);
    }
    void hex() {
        QFETCH(QString, text);
        QTEST(hexval(text), "expected");
    }

    void hexByteBeyondEnd() {
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1A"), 9), 0x1A);
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1A"), 11), 0);
        QCOMPARE(hexByteAt(QStringLiteral("0010410C1"), 9), 1);
    }

    void rounding_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        QTest::newRow("half down to even") << 1726.5 << 1726.0;
        QTest::newRow("half up to even") << 1727.5 << 1728.0;
        QTest::newRow("negative half") << -2.5 << -2.0;
        QTest::newRow("plain") << 96.56 << 97.0;
    }
    void rounding() {
        QFETCH(double, x);
        QTEST(roundHalfEven(x), "expected");
    }

    void int16() {
        QCOMPARE(toInt16(32767.4).value(), qint16(32767));
        QCOMPARE(toInt16(-32768.0).value(), qint16(-32768));
        QCOMPARE(toInt16(0.5).value(), qint16(0));
        QVERIFY(!toInt16(32767.5).has_value()); // rounds to 32768: overflow
        QVERIFY(!toInt16(-40000).has_value());
    }

    void patterns_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("0 rounds half away") << 12.5 << "0"
                                            << "13";
        QTest::newRow("#0") << 0.4 << "#0"
                            << "0";
        QTest::newRow("##0") << 45.83 << "##0"
                             << "46";
        QTest::newRow("###0 weight") << 3200.7 << "###0"
                                     << "3201";
        QTest::newRow("###0 zero") << 0.0 << "###0"
                                   << "0";
        QTest::newRow("0.0") << 62.1371192 << "0.0"
                             << "62.1";
        QTest::newRow("#0.0") << 7.2 << "#0.0"
                              << "7.2";
        QTest::newRow("##0.0 temp") << 181.4 << "##0.0"
                                    << "181.4";
        QTest::newRow("##0.0 negative") << -40.0 << "##0.0"
                                        << "-40.0";
        QTest::newRow("0.00") << 0.25 << "0.00"
                              << "0.25";
        QTest::newRow("0.00 decimal half") << 2.675 << "0.00"
                                           << "2.68";
        QTest::newRow("##0.00") << 29.533 << "##0.00"
                                << "29.53";
        QTest::newRow("0.000") << 0.45 << "0.000"
                               << "0.450";
        QTest::newRow("#.0# two") << 57.1597 << "#.0#"
                                  << "57.16";
        QTest::newRow("#.0# one") << 60.0 << "#.0#"
                                  << "60.0";
        QTest::newRow("#.0# below one") << 0.5 << "#.0#"
                                        << ".5";
        QTest::newRow("0. no decimals") << 8000.0 << "0."
                                        << "8000.";
        QTest::newRow("0.0000") << 3.14159 << "0.0000"
                                << "3.1416";
        QTest::newRow("no negative zero") << -0.04 << "0.0"
                                          << "0.0";
        QTest::newRow("carry") << 9.996 << "0.00"
                               << "10.00";
    }
    void patterns() {
        QFETCH(double, x);
        QFETCH(QString, pattern);
        QTEST(formatNumber(x, pattern), "expected");
    }

    void general_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << 8000.0 << "8000";
        QTest::newRow("fraction") << 158.5 << "158.5";
        QTest::newRow("below one") << 0.25 << "0.25";
        QTest::newRow("negative") << -40.0 << "-40";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("tiny") << 0.00001 << "1E-05";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("huge") << 1e16 << "1E+16";
    }
    void general() {
        QFETCH(double, x);
        QTEST(generalNumber(x), "expected");
    }

    void single() {
        QCOMPARE(generalSingle(0.1f), QStringLiteral("0.1"));
        QCOMPARE(generalSingle(327.675f), QStringLiteral("327.675"));
        QCOMPARE(generalSingle(12345678.0f), QStringLiteral("1.234568E+07"));
    }
};

ZELCOR_TEST(NumbersTest)
#include "numbers_test.moc"
