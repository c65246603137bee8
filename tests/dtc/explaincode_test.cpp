#include "dtc/explaincode.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;

class ExplainCodeTest : public QObject {
    Q_OBJECT
private slots:
    void lookup_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        const QByteArray file = "Heading line\r\n"
                                "P0133 O2 Sensor Circuit Slow Response\r\n"
                                "P0133 (Bank 1 Sensor 1)\r\n"
                                "P0134 O2 Sensor No Activity\r\n"
                                "P0133 a later block is never reached\r\n"
                                "p0300 lower case key\r\n"
                                "P0420 Catalyst Efficiency\r\n"
                                "P0420 Below Threshold";
        QTest::newRow("two adjacent lines") << file << "P0133"
                                            << "P0133 O2 Sensor Circuit Slow Response\r\nP0133 (Bank 1 Sensor 1)\r\n";
        QTest::newRow("block at end") << file << "P0420"
                                      << "P0420 Catalyst Efficiency\r\nP0420 Below Threshold\r\n";
        QTest::newRow("absent") << file << "P0171"
                                << "";
        QTest::newRow("case matters") << file << "P0300"
                                      << "";
        QTest::newRow("key needs the blank") << QByteArray("P0133x\r\n") << "P0133"
                                             << "";
        QTest::newRow("LF line ends") << QByteArray("P0133 a\nP0133 b\nP0134 c\n") << "P0133"
                                      << "P0133 a\r\nP0133 b\r\n";
    }
    void lookup() {
        QFETCH(QByteArray, content);
        QFETCH(QString, code);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("codes.dat")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        int error = -1;
        QTEST(explaincode(code, dir.path(), &error), "expected");
        QCOMPARE(error, 0);
    }

    void errorText() {
        const QStringList lines =
            codesFileErrorText(53, QStringLiteral("https://help.example"), QStringLiteral("help@example.org"))
                .split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[0], QStringLiteral("ERROR NUMBER  53"));
        QCOMPARE(lines[13], QStringLiteral("3)  Visit our online troubleshooting guide:    https://help.example"));
        QCOMPARE(lines[16], QStringLiteral("4)  If all else fails, please email help@example.org, and be sure to "
                                           "check your 'junk' email"));
        QVERIFY(lines[18].endsWith(QLatin1String("may help.")));
    }
};

ZELCOR_TEST(ExplainCodeTest)
#include "explaincode_test.moc"
