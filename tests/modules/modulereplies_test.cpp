// The decoders of module answers: code lists in both forms with their status bytes and
// failure types, lists cut short, negative responses, identifier texts; and the codes'
// explanations.

#include "modules/modulecodetext.h"
#include "modules/modulereplies.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;

namespace {

QByteArray bytes(const char* hex) {
    return QByteArray::fromHex(hex);
}

// "C0035-13:89" for each code.
QStringList listed(const QList<ModuleCode>& codes) {
    QStringList out;
    for (const ModuleCode& code : codes)
        out << code.shown() + QLatin1Char(':') + QString::number(code.status, 16).toUpper().rightJustified(2, '0');
    return out;
}

} // namespace

class ModuleRepliesTest : public QObject {
    Q_OBJECT
private slots:
    void codeLists_data() {
        QTest::addColumn<bool>("kwp");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("problem"); // part of the problem text; empty: read
        const auto row = [](const char* name, bool kwp, const char* message, const QStringList& codes,
                            const char* problem = "") {
            QTest::newRow(name) << kwp << bytes(message) << codes << problem;
        };
        row("uds, the four letters", false, "5902FF013300AF403513899A230008FFFF0188",
            {"P0133-00:AF", "C0035-13:89", "B1A23-00:08", "U3FFF-01:88"});
        row("uds, no codes", false, "5902FF", {});
        row("uds, a record cut short", false, "5902FF0133008940", {}, "stops inside code 2");
        row("uds, no availability mask", false, "5902", {}, "cut short");
        row("uds, another sub-function", false, "5901FF010005", {}, "sub-function 01");
        row("uds, refused", false, "7F1911", {}, "service not supported (7F 19 11)");
        row("uds, another service", false, "62F19741", {}, "starts 62, not 59");
        // KWP status: lamp 80, present 60, stored 20, maturing 40, not complete 10.
        row("kwp, storage states", true, "5804C15560C140400133A00300F0",
            {"U0155:09", "U0140:04", "P0133:88", "P0300:C9"});
        row("kwp, no codes", true, "5800", {});
        row("kwp, fewer than announced", true, "5803C15560", {}, "announces 3 codes, 3 bytes");
        row("kwp, no count", true, "58", {}, "cut short");
        row("kwp, security", true, "7F1833", {}, "security access denied");
    }
    void codeLists() {
        QFETCH(bool, kwp);
        QFETCH(QByteArray, message);
        QFETCH(QStringList, codes);
        QFETCH(QString, problem);
        const ModuleCodeRead read = kwp ? decodeKwpCodes(message) : decodeUdsCodes(message);
        QCOMPARE(listed(read.codes), codes);
        if (problem.isEmpty())
            QVERIFY2(read.read(), qPrintable(read.problem));
        else
            QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    }

    void statusBits() {
        QCOMPARE(codeStatusTexts(0x00), QStringList{});
        QCOMPARE(codeStatusTexts(0x89), (QStringList{"test failed", "confirmed", "warning lamp requested"}));
        const QStringList all = codeStatusTexts(0xFF);
        QCOMPARE(all,
                 (QStringList{"test failed", "failed this cycle", "pending", "confirmed", "not completed since clear",
                              "failed since clear", "not completed this cycle", "warning lamp requested"}));
    }

    void negativeResponses_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("text"); // empty: not a negative response
        QTest::addColumn<bool>("pending");
        QTest::newRow("sub-function") << bytes("7F1912") << "sub-function not supported (7F 19 12)" << false;
        QTest::newRow("conditions") << bytes("7F1422") << "conditions not correct (7F 14 22)" << false;
        QTest::newRow("out of range") << bytes("7F2231") << "request out of range (7F 22 31)" << false;
        QTest::newRow("pending") << bytes("7F1978") << "response pending (7F 19 78)" << true;
        QTest::newRow("by number") << bytes("7F19A5") << "negative response A5 (7F 19 A5)" << false;
        QTest::newRow("too short") << bytes("7F19") << QString() << false;
        QTest::newRow("positive") << bytes("7E00") << QString() << false;
    }
    void negativeResponses() {
        QFETCH(QByteArray, message);
        QFETCH(QString, text);
        QFETCH(bool, pending);
        const auto negative = negativeResponse(message);
        QCOMPARE(negative.has_value(), !text.isEmpty());
        if (!negative) return;
        QCOMPARE(negative->text(), text);
        QCOMPARE(negative->pending(), pending);
    }

    void identifiers_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<int>("identifier");
        QTest::addColumn<QString>("text"); // "-": none
        QTest::newRow("system name, filler trimmed")
            << QByteArray::fromHex("62F197") + "ABS-Brake" + QByteArray("\0\0\xFF", 3) << int(systemNameIdentifier)
            << "ABS-Brake";
        QTest::newRow("unprintable shown as ?") << bytes("62F18C41074220") << int(serialNumberIdentifier) << "A?B";
        QTest::newRow("another identifier") << bytes("62F18A4142") << int(systemNameIdentifier) << "-";
        QTest::newRow("refused") << bytes("7F2231") << int(systemNameIdentifier) << "-";
    }
    void identifiers() {
        QFETCH(QByteArray, message);
        QFETCH(int, identifier);
        QFETCH(QString, text);
        QCOMPARE(identifierText(message, quint16(identifier)).value_or(QStringLiteral("-")), text);
    }

    // The generic codes' texts and the manufacturer's body codes are in the golden scan-modules.json.
    void explanations_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("maker's network code") << "U2100"
                                              << "manufacturer-specific code, reported by SRS-Restraints";
        QTest::newRow("generic without text") << "U3FFF"
                                              << "No explanation for U3FFF in codes.dat";
    }
    void explanations() {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QCOMPARE(
            moduleCodeExplanation(code, QStringLiteral("SRS-Restraints"), QStringLiteral(ZELCOR_SOURCE_DIR "/data")),
            text);
    }
};

ZELCOR_TEST(ModuleRepliesTest)
#include "modulereplies_test.moc"
