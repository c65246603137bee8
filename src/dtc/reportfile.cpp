#include "dtc/reportfile.h"

#include "base/programfolder.h"
#include "dtc/reports.h"

#include <QFile>

namespace zelcor {

namespace {

QString tipText(const QString& what) {
    return QStringLiteral("TIP:  After this message you will be asked where to save the %1.\r\n"
                          "          Save to MY DOCUMENTS or the DESKTOP so it is easy to find.")
        .arg(what);
}

} // namespace

bool appendReportFile(Host& host, FileKind kind, const QString& programFolder, const QString& what,
                      const QString& defaultName, const std::function<QString()>& report) {
    host.message(tipText(what), QString(), MessageIcon::Information);
    SaveDialogRequest request(kind);
    request.defaultExtension = QStringLiteral("txt");
    request.filter = QStringLiteral("*.txt");
    request.proposedPath = inFolder(programFolder, defaultName);
    QString path = host.saveFileName(request);
    if (path.isEmpty()) return false;
    path = withExtension(path, QStringLiteral(".txt"));

    // Reports are only ever appended to, the whole report in one write.
    const QByteArray bytes = report().toUtf8();
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size() && file.flush();
    if (!written)
        host.message(QStringLiteral("The report could not be saved to %1:\r\n%2").arg(path, file.errorString()),
                     QStringLiteral("Error"), MessageIcon::Exclamation);
    return true;
}

} // namespace zelcor
