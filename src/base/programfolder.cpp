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

const QString kCodesFile = QStringLiteral("codes.dat");

// The share folder of the installation the program runs from (ZELCOR_SHARE_FROM_BIN is the
// way from the bin folder to it), wherever that installation was put.
QString installedShareFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(ZELCOR_SHARE_FROM_BIN));
}

// Run from an installation rather than from a build tree or a portable folder, which carry
// codes.dat beside the executable.
bool runsInstalled() {
    return !QFileInfo::exists(inFolder(QCoreApplication::applicationDirPath(), kCodesFile)) &&
           QFileInfo::exists(inFolder(installedShareFolder(), kCodesFile));
}

// codes.dat ships beside the program, in the share folder of its installation, or in the
// share folder of the prefix it was built for.
QString shippedCodesFile() {
    for (const QString& candidate :
         {inFolder(QCoreApplication::applicationDirPath(), kCodesFile), inFolder(installedShareFolder(), kCodesFile),
          inFolder(QStringLiteral(ZELCOR_SHARE_DIR), kCodesFile)})
        if (QFileInfo::exists(candidate)) return candidate;
    return {};
}

void provideCodesFile(const QString& folder) {
    const QString target = inFolder(folder, kCodesFile);
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
        if (!appDir.isEmpty() && writable(appDir) && !runsInstalled()) return QDir::cleanPath(appDir);
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir().mkpath(folder);
    }
    folder = QDir::cleanPath(folder);
    provideCodesFile(folder);
    return folder;
}

} // namespace zelcor
