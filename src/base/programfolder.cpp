#include "base/programfolder.h"

#include "base/codescopy.h"

#include <QCoreApplication>
#include <QDir>
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

#ifdef Q_OS_WIN
// Run from an installation rather than from a build tree or a portable folder, which carry
// codes.dat beside the executable.
bool runsInstalled() {
    return !QFileInfo::exists(inFolder(QCoreApplication::applicationDirPath(), kCodesFile)) &&
           QFileInfo::exists(inFolder(installedShareFolder(), kCodesFile));
}
#endif

// codes.dat ships beside the program, in the share folder of its installation, or in the
// share folder of the prefix it was built for.
QString shippedCodesFile() {
    for (const QString& candidate :
         {inFolder(QCoreApplication::applicationDirPath(), kCodesFile), inFolder(installedShareFolder(), kCodesFile),
          inFolder(QStringLiteral(ZELCOR_SHARE_DIR), kCodesFile)})
        if (QFileInfo::exists(candidate)) return candidate;
    return {};
}

} // namespace

QString inFolder(const QString& folder, const QString& fileName) {
    return QDir(folder).filePath(fileName);
}

namespace {

// Why `folder` cannot hold the program's files; empty when it can (it is created when missing).
QString folderProblem(const QString& folder) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) return QStringLiteral("%1 is a file, not a folder").arg(folder);
    if (!info.exists() && !QDir().mkpath(folder))
        return QStringLiteral("the folder %1 cannot be created (is its parent writable?)").arg(folder);
    if (!QFileInfo(folder).isWritable()) return QStringLiteral("the folder %1 cannot be written").arg(folder);
    return {};
}

// A copy of the program that keeps its files beside itself.
bool portable(const QString& appDir) {
#ifdef Q_OS_WIN
    return writable(appDir) && !runsInstalled();
#else
    return writable(appDir) && QFileInfo::exists(inFolder(appDir, QStringLiteral("setup.cfg")));
#endif
}

} // namespace

QString resolveProgramFolder(const QString& overrideDir, QString* error, QString* note) {
    QString folder;
    if (!overrideDir.isEmpty()) {
        folder = QFileInfo(overrideDir).absoluteFilePath();
        if (const QString problem = folderProblem(folder); !problem.isEmpty()) {
            if (error) *error = QStringLiteral("--data-dir: ") + problem;
            return {};
        }
    } else {
        const QString appDir = QCoreApplication::applicationDirPath();
        if (!appDir.isEmpty() && portable(appDir)) return QDir::cleanPath(appDir);
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (const QString problem = folderProblem(folder); !problem.isEmpty()) {
            if (error)
                *error = QStringLiteral("no usable data folder: %1; choose another with --data-dir").arg(problem);
            return {};
        }
    }
    folder = QDir::cleanPath(folder);
    const QString codesNote = provideCodesFile(shippedCodesFile(), folder);
    if (note) *note = codesNote;
    return folder;
}

} // namespace zelcor
