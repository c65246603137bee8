// The names chosen in the file dialogs: each kind's dialog starts at its own last file, kept
// in zelcor.ini beside the file's other keys and read again by the next run.

#include "config/rememberedfiles.h"
#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

class RememberedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindItsOwn() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("zelcor.ini"));
        QVERIFY(writeText(ini, "[adapter]\ndevice=/dev/ttyUSB0\n"));
        SaveDialogRequest report(FileKind::CodeReport);
        report.proposedPath = QStringLiteral("/data/errors.txt");
        SaveDialogRequest log(FileKind::DataLog);
        log.proposedPath = QStringLiteral("/data/noname.csv");
        OpenDialogRequest recording;
        recording.folder = QStringLiteral("/data");
        {
            RememberedFiles files(dir.path());
            QCOMPARE(files.openStart(recording), QStringLiteral("/data"));
            files.remember(FileKind::CodeReport, QStringLiteral("/home/me/codes1.txt"));
            QCOMPARE(files.saveStart(log), log.proposedPath);
            files.remember(FileKind::DataLog, QStringLiteral("/home/me/logs/drive.csv"));
            QCOMPARE(files.openStart(recording), QStringLiteral("/home/me/logs"));
            files.remember(FileKind::CodeReport, QStringLiteral("/home/me/codes2.txt"));
        }
        RememberedFiles nextRun(dir.path());
        QCOMPARE(nextRun.saveStart(report), QStringLiteral("/home/me/codes2.txt"));
        QCOMPARE(nextRun.saveStart(log), QStringLiteral("/home/me/logs/drive.csv"));
        nextRun.remember(FileKind::Recording, QStringLiteral("/home/me/old/drive.log"));
        QCOMPARE(nextRun.openStart(recording), QStringLiteral("/home/me/old/drive.log"));
        QVERIFY(fileText(ini).contains("device=/dev/ttyUSB0"));

        RememberedFiles thisRunOnly;
        thisRunOnly.remember(FileKind::CodeReport, dir.filePath(QStringLiteral("codes.txt")));
        QCOMPARE(thisRunOnly.saveStart(report), dir.filePath(QStringLiteral("codes.txt")));
        QCOMPARE(RememberedFiles(dir.path()).saveStart(report), QStringLiteral("/home/me/codes2.txt"));
    }
};

ZELCOR_TEST(RememberedFilesTest)
#include "rememberedfiles_test.moc"
