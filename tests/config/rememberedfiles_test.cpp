// The names chosen in the file dialogs: one for each kind, kept in zelcor.ini beside its
// other keys, read again by the next run.

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
        {
            RememberedFiles files(dir.path());
            files.remember(FileKind::CodeReport, QStringLiteral("/home/me/codes1.txt"));
            files.remember(FileKind::Recording, QStringLiteral("/home/me/logs/drive.log"));
            files.remember(FileKind::CodeReport, QStringLiteral("/home/me/codes2.txt"));
            QCOMPARE(files.last(FileKind::DataLog), QString());
        }
        const RememberedFiles nextRun(dir.path());
        QCOMPARE(nextRun.last(FileKind::CodeReport), QStringLiteral("/home/me/codes2.txt"));
        QCOMPARE(nextRun.last(FileKind::Recording), QStringLiteral("/home/me/logs/drive.log"));
        QCOMPARE(nextRun.last(FileKind::DataLog), QString());
        QVERIFY(fileText(ini).contains("device=/dev/ttyUSB0"));

        RememberedFiles thisRunOnly;
        thisRunOnly.remember(FileKind::DataLog, dir.filePath(QStringLiteral("drive.csv")));
        QCOMPARE(thisRunOnly.last(FileKind::DataLog), dir.filePath(QStringLiteral("drive.csv")));
        QCOMPARE(RememberedFiles(dir.path()).last(FileKind::DataLog), QString());
    }
};

ZELCOR_TEST(RememberedFilesTest)
#include "rememberedfiles_test.moc"
