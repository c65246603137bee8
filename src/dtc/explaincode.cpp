#include "dtc/explaincode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace zelcor {

namespace {

// One line of the file without its line end (CR LF, or LF alone). The file is
// normally plain ASCII; text that is not valid UTF-8 is read as Latin-1.
QString lineText(QByteArray bytes) {
    if (bytes.endsWith('\n')) bytes.chop(1);
    if (bytes.endsWith('\r')) bytes.chop(1);
    // Stateless: a line ending inside a multi-byte sequence is an error, not pending input.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

QString explainCode(const QString& code, const QString& folder, int* errorNumber) {
    if (errorNumber) *errorNumber = 0;
    const QString key = code.leftJustified(6, QLatin1Char(' '));

    QFile file(QDir(folder).filePath(codesFileName));
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorNumber) *errorNumber = file.exists() ? codesFileAccessDenied : codesFileMissing;
        return {};
    }

    QString explanation;
    bool inBlock = false;
    for (;;) {
        const QByteArray bytes = file.readLine();
        if (bytes.isEmpty()) break; // end of file (every line read has at least its line end or one character)
        const QString line = lineText(bytes);
        if (line.left(6) == key) {
            explanation += line + QLatin1String("\r\n");
            inBlock = true;
        } else if (inBlock) {
            break;
        }
    }
    return explanation;
}

bool isTroubleCode(const QString& code) {
    static const QRegularExpression pattern(QStringLiteral("^[PCBU][0-3][0-9A-F]{3}$"));
    return pattern.match(code).hasMatch();
}

bool isManufacturerCode(const QString& code) {
    if (!isTroubleCode(code)) return false;
    const QChar group = code.at(1);
    return code.startsWith(QLatin1Char('P'))
               ? group == QLatin1Char('1') || (group == QLatin1Char('3') && code.at(2) <= QLatin1Char('3'))
               : group == QLatin1Char('1') || group == QLatin1Char('2');
}

QString missingExplanationText(const QString& code) {
    if (!isTroubleCode(code)) return {};
    return QStringLiteral("No explanation for %1 in %2%3")
        .arg(code, codesFileName,
             isManufacturerCode(code) ? QStringLiteral(" (a manufacturer-specific code)") : QString());
}

namespace {

// Lines 3 to 12 of the message: what went wrong and the first two remedies.
QStringList codesFileTrouble(int errorNumber, const QString& folder) {
#ifdef Q_OS_WIN
    Q_UNUSED(errorNumber)
    Q_UNUSED(folder)
    return {
        QStringLiteral("ZELCOR had trouble reading the codes file. "),
        QString(),
        QStringLiteral("This can happen if Windows security settings are not allowing access to the file."),
        QString(),
        QStringLiteral(
            "1)  Try re-installing ZELCOR to the C:\\ZELCOR\\ folder.  Do this by running SETUP from the CD again."),
        QStringLiteral(
            "      When it prompts you for the install location, usually C:\\ProgramFiles\\ZELCOR\\, change it so"),
        QStringLiteral("      it reads just C:\\ZELCOR\\  then continue the installation normally."),
        QString(),
        QStringLiteral(
            "2)  Try running ZELCOR as administrator.  To do this, just find the icon you use to start ZELCOR"),
        QStringLiteral("      and RIGHT-CLICK it, and choose 'Run As Administrator' from the popup menu."),
    };
#else
    const QString path = QDir(folder).filePath(codesFileName);
    const QString why = errorNumber == codesFileMissing ? QStringLiteral("it does not exist")
                        : QFileInfo(path).isDir()       ? QStringLiteral("it is a folder, not a file")
                                                        : QStringLiteral("it cannot be read (permission denied)");
    return {
        QStringLiteral("ZELCOR had trouble reading the codes file %1: %2.").arg(path, why),
        QString(),
        QStringLiteral("ZELCOR copies it into its data folder on the first start; that fails when the folder cannot "
                       "be written."),
        QString(),
        QStringLiteral("1)  Reinstall ZELCOR (sudo apt install --reinstall zelcor), or copy codes.dat from the share "
                       "folder of the"),
        QStringLiteral("      installation (/usr/share/zelcor or /usr/local/share/zelcor) into %1").arg(folder),
        QStringLiteral("      and start ZELCOR again."),
        QString(),
        QStringLiteral("2)  Make sure the folder and the file belong to you and may be read and written:"),
        QStringLiteral("      ls -ld %1 %2   (sudo chown -R $USER %1 gives them back to you)").arg(folder, path),
    };
#endif
}

} // namespace

QString codesFileErrorText(int errorNumber, const QString& folder, const QString& helpUrl, const QString& email) {
    // The number as a number-to-text conversion writes it: a blank where a plus sign would be.
    const QString number =
        errorNumber < 0 ? QString::number(errorNumber) : QLatin1Char(' ') + QString::number(errorNumber);
    QStringList lines = {QStringLiteral("ERROR NUMBER ") + number, QString()};
    lines << codesFileTrouble(errorNumber, folder) << QString()
          << QStringLiteral("3)  Visit our online troubleshooting guide:    ") + helpUrl
          << QStringLiteral("      That will solve 99% of problems.") << QString()
          << QStringLiteral("4)  If all else fails, please email ") + email +
                 QStringLiteral(", and be sure to check your 'junk' email")
          << QStringLiteral("       for the reply.  In your message, please tell us the error number, the "
                            "year/make/model");
#ifdef Q_OS_WIN
    lines << QStringLiteral(
        "       vehicle, your windows version, your full name, and any other details that may help.");
#else
    lines << QStringLiteral("       vehicle, your Linux distribution and version, your full name, and any other "
                            "details that may help.");
#endif
    return lines.join(QLatin1String("\r\n"));
}

} // namespace zelcor
