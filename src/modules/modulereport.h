#pragma once
// The modules of a whole-car scan as a report shows them: the explanations of their codes,
// plain text and JSON.

#include "modules/modulescan.h"

#include <QJsonArray>
#include <QString>

namespace zelcor {

// Each code's explanation from codes.dat in `folder` (see moduleCodeExplanation). Returns the
// error number of a codes.dat that cannot be opened, else 0.
int explainModuleCodes(QList<ModuleResult>& modules, const QString& folder);

// "Modules:" and a block per module; `problem`: why the scan stopped short.
QString modulesText(const QList<ModuleResult>& modules, const QString& problem);
// [{address, request, name, protocol, codes: [{code, failure_type, status: {...}, explanation}], error}]
QJsonArray modulesJson(const QList<ModuleResult>& modules);

} // namespace zelcor
