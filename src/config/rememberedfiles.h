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
    // Where a save dialog starts: the file last chosen of its kind, else the request's own
    // proposal.
    QString saveStart(const SaveDialogRequest& request) const;
    // Where an open dialog starts: the file last opened of its kind; a recording the first
    // time where the data log was last saved (its recording lies beside it); else the
    // request's folder.
    QString openStart(const OpenDialogRequest& request) const;
    // Keeps `path` for `kind`. A zelcor.ini that cannot be written loses only the proposal
    // of the next run, so that is not reported.
    void remember(FileKind kind, const QString& path);

private:
    QString folder_;
    std::map<FileKind, QString> paths_;
};

} // namespace zelcor
