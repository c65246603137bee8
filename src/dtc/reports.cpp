#include "dtc/reports.h"

#include "dtc/codereply.h"

namespace zelcor {

namespace {

const QLatin1String crlf("\r\n");

// Items 0 to count - 3 of a list that was read: all but the empty item and the end marker.
void appendCodeLines(QString& out, const QStringList& items, int explanationIndent,
                     const std::function<QString(const QString&)>& explain, const QString& problem) {
    const QString itemIndent(15, QLatin1Char(' '));
    if (!problem.isEmpty()) {
        out += itemIndent + unreadableCodesText + problem + crlf;
        return;
    }
    for (qsizetype i = 0; i <= items.size() - 3; ++i) {
        const QString& item = items[i];
        if (!item.trimmed().isEmpty()) out += itemIndent + item + crlf;
        const QString explanation = explain ? explain(item.left(6)) : QString();
        if (!explanation.isEmpty()) out += QString(explanationIndent, QLatin1Char(' ')) + explanation + crlf;
    }
}

} // namespace

QString reportStamp(const QString& when) {
    const QString middle = QStringLiteral("******* ") + when + QStringLiteral(" *******");
    const QString stars(middle.size(), QLatin1Char('*'));
    return crlf + stars + crlf + middle + crlf + stars + crlf;
}

QString codeReport(const QString& when, const QStringList& stored, const QStringList& pending,
                   const std::function<QString(const QString& first6)>& explain, const QString& storedProblem,
                   const QString& pendingProblem, const QStringList& permanent, const QString& permanentProblem) {
    QString out = reportStamp(when);
    out += QStringLiteral("STORED CODES") + crlf + crlf;
    appendCodeLines(out, stored, 15, explain, storedProblem);
    out += crlf + QStringLiteral("PENDING CODES") + crlf + crlf;
    appendCodeLines(out, pending, 3, explain, pendingProblem);
    if (!permanent.isEmpty() || !permanentProblem.isEmpty()) {
        out += crlf + QStringLiteral("PERMANENT CODES") + crlf + crlf;
        appendCodeLines(out, permanent, 3, explain, permanentProblem);
    }
    return out;
}

QString freezeFrameReport(const QString& when, const QList<FreezeFrameRow>& rows, const QString& explanation) {
    const auto rowLine = [&](qsizetype r) { return rows[r].label + QStringLiteral(": ") + rows[r].value + crlf; };
    QString out = reportStamp(when);
    out += rows.isEmpty() ? QStringLiteral(": ") + crlf : rowLine(0);
    out += QStringLiteral("DTC Explanation:") + crlf;
    out += explanation + crlf;
    out += QStringLiteral("Sensors:") + crlf;
    for (qsizetype r = 1; r < qMin<qsizetype>(rows.size(), FreezeFrame::maxRows); ++r)
        if (rows[r].visible) out += rowLine(r);
    out += crlf + crlf;
    return out;
}

QString withExtension(const QString& path, const QString& ext) {
    const QString dotted = ext.startsWith(QLatin1Char('.')) ? ext : QLatin1Char('.') + ext;
    return path.endsWith(dotted, Qt::CaseInsensitive) ? path : path + dotted;
}

} // namespace zelcor
