#include "base/codescopy.h"

#include "base/programfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace zelcor {

namespace {

const QString kCodesFile = QStringLiteral("codes.dat");
const QString kStampFile = QStringLiteral("codes.dat.sha256");

QByteArray checksum(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The whole file, or nothing when it cannot be read.
std::optional<QByteArray> contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

// The checksum of the text last copied; empty when none was remembered.
QByteArray stamp(const QString& folder) {
    QFile file(inFolder(folder, kStampFile));
    return file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
}

// Written whole or not at all: a failed write leaves the old file as it was.
bool writeWhole(const QString& path, const QByteArray& bytes, QString* why) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    *why = file.errorString();
    return false;
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

QString provideCodesFile(const QString& shipped, const QString& folder) {
    const QString target = inFolder(folder, kCodesFile);
    const QFileInfo targetInfo(target);
    if (shipped.isEmpty() || QFileInfo(shipped).absoluteFilePath() == targetInfo.absoluteFilePath()) return {};
    // Anything but a file in its place is left for the code lookup to report.
    if (targetInfo.exists() && !targetInfo.isFile()) return {};
    const auto shippedText = contents(shipped);
    if (!shippedText) return {};
    const QByteArray shippedSum = checksum(*shippedText);
    // Without its stamp a copy only counts as edited: kept, never lost.
    const auto remember = [&] {
        QString why;
        writeWhole(inFolder(folder, kStampFile), shippedSum + "  " + kCodesFile.toLatin1() + '\n', &why);
    };
    const auto copy = [&](const QString& failure) -> QString {
        QString why;
        if (!writeWhole(target, *shippedText, &why)) return failure.arg(shown(target), why);
        remember();
        return {};
    };

    if (!targetInfo.exists()) return copy(QStringLiteral("%1 cannot be written: %2"));
    // Streamed: whatever the user put there need not fit in memory.
    QFile userCopy(target);
    QCryptographicHash userHash(QCryptographicHash::Sha256);
    if (!userCopy.open(QIODevice::ReadOnly) || !userHash.addData(&userCopy)) return {};
    const QByteArray userSum = userHash.result().toHex();
    const QByteArray copiedSum = stamp(folder);
    if (userSum == shippedSum) {
        if (copiedSum != shippedSum) remember(); // the same text: known as the program's from now on
        return {};
    }
    if (!copiedSum.isEmpty() && userSum == copiedSum) {
        if (const QString failure = copy(QStringLiteral("%1 cannot be refreshed: %2")); !failure.isEmpty())
            return failure;
        return QStringLiteral("%1 refreshed from the newer %2").arg(shown(target), shown(shipped));
    }
    if (copiedSum == shippedSum) return {}; // the user's own edits, and nothing newer shipped
    return QStringLiteral("using the edited %1; the installed %2 differs (remove yours to use it)")
        .arg(shown(target), shown(shipped));
}

} // namespace zelcor
