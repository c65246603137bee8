// Definition files read line by line: the forms files are shared in (header row, quotes, a
// byte-order mark, every line end, short and long lines), a verdict for every bad line of
// every kind, and the check of the command line. The files shipped with the program are
// read whole in the golden scans of the electric car (tests/golden/data/ev/scan-parameters*).

#include "definitions/checkreport.h"
#include "definitions/definitionfile.h"
#include "testmain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;

namespace {

QStringList verdictTexts(const DefinitionFile& file) {
    QStringList texts;
    for (const LineVerdict& v : file.verdicts)
        texts << v.text();
    return texts;
}

const char* const kGood = "SOC,SOC,2101,A/2,0,100,%,7E4";

} // namespace

class DefinitionFileTest : public QObject {
    Q_OBJECT
private slots:
    // Every field of a line, through the forms that must read alike.
    void sharedForms_data() {
        QTest::addColumn<QByteArray>("contents");
        const QByteArray header = "Name,ShortName,ModeAndPID,Equation,Min Value,Max Value,Units,Header";
        const QByteArray line = "\"Pack voltage, total\",Volts,0x220101,\"((B<8)+C)/10\", 0 ,800.5,V,7e4";
        QTest::newRow("header row, LF") << header + "\n" + line + "\n";
        QTest::newRow("CR LF, blank lines") << "\r\n" + header + "\r\n\r\n" + line + "\r\n";
        QTest::newRow("CR, no header row") << "\r" + line;
        QTest::newRow("BOM, empty extra columns") << "\xEF\xBB\xBF" + line + ",,";
    }
    void sharedForms() {
        QFETCH(QByteArray, contents);
        const DefinitionFile file = readDefinitions(contents);
        QCOMPARE(file.rejectedCount(), 0);
        QCOMPARE(file.parameters.size(), 1);
        const ParameterDefinition& d = file.parameters[0];
        QCOMPARE((QStringList{d.name, d.shortName, d.request.text(), d.request.header, d.units}),
                 (QStringList{"Pack voltage, total", "Volts", "220101", "7E4", "V"}));
        QCOMPARE(d.request.identifierBytes, 2);
        QCOMPARE(d.minimum, std::optional<double>(0));
        QCOMPARE(d.maximum, std::optional<double>(800.5));
        QCOMPARE(*d.equation.evaluate(QByteArray::fromHex("000FA0")).value, 400.0);
    }

    // A good line first, then another: each bad line gets its verdict and no parameter.
    void lines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("verdict");
        const auto row = [](const char* name, const char* line, const char* verdict) {
            QTest::newRow(name) << line << QString(QLatin1String("line 2") + QLatin1String(verdict));
        };
        row("29-bit header, 0X", "T,T,0X22F40D,A,,,,18daf110", ": accepted");
        row("service 01, functional, seven columns", "T,T,010C,A,,,", ": accepted");
        row("unknown function", "T,T,2101,FOO(A),,,,7E4", ", column 4 (Equation): unknown function FOO");
        row("byte beyond any reply", "T,T,2101,ZZZ,,,,7E4", ", column 4 (Equation): byte ZZZ beyond any reply");
        row("val of nothing", "T,T,2101,val{X}*2,,,,7E4", ", column 4 (Equation): val{X}: no parameter named X");
        row("val of itself", "T,T,2101,val{T}+1,,,,7E4", ", column 4 (Equation): val{} loop: T -> T");
        row("no equation", "T,T,2101,,,,,7E4", ", column 4 (Equation): the equation is empty");
        row("no name", ",T,2101,A,,,,7E4", ", column 1 (Name): the parameter has no name");
        row("same name", "SOC,T,2101,A,,,,7E4", ", column 1 (Name): a parameter named SOC is on line 1 already");
        row("service without PID", "T,T,21,A,,,,7E4",
            ", column 3 (ModeAndPID): service 21 takes a one-byte identifier, as in 2101");
        row("short identifier", "T,T,2201,A,,,,7E4",
            ", column 3 (ModeAndPID): service 22 takes a two-byte identifier, as in 220101");
        row("other service", "T,T,2301,A,,,,7E4", ", column 3 (ModeAndPID): service 23 is not read here: 01, 21 or 22");
        row("not hex", "T,T,21O1,A,,,,7E4",
            ", column 3 (ModeAndPID): ModeAndPID \"21O1\" is not a service and identifier in hex");
        row("no ModeAndPID", "T,T,,A,,,,7E4", ", column 3 (ModeAndPID): no ModeAndPID");
        row("short header", "T,T,2101,A,,,,7E",
            ", column 8 (Header): header \"7E\" is not 3 hex digits (11-bit) or 8 (29-bit)");
        row("header beyond 11 bits", "T,T,2101,A,,,,800", ", column 8 (Header): header 800 is beyond 11 bits");
        row("header beyond 29 bits", "T,T,2101,A,,,,FFFFFFFF",
            ", column 8 (Header): header FFFFFFFF is beyond 29 bits");
        row("Min not a number", "T,T,2101,A,low,100,,7E4", ", column 5 (Min): Min \"low\" is not a number");
        row("Max infinite", "T,T,2101,A,0,inf,,7E4", ", column 6 (Max): Max \"inf\" is not a number");
        row("Max below Min", "T,T,2101,A,100,0,,7E4", ", column 6 (Max): Max 0 is not above Min 100");
        row("three columns", "T,T,2101", ", column 4 (Equation): the line has 3 of 8 columns");
        row("nine columns", "T,T,2101,A,,,,7E4,x", ": column 9 holds \"x\": a line has 8 columns");
        row("unclosed quote", "\"T,T,2101,A,,,,7E4", ", column 1 (Name): a quote is not closed");
        row("quote in a tenth column", "T,T,2101,A,,,,7E4,,\"x", ", column 10: a quote is not closed");
        row("text after a quote", "T,\"T\"x,2101,A,,,,7E4", ", column 2 (ShortName): text after a closing quote");
        row("unquoted comma shifts", "T, front,T,2101,A,,,,7E4", ": column 9 holds \"7E4\": a line has 8 columns");
    }
    void lines() {
        QFETCH(QString, line);
        QFETCH(QString, verdict);
        const DefinitionFile file = readDefinitions(QByteArray(kGood) + "\n" + line.toUtf8() + "\n");
        QCOMPARE(verdictTexts(file), (QStringList{"line 1: accepted", verdict}));
        const int rejected = verdict.endsWith(": accepted") ? 0 : 1;
        QCOMPARE(file.rejectedCount(), rejected);
        QCOMPARE(file.parameters.size(), 2 - rejected);
    }

    // val{} names resolved across lines in any order; loops and what stands on rejected lines refused.
    void references() {
        const DefinitionFile file = readDefinitions("Power,P,2101,val{Volts}*val{Amps}/1000,,,kW,7E4\n"
                                                    "Volts,V,2101,A,,,V,7E4\n"
                                                    "Amps,I,2101,B,,,A,7E4\n"
                                                    "X,X,2101,val{Y}+1,,,,7E4\n"
                                                    "Y,Y,2101,val{Z},,,,7E4\n"
                                                    "Z,Z,2101,val{X},,,,7E4\n"
                                                    "W,W,2101,val{Y}*2,,,,7E4\n"
                                                    "Bad,B,2101,FOO(A),,,,7E4\n"
                                                    "U,U,2101,val{Bad},,,,7E4\n");
        QCOMPARE(verdictTexts(file), (QStringList{
                                         "line 1: accepted",
                                         "line 2: accepted",
                                         "line 3: accepted",
                                         "line 4, column 4 (Equation): val{} loop: X -> Y -> Z -> X",
                                         "line 5, column 4 (Equation): val{} loop: Y -> Z -> X -> Y",
                                         "line 6, column 4 (Equation): val{} loop: Z -> X -> Y -> Z",
                                         "line 7, column 4 (Equation): val{Y}: Y on line 5 is rejected",
                                         "line 8, column 4 (Equation): unknown function FOO",
                                         "line 9, column 4 (Equation): val{Bad}: Bad on line 8 is rejected",
                                     }));
        QCOMPARE(file.parameters.size(), 3);
        QCOMPARE(file.parameters[0].references, (QList<int>{1, 2}));
    }

    void checkReport() {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.csv"), bad = dir.filePath("bad.csv");
        for (const auto& [path, second] :
             {std::pair{good, "SOH,SOH,2105,B/2,0,100,%,7E4"}, {bad, "T,T,2101,FOO(A),,,,7E4"}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(kGood) + "\n" + second + "\n");
        }
        const CheckReport fine = checkDefinitionFiles({good});
        QVERIFY(fine.allAccepted);
        QCOMPARE(fine.text, good + "\n"
                                   "  line 1: accepted: SOC (2101 on 7E4)\n"
                                   "  line 2: accepted: SOH (2105 on 7E4)\n"
                                   "  2 parameters accepted, 0 lines rejected\n"
                                   "1 file: 2 parameters accepted, 0 lines rejected\n");
        const CheckReport mixed = checkDefinitionFiles({good, bad, dir.filePath("missing.csv")});
        QVERIFY(!mixed.allAccepted);
        QVERIFY(mixed.text.contains("  line 2, column 4 (Equation): unknown function FOO\n"
                                    "  1 parameter accepted, 1 line rejected\n"));
        QVERIFY(mixed.text.contains("missing.csv\n  cannot be read: "));
        QVERIFY(mixed.text.endsWith("3 files: 3 parameters accepted, 1 line rejected, 1 file not read\n"));
        QVERIFY(!checkDefinitionFiles({dir.filePath("missing.csv")}).allAccepted);
    }
};

ZELCOR_TEST(DefinitionFileTest)
#include "definitionfile_test.moc"
