#pragma once
// The manufacturer parameter definitions the program knows: every file in the data
// folder's parameters/ (CSV), read with a verdict per line, and files imported into it or
// removed from it.

#include "base/host.h"
#include "definitions/definitionfile.h"

#include <QObject>

namespace zelcor {

struct LoadedDefinitions {
    QString fileName; // "ev-battery.csv"
    DefinitionFile definitions;
    QString error;           // why the file could not be read; then no definitions
    bool forThisRun = false; // named on the command line: read where it lies, not in the folder
};

class ParameterLibrary : public QObject {
    Q_OBJECT
public:
    ParameterLibrary(Host& host, const QString& programFolder);

    // parameters/ in the data folder.
    const QString& folder() const { return folder_; }
    const QList<LoadedDefinitions>& files() const { return files_; }
    // Reads every file of the folder again, in name order, then the files for this run.
    void reload();
    // Files read besides the folder's for as long as the program runs (fileName: the path).
    void addRunFiles(const QStringList& paths);
    // Asks for a definition file and copies it into the folder (a file of the same name is
    // replaced after a question); false when nothing was imported.
    bool importFile();
    // Removes a file from the folder after a question; false when it stays (files for this
    // run are never removed).
    bool removeFile(const QString& fileName);

signals:
    void changed();

private:
    Host& host_;
    QString folder_;
    QList<LoadedDefinitions> files_;
    QStringList runFiles_;
};

} // namespace zelcor
