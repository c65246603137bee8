// The data folder's codes.dat across program versions: copied once, refreshed after an
// upgrade while unchanged, never overwritten once edited.

#include "base/codescopy.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QByteArray kOld = "P0100 old text\r\n";
const QByteArray kNew = "P0100 new text\r\n";
const QByteArray kEdited = "P0100 my own text\r\n";
const QByteArray kLater = "P0100 later text\r\n";

} // namespace

class CodesCopyTest : public QObject {
    Q_OBJECT
private slots:
    // The folder as an earlier start of the program left it, then a start with `kNew`
    // shipped, then one with `kLater` shipped.
    void copy_data() {
        QTest::addColumn<QByteArray>("copiedBefore"); // empty: never copied (no stamp)
        QTest::addColumn<QByteArray>("userCopy");     // empty: none in the folder
        QTest::addColumn<QByteArray>("used");         // the folder's codes.dat afterwards
        QTest::addColumn<QString>("note");            // part of the line for the user; empty: none
        QTest::addColumn<bool>("laterUpgradeReaches");
        QTest::newRow("first start") << QByteArray() << QByteArray() << kNew << "" << true;
        QTest::newRow("installed newer, copy unchanged") << kOld << kOld << kNew << "refreshed from the newer" << true;
        QTest::newRow("installed newer, copy edited") << kOld << kEdited << kEdited << "using the edited" << false;
        QTest::newRow("same version") << kNew << kNew << kNew << "" << true;
        QTest::newRow("edited, nothing newer") << kNew << kEdited << kEdited << "" << false;
        // A copy made before stamps were kept cannot be told from an edit.
        QTest::newRow("unstamped, differs") << QByteArray() << kOld << kOld << "using the edited" << false;
        QTest::newRow("unstamped, same text") << QByteArray() << kNew << kNew << "" << true;
    }
    void copy() {
        QFETCH(QByteArray, copiedBefore);
        QFETCH(QByteArray, userCopy);
        QFETCH(QByteArray, used);
        QFETCH(QString, note);
        QTemporaryDir install;
        QTemporaryDir data;
        const QString shipped = install.filePath("codes.dat");
        const QString target = data.filePath("codes.dat");
        if (!copiedBefore.isEmpty()) {
            QVERIFY(writeText(shipped, copiedBefore));
            QVERIFY(provideCodesFile(shipped, data.path()).isEmpty());
        }
        // A file left as it was keeps its time: an old one shows any rewrite.
        const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-10);
        if (!userCopy.isEmpty()) {
            QVERIFY(writeText(target, userCopy));
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
        }
        QVERIFY(writeText(shipped, kNew));

        const QString said = provideCodesFile(shipped, data.path());
        QCOMPARE(fileText(target), used);
        QVERIFY2(note.isEmpty() ? said.isEmpty() : said.contains(note), qPrintable(said));
        if (!note.isEmpty()) QVERIFY2(said.contains(target) && said.contains(shipped), qPrintable(said));
        if (!userCopy.isEmpty() && used == userCopy)
            QCOMPARE(QFileInfo(target).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());

        QVERIFY(writeText(shipped, kLater));
        provideCodesFile(shipped, data.path());
        QFETCH(bool, laterUpgradeReaches);
        QCOMPARE(fileText(target), laterUpgradeReaches ? kLater : used);
    }

    // A copy that cannot be written is said, with the file and why.
    void unwritableCopySaid() {
        QTemporaryDir install;
        QVERIFY(writeText(install.filePath("codes.dat"), kNew));
        const QString gone = install.filePath("gone");
        const QString said = provideCodesFile(install.filePath("codes.dat"), gone);
        QVERIFY2(said.startsWith(QDir(gone).filePath("codes.dat") + " cannot be written: "), qPrintable(said));
    }
};

ZELCOR_TEST(CodesCopyTest)
#include "codescopy_test.moc"
