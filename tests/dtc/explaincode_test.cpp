// Explanations from codes.dat: the lookup rule, and the layout of the shipped file that
// the lookup relies on.

#include "dtc/explaincode.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QRegularExpression>
#include <QTest>

using namespace zelcor;

class ExplainCodeTest : public QObject {
    Q_OBJECT
private slots:
    void lookup_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        const QByteArray file = "Heading line\r\nP0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\nP0134 No Activity\r\n"
                                "P0133 a later block is never reached\r\np0300 lower case key\r\nP0420 Catalyst\r\n"
                                "P0420 Below Threshold";
        const auto row = [](const char* name, const QByteArray& content, const char* code, const char* expected) {
            QTest::newRow(name) << content << QString::fromLatin1(code) << QString::fromUtf8(expected);
        };
        row("adjacent lines", file, "P0133", "P0133 O2 Sensor Slow\r\nP0133 (Bank 1)\r\n");
        row("at the end, no line end", file, "P0420", "P0420 Catalyst\r\nP0420 Below Threshold\r\n");
        row("absent", file, "P0171", "");
        row("case matters", file, "P0300", "");
        row("key needs the blank", "P0133x\r\n", "P0133", "");
        row("LF line ends", "P0133 a\nP0133 b\nP0134 c\n", "P0133", "P0133 a\r\nP0133 b\r\n");
        row("Latin-1 text", "P0133 caf\xE9 au lait\r\n", "P0133", "P0133 caf\u00E9 au lait\r\n");
        row("Latin-1 at the line end", "P0133 caf\xE9\r\n", "P0133", "P0133 caf\u00E9\r\n");
    }
    void lookup() {
        QFETCH(QByteArray, content);
        QFETCH(QString, code);
        QTemporaryDir dir;
        QVERIFY(test::writeText(dir.filePath(codesFileName), content));
        int error = -1;
        QTEST(explainCode(code, dir.path(), &error), "expected");
        QCOMPARE(error, 0);
    }

    // In place of a missing line: generic codes, those each maker defines, and nothing for
    // what is not a code (the end marker of a list, a blank item).
    void missingExplanation_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        for (const char* code : {"P1456", "P3300", "B2000", "C1234", "U1F00"})
            QTest::newRow(code)
                << code
                << QStringLiteral("No explanation for %1 in codes.dat (a manufacturer-specific code)").arg(code);
        for (const char* code : {"P0456", "P2A00", "P3400", "B0001", "U0100", "U3000"})
            QTest::newRow(code) << code << QStringLiteral("No explanation for %1 in codes.dat").arg(code);
        for (const char* text : {"--- En", "", "P0133 ", "X0133", "P4133"})
            QTest::newRow(*text ? text : "empty") << text << QString();
    }
    void missingExplanation() {
        QFETCH(QString, code);
        QTEST(missingExplanationText(code), "expected");
    }

    // The shipped file: comments and key lines, printable, each ended by CR LF; keys sorted,
    // a key's lines adjacent (the lookup returns only its first block).
    void shippedFile() {
        const QByteArray raw = test::fileText(test::shippedCodesFile);
        QVERIFY(raw.endsWith("\r\n") && raw.count('\r') == raw.count("\r\n") && raw.count('\n') == raw.count('\r'));
        static const QRegularExpression valid(
            QStringLiteral("^(?:[#;][ -~]*|[PCBU][0-3][0-9A-F]{3} [!-~]([ -~]*[!-~])?)$"));
        QString previous;
        int codes = 0;
        for (const QString& line : QString::fromLatin1(raw.chopped(2)).split(QStringLiteral("\r\n"))) {
            QVERIFY2(valid.match(line).hasMatch(), qPrintable(line));
            if (line.startsWith('#') || line.startsWith(';') || line.left(5) == previous) continue;
            QVERIFY2(line.left(5) > previous, qPrintable(line));
            previous = line.left(5);
            ++codes;
        }
        QVERIFY(codes >= 1500);
    }
};

ZELCOR_TEST(ExplainCodeTest)
#include "explaincode_test.moc"
