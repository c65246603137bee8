#include "fuzzrig.h"

#include "base/numbers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace zelcor::fuzz {

HeaderLayout layoutFrom(uint8_t byte) {
    static constexpr HeaderLayout layouts[] = {HeaderLayout::Legacy, HeaderLayout::Can11, HeaderLayout::Can29};
    return layouts[byte % 3];
}

QString controllerFrom(uint8_t byte) {
    return byte == 0 ? QString() : hexByte(byte);
}

QList<QByteArray> repliesOf(const QByteArray& text) {
    return text.split('\0');
}

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

void ScriptedPort::setReplies(QList<QByteArray> replies) {
    replies_ = std::move(replies);
    next_ = 0;
    input_.clear();
}

void ScriptedPort::write(const QByteArray&) {
    if (next_ >= replies_.size()) return;
    input_ += replies_[next_++];
    emit readyRead();
}

QByteArray ScriptedPort::readAll() {
    QByteArray out = input_;
    input_.clear();
    return out;
}

QString scratchFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zelcor-fuzz-XXXXXX"));
    return folder.path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes) {
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
            "the scratch file can be written");
    return path;
}

} // namespace zelcor::fuzz
