#pragma once
// The folder and name last chosen in the file dialogs, one for each kind of file, kept in
// zelcor.ini so the next run offers them again.

#include "base/host.h"

#include <QString>
#include <map>

namespace zelcor {

class RememberedFiles {
public:
    // Reads the names kept in `folder`'s zelcor.ini; with no folder they last for this run.
    explicit RememberedFiles(const QString& folder = QString());

    // The path last chosen for `kind`; empty when none was chosen yet.
    QString last(FileKind kind) const;
    // Keeps `path` for `kind`. A zelcor.ini that cannot be written loses only the proposal
    // of the next run, so that is not reported.
    void remember(FileKind kind, const QString& path);

private:
    QString folder_;
    std::map<FileKind, QString> paths_;
};

} // namespace zelcor
