#include "definitions/parameterlibrary.h"

#include "base/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace zelcor {

ParameterLibrary::ParameterLibrary(Host& host, const QString& programFolder)
    : host_(host), folder_(inFolder(programFolder, QStringLiteral("parameters"))) {
    reload();
}

void ParameterLibrary::reload() {
    files_.clear();
    const QStringList names =
        QDir(folder_).entryList({QStringLiteral("*.csv"), QStringLiteral("*.CSV")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        LoadedDefinitions loaded;
        loaded.fileName = name;
        loadDefinitionFile(QDir(folder_).filePath(name), &loaded.definitions, &loaded.error);
        files_.append(loaded);
    }
    for (const QString& path : std::as_const(runFiles_)) {
        LoadedDefinitions loaded;
        loaded.fileName = QDir::toNativeSeparators(path);
        loaded.forThisRun = true;
        loadDefinitionFile(path, &loaded.definitions, &loaded.error);
        files_.append(loaded);
    }
    emit changed();
}

void ParameterLibrary::addRunFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    runFiles_.append(paths);
    reload();
}

bool ParameterLibrary::importFile() {
    OpenDialogRequest request;
    request.kind = FileKind::ParameterDefinitions;
    request.defaultExtension = QStringLiteral("csv");
    request.filter = QStringLiteral("Parameter definitions (*.csv)");
    const QString path = host_.openFileName(request);
    if (path.isEmpty()) return false;
    const QString target = QDir(folder_).filePath(QFileInfo(path).fileName());
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(target).absoluteFilePath()) return false;
    if (QFile::exists(target)) {
        const MessageAnswer answer = host_.message(
            QStringLiteral("%1 is loaded already.\r\nReplace it with the file chosen?")
                .arg(QFileInfo(target).fileName()),
            QStringLiteral("Parameters"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No);
        if (answer != MessageAnswer::Yes) return false;
    }
    // Copied aside first, so that a failed copy leaves the loaded file as it was.
    const QString copy = target + QStringLiteral(".new");
    QFile::remove(copy);
    if (!QDir().mkpath(folder_) || !QFile::copy(path, copy) || (QFile::exists(target) && !QFile::remove(target)) ||
        !QFile::rename(copy, target)) {
        QFile::remove(copy);
        host_.message(QStringLiteral("%1 could not be copied into %2.\r\nIs the folder writable?")
                          .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder_)),
                      QStringLiteral("Parameters"), MessageIcon::Exclamation);
        return false;
    }
    reload();
    return true;
}

bool ParameterLibrary::removeFile(const QString& fileName) {
    const bool inFolder = std::any_of(files_.begin(), files_.end(), [&fileName](const LoadedDefinitions& f) {
        return !f.forThisRun && f.fileName == fileName;
    });
    const QString path = QDir(folder_).filePath(fileName);
    if (!inFolder || !QFile::exists(path)) return false;
    const MessageAnswer answer =
        host_.message(QStringLiteral("Remove %1 and its parameters from the program?").arg(fileName),
                      QStringLiteral("Parameters"), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No);
    if (answer != MessageAnswer::Yes) return false;
    if (!QFile::remove(path)) {
        host_.message(QStringLiteral("%1 could not be removed.").arg(QDir::toNativeSeparators(path)),
                      QStringLiteral("Parameters"), MessageIcon::Exclamation);
        return false;
    }
    reload();
    return true;
}

} // namespace zelcor
