#include "dtc/explaincode.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;

namespace {

void writeCodesFile(const QString& folder, const QByteArray& content) {
    QFile file(QDir(folder).filePath(QStringLiteral("codes.dat")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

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
                                "P0420 Below Threshold\r\n";
        QTest::newRow("two adjacent lines") << file << "P0133"
                                            << "P0133 O2 Sensor Circuit Slow Response\r\nP0133 (Bank 1 Sensor 1)\r\n";
        QTest::newRow("list item key") << file << "P0134 "
                                       << "P0134 O2 Sensor No Activity\r\n";
        QTest::newRow("block at end") << file << "P0420"
                                      << "P0420 Catalyst Efficiency\r\nP0420 Below Threshold\r\n";
        QTest::newRow("absent") << file << "P0171"
                                << "";
        QTest::newRow("case matters") << file << "P0300"
                                      << "";
        QTest::newRow("end marker item") << file << "--- En"
                                         << "";
        QTest::newRow("blank pads to six") << QByteArray("P0133x no blank\r\n") << "P0133"
                                           << "";
        QTest::newRow("no final line end") << QByteArray("P0001 a\r\nP0420 b\r\nP0420 c") << "P0420"
                                           << "P0420 b\r\nP0420 c\r\n";
        QTest::newRow("LF line ends") << QByteArray("P0133 a\nP0133 b\nP0134 c\n") << "P0133"
                                      << "P0133 a\r\nP0133 b\r\n";
        QTest::newRow("latin-1 text") << QByteArray("P0115 Coolant \xb0"
                                                    "C\r\n")
                                      << "P0115" << QStringLiteral("P0115 Coolant \u00b0C\r\n");
        QTest::newRow("empty code") << QByteArray("P0133 a\r\n      indented\r\n") << ""
                                    << "      indented\r\n";
        QTest::newRow("empty file") << QByteArray() << "P0133"
                                    << "";
    }
    void lookup() {
        QFETCH(QByteArray, content);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        writeCodesFile(dir.path(), content);
        int error = -1;
        QCOMPARE(explaincode(code, dir.path(), &error), expected);
        QCOMPARE(error, 0);
    }

    void missingFile() {
        QTemporaryDir dir;
        int error = 0;
        QCOMPARE(explaincode(QStringLiteral("P0133"), dir.path(), &error), QString());
        QCOMPARE(error, 53);
    }

    void unreadableFile() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("codes.dat"))); // exists, cannot be read as a file
        int error = 0;
        QCOMPARE(explaincode(QStringLiteral("P0133"), dir.path(), &error), QString());
        QCOMPARE(error, 75);
    }

    void accessDenied() {
        QTemporaryDir dir;
        writeCodesFile(dir.path(), "P0133 a\r\n");
        const QString path = QDir(dir.path()).filePath(QStringLiteral("codes.dat"));
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly)) QSKIP("permissions do not stop this user from reading");
        int error = 0;
        QCOMPARE(explaincode(QStringLiteral("P0133"), dir.path(), &error), QString());
        QCOMPARE(error, 75);
    }

    void errorText() {
        const QString text =
            codesFileErrorText(53, QStringLiteral("https://help.example/guide"), QStringLiteral("help@example.org"));
        QVERIFY(!text.endsWith(QLatin1String("\r\n")));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 19);
        QCOMPARE(lines[0], QStringLiteral("ERROR NUMBER  53"));
        for (int empty : {1, 3, 5, 9, 12, 15})
            QVERIFY2(lines[empty].isEmpty(), qPrintable(QString::number(empty)));
        QCOMPARE(lines[13],
                 QStringLiteral("3)  Visit our online troubleshooting guide:    https://help.example/guide"));
        QCOMPARE(lines[16], QStringLiteral("4)  If all else fails, please email help@example.org, and be sure to "
                                           "check your 'junk' email"));
        QCOMPARE(codesFileErrorText(75, {}, {}).section(QStringLiteral("\r\n"), 0, 0),
                 QStringLiteral("ERROR NUMBER  75"));
    }
};

ZELCOR_TEST(ExplainCodeTest)
#include "explaincode_test.moc"
