#include "base/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelcor {

namespace {

bool writable(const QString& dir) {
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

// codes.dat ships beside the program or in the installed share folder.
QString shippedCodesFile() {
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {inFolder(appDir, QStringLiteral("codes.dat")),
          inFolder(QStringLiteral(ZELCOR_SHARE_DIR), QStringLiteral("codes.dat")),
          inFolder(appDir + QStringLiteral("/../share/zelcor"), QStringLiteral("codes.dat"))})
        if (QFileInfo::exists(candidate)) return candidate;
    return {};
}

void provideCodesFile(const QString& folder) {
    const QString target = inFolder(folder, QStringLiteral("codes.dat"));
    if (QFileInfo::exists(target)) return;
    const QString source = shippedCodesFile();
    if (!source.isEmpty() && QFileInfo(source).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
        QFile::copy(source, target);
}

} // namespace

QString inFolder(const QString& folder, const QString& fileName) {
    return QDir(folder).filePath(fileName);
}

QString resolveProgramFolder(const QString& overrideDir) {
    QString folder;
    if (!overrideDir.isEmpty()) {
        QDir().mkpath(overrideDir);
        folder = QFileInfo(overrideDir).absoluteFilePath();
    } else {
        const QString appDir = QCoreApplication::applicationDirPath();
        if (!appDir.isEmpty() && writable(appDir)) return QDir::cleanPath(appDir);
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
    }
    folder = QDir::cleanPath(folder);
    provideCodesFile(folder);
    return folder;
}

} // namespace zelcor
