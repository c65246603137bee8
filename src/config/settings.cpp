#include "config/settings.h"

#include "base/format.h"
#include "base/numbers.h"
#include "base/programfolder.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

namespace zelcor {

namespace {

const char* const kFileName = "setup.cfg";
// The default file as it is written when the settings cannot be read.
const QByteArray kDefaultFile = QByteArrayLiteral("1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n");

QByteArray flag(bool b) { return b ? QByteArrayLiteral("1") : QByteArrayLiteral("0"); }

bool writeFile(const QString& path, const QByteArray& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QByteArray configText(const Settings& s) {
    QList<QByteArray> lines;
    lines << QByteArray::number(s.comport) << formatNumber(s.srtime, QStringLiteral("0.00")).toLatin1()
          << flag(s.usemph) << flag(s.uselbmin) << flag(s.noportsearch) << flag(s.usedegf) << flag(s.usepsi)
          << formatNumber(s.vehicleweight, QStringLiteral("###0")).toLatin1()
          << formatNumber(s.initmode, QStringLiteral("0")).toLatin1() << flag(s.recording);
    return lines.join("\r\n") + "\r\n";
}

bool parseConfig(const QByteArray& text, Settings& out) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() < 10)
        return false;
    auto number = [&](int line) { return val(QString::fromLatin1(lines[line - 1]).remove(QLatin1Char('\r'))); };
    const auto comport = toInt16(number(1));
    const auto initmode = toInt16(number(9));
    if (!comport || !initmode)
        return false;
    Settings s;
    s.comport = *comport;
    s.srtime = number(2);
    s.usemph = number(3) > 0;
    s.uselbmin = number(4) > 0;
    s.noportsearch = number(5) > 0;
    s.usedegf = number(6) > 0;
    s.usepsi = number(7) > 0;
    s.vehicleweight = qBound(0.0, number(8), 9999.0);
    s.initmode = *initmode;
    s.recording = number(10) > 0;
    out = s;
    return true;
}

void LOADCONFIG(Settings& settings, const QString& folder) {
    const QString path = inFolder(folder, QString::fromLatin1(kFileName));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && parseConfig(file.readAll(), settings))
        return;
    file.close();
    writeFile(path, kDefaultFile, nullptr);
    settings = Settings();
    parseConfig(kDefaultFile, settings);
}

bool SAVECONFIG(const Settings& settings, const QString& folder, QString* error) {
    return writeFile(inFolder(folder, QString::fromLatin1(kFileName)), configText(settings), error);
}

} // namespace zelcor
