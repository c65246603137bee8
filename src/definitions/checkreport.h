#pragma once
// The verdicts on definition files as `zelcor --check-parameters` prints them.

#include <QString>
#include <QStringList>

namespace zelcor {

struct CheckReport {
    QString text;             // each file's lines with their verdicts, then the totals
    bool allAccepted = false; // every file read and every line accepted
};

CheckReport checkDefinitionFiles(const QStringList& paths);

} // namespace zelcor
