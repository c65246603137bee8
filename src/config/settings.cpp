#include "config/settings.h"

#include "base/format.h"
#include "base/numbers.h"
#include "base/programfolder.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QSaveFile>

namespace zelcor {

namespace {

const char* const kFileName = "setup.cfg";
// The default file as it is written when the settings cannot be read.
const QByteArray kDefaultFile = QByteArrayLiteral("1\r\n0\r\n1\r\n0\r\n0\r\n1\r\n1\r\n3200\r\n0\r\n0\r\n");

QByteArray flag(bool b) {
    return b ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

bool writeFile(const QString& path, const QByteArray& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error) *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

} // namespace

QByteArray settingsFileText(const Settings& s) {
    QList<QByteArray> lines;
    lines << QByteArray::number(s.startPort) << formatNumber(s.promptDelay, QStringLiteral("0.00")).toLatin1()
          << flag(s.milesPerHour) << flag(s.poundsPerMinute) << flag(s.noPortSearch) << flag(s.fahrenheit)
          << flag(s.psi) << formatNumber(s.vehicleWeight, QStringLiteral("###0")).toLatin1()
          << formatNumber(s.initMode, QStringLiteral("0")).toLatin1() << flag(s.debugTrace);
    return lines.join("\r\n") + "\r\n";
}

bool parseSettingsFile(const QByteArray& text, Settings& out, QString* note) {
    // Lines end in CR LF, LF or CR alone.
    QByteArray unified = text;
    unified.replace("\r\n", "\n").replace('\r', '\n');
    QList<QByteArray> lines = unified.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (lines.size() < 10) return false;
    auto number = [&](int line) { return leadingNumber(QString::fromLatin1(lines[line - 1])); };
    const auto startPort = toInt16(number(1));
    const auto initMode = toInt16(number(9));
    if (!startPort || !initMode) return false;
    Settings s;
    s.startPort = *startPort;
    s.promptDelay = qBound(0.0, number(2), kMaxPromptDelay);
    if (note && s.promptDelay != number(2))
        *note = QStringLiteral("setup.cfg holds an SR Time of %1 seconds; %2 is used (it must be between 0 and %3). "
                               "Change it in SET&UP.")
                    .arg(QString::fromLatin1(lines[1]).trimmed(), generalNumber(s.promptDelay),
                         generalNumber(kMaxPromptDelay));
    s.milesPerHour = number(3) > 0;
    s.poundsPerMinute = number(4) > 0;
    s.noPortSearch = number(5) > 0;
    s.fahrenheit = number(6) > 0;
    s.psi = number(7) > 0;
    s.vehicleWeight = qBound(0.0, number(8), 9999.0);
    s.initMode = *initMode;
    s.debugTrace = number(10) > 0;
    out = s;
    return true;
}

void loadSettings(Settings& settings, const QString& folder, QString* note) {
    const QString path = inFolder(folder, QString::fromLatin1(kFileName));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && parseSettingsFile(file.readAll(), settings, note)) return;
    file.close();
    writeFile(path, kDefaultFile, nullptr);
    settings = Settings();
    parseSettingsFile(kDefaultFile, settings);
}

bool saveSettings(const Settings& settings, const QString& folder, QString* error) {
    return writeFile(inFolder(folder, QString::fromLatin1(kFileName)), settingsFileText(settings), error);
}

} // namespace zelcor
