#include "definitions/checkreport.h"

#include "definitions/definitionfile.h"

namespace zelcor {

namespace {

QString counted(int count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString totals(int accepted, int rejected) {
    return counted(accepted, "parameter", "parameters") + QStringLiteral(" accepted, ") +
           counted(rejected, "line", "lines") + QStringLiteral(" rejected");
}

QString described(const ParameterDefinition& d) {
    const QString address = d.request.header.isEmpty() ? QStringLiteral("functional") : d.request.header;
    return QStringLiteral("%1 (%2 on %3)").arg(d.name, d.request.text(), address);
}

} // namespace

CheckReport checkDefinitionFiles(const QStringList& paths) {
    CheckReport report;
    int accepted = 0, rejected = 0, unread = 0;
    for (const QString& path : paths) {
        report.text += path + QLatin1Char('\n');
        DefinitionFile file;
        QString error;
        if (!loadDefinitionFile(path, &file, &error)) {
            report.text += QStringLiteral("  cannot be read: %1\n").arg(error);
            ++unread;
            continue;
        }
        for (const LineVerdict& v : file.verdicts) {
            report.text += QStringLiteral("  ") + v.text();
            if (v.accepted()) report.text += QStringLiteral(": ") + described(file.parameters[v.parameter]);
            report.text += QLatin1Char('\n');
        }
        report.text +=
            QStringLiteral("  ") + totals(int(file.parameters.size()), file.rejectedCount()) + QLatin1Char('\n');
        accepted += int(file.parameters.size());
        rejected += file.rejectedCount();
    }
    QString total = counted(int(paths.size()), "file", "files") + QStringLiteral(": ") + totals(accepted, rejected);
    if (unread > 0) total += QStringLiteral(", ") + counted(unread, "file", "files") + QStringLiteral(" not read");
    report.text += total + QLatin1Char('\n');
    report.allAccepted = rejected == 0 && unread == 0;
    return report;
}

} // namespace zelcor
