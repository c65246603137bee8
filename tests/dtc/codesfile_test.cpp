// Checks the shipped trouble code explanation file data/codes.dat: the line layout the
// lookup relies on (CR LF ends, six-character keys, adjacent and unique keys) and a few
// well-known titles.

#include "testmain.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QTest>

namespace {

struct CodesFile {
    QByteArray raw;
    QList<QByteArray> lines; // without their CR LF
    bool loaded = false;
};

const CodesFile& codesFile() {
    static const CodesFile file = [] {
        CodesFile f;
        QFile in(QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat"));
        if (!in.open(QIODevice::ReadOnly)) return f;
        f.raw = in.readAll();
        f.loaded = true;
        QByteArray rest = f.raw;
        if (rest.endsWith("\r\n")) rest.chop(2);
        if (!rest.isEmpty()) f.lines = rest.split('\n');
        for (QByteArray& line : f.lines)
            if (line.endsWith('\r')) line.chop(1);
        return f;
    }();
    return file;
}

bool isKeyLine(const QByteArray& line) {
    static const QRegularExpression key(QStringLiteral("^[PCBU][0-3][0-9A-F]{3} "));
    return key.match(QString::fromLatin1(line.left(6))).hasMatch();
}

bool isCommentLine(const QByteArray& line) {
    return line.startsWith('#') || line.startsWith(';');
}

} // namespace

class CodesFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(codesFile().loaded, "data/codes.dat cannot be read");
        QVERIFY(!codesFile().raw.isEmpty());
    }

    void everyLineEndsInCrLf() {
        const QByteArray& raw = codesFile().raw;
        QVERIFY2(raw.endsWith("\r\n"), "last line is not ended by CR LF");
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw.at(i) == '\n')
                QVERIFY2(i > 0 && raw.at(i - 1) == '\r', qPrintable(QStringLiteral("bare LF at byte %1").arg(i)));
            if (raw.at(i) == '\r')
                QVERIFY2(i + 1 < raw.size() && raw.at(i + 1) == '\n',
                         qPrintable(QStringLiteral("bare CR at byte %1").arg(i)));
        }
    }

    void everyLineIsCommentOrCode() {
        const QList<QByteArray>& lines = codesFile().lines;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const QByteArray& line = lines.at(n);
            const QString where = QStringLiteral("line %1: %2").arg(n + 1).arg(QString::fromLatin1(line));
            for (char c : line)
                QVERIFY2(c >= 0x20 && c <= 0x7E, qPrintable(where + " (not printable ASCII)"));
            QVERIFY2(!line.endsWith(' ') && !line.endsWith('\t'), qPrintable(where + " (trailing blank)"));
            if (isCommentLine(line)) {
                QVERIFY2(!isKeyLine(line), qPrintable(where));
                continue;
            }
            QVERIFY2(isKeyLine(line), qPrintable(where + " (no valid key)"));
            QVERIFY2(!line.mid(6).trimmed().isEmpty(), qPrintable(where + " (empty text)"));
            QVERIFY2(line.at(6) != ' ', qPrintable(where + " (more than one blank after the code)"));
        }
    }

    // The lookup returns the first block of a key; a repeated or separated key would hide
    // text, and a sorted file keeps every code's lines adjacent.
    void keysUniqueAndSorted() {
        QByteArray previous;
        int codes = 0;
        for (const QByteArray& line : codesFile().lines) {
            if (!isKeyLine(line)) continue;
            const QByteArray key = line.left(5);
            QVERIFY2(key > previous, qPrintable(QStringLiteral("%1 repeated or out of order after %2")
                                                    .arg(QString::fromLatin1(key), QString::fromLatin1(previous))));
            previous = key;
            ++codes;
        }
        QVERIFY2(codes >= 1500, qPrintable(QStringLiteral("only %1 codes").arg(codes)));
    }

    void wellKnownTitles_data() {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("O2 slow response")
            << QByteArray("P0133") << QByteArray("O2 Sensor Circuit Slow Response (Bank 1 Sensor 1)");
        QTest::newRow("cam timing, quotes")
            << QByteArray("P0011")
            << QByteArray("\"A\" Camshaft Position - Timing Over-Advanced or System Performance (Bank 1)");
        QTest::newRow("ECM lost") << QByteArray("U0100") << QByteArray("Lost Communication With ECM/PCM \"A\"");
        QTest::newRow("hex digit key") << QByteArray("P2A00")
                                       << QByteArray("O2 Sensor Circuit Range/Performance (Bank 1 Sensor 1)");
    }
    void wellKnownTitles() {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, title);
        QList<QByteArray> found;
        for (const QByteArray& line : codesFile().lines)
            if (line.startsWith(code + ' ')) found << line;
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first(), code + ' ' + title);
    }
};

ZELCOR_TEST(CodesFileTest)
#include "codesfile_test.moc"
