#pragma once
// Texts of the saved trouble code and freeze frame reports; every line ends with CR LF.

#include "dtc/freezeframe.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zelcor {

// The four stamp lines that open every report: an empty line, a line of asterisks,
// "******* " + `when` + " *******", and the asterisk line again, both asterisk lines as
// long as the middle one. `when` is the date and time in the general form.
QString reportStamp(const QString& when);

// The trouble code report: the stamp, "STORED CODES" and the stored items, then
// "PENDING CODES" and the pending items. The lists are as read, closed by an empty item
// and the end marker, which are left out. Each code item is written indented by 15
// blanks and followed by its explanation (indented by 15 blanks for stored codes, 3 for
// pending ones), which `explain` gets from the item's first six characters. Blank items
// are not written, but their explanation is looked up and written like any other. A list
// that could not be read is written as the line that says why (`storedProblem`,
// `pendingProblem`), so the report never reads as "no codes". "PERMANENT CODES" and the
// permanent items (explanations indented by 3) follow when that list was read.
QString codeReport(const QString& when, const QStringList& stored, const QStringList& pending,
                   const std::function<QString(const QString& first6)>& explain,
                   const QString& storedProblem = QString(), const QString& pendingProblem = QString(),
                   const QStringList& permanent = QStringList(), const QString& permanentProblem = QString());

// The freeze frame report: the stamp, row 0 (the causing code), the explanation, then
// "Sensors:" and the visible rows 1 to 21, and a closing empty line.
QString freezeFrameReport(const QString& when, const QList<FreezeFrameRow>& rows, const QString& explanation);

// `path` with `ext` (".txt", ".csv") appended unless it already ends in it, case ignored.
QString withExtension(const QString& path, const QString& ext);

} // namespace zelcor
