#include "config/rememberedfiles.h"

#include "config/programini.h"

#include <QFileInfo>
#include <QSettings>

namespace zelcor {

namespace {

// The zelcor.ini key of each kind; the names are kept in the file, so they never change.
struct KindKey {
    FileKind kind;
    const char* key;
};
constexpr KindKey kKeys[] = {{FileKind::CodeReport, "files/codeReport"},
                             {FileKind::FreezeFrameReport, "files/freezeFrameReport"},
                             {FileKind::VehicleInformation, "files/vehicleInformation"},
                             {FileKind::TestResults, "files/testResults"},
                             {FileKind::ModuleReport, "files/moduleReport"},
                             {FileKind::ParameterDefinitions, "files/parameterDefinitions"},
                             {FileKind::DataLog, "files/dataLog"},
                             {FileKind::Recording, "files/recording"}};

QString key(FileKind kind) {
    for (const KindKey& entry : kKeys)
        if (entry.kind == kind) return QString::fromLatin1(entry.key);
    Q_UNREACHABLE();
}

} // namespace

RememberedFiles::RememberedFiles(const QString& folder) : folder_(folder) {
    if (folder_.isEmpty()) return;
    const QSettings ini(programIniPath(folder_), QSettings::IniFormat);
    for (const KindKey& entry : kKeys) {
        const QString path = ini.value(QString::fromLatin1(entry.key)).toString();
        if (!path.isEmpty()) paths_[entry.kind] = path;
    }
}

QString RememberedFiles::last(FileKind kind) const {
    const auto found = paths_.find(kind);
    return found == paths_.end() ? QString() : found->second;
}

QString RememberedFiles::saveStart(const SaveDialogRequest& request) const {
    const QString path = last(request.kind);
    return path.isEmpty() ? request.proposedPath : path;
}

QString RememberedFiles::openStart(const OpenDialogRequest& request) const {
    const QString path = last(request.kind);
    if (!path.isEmpty()) return path;
    const QString log = request.kind == FileKind::Recording ? last(FileKind::DataLog) : QString();
    return log.isEmpty() ? request.folder : QFileInfo(log).absolutePath();
}

void RememberedFiles::remember(FileKind kind, const QString& path) {
    paths_[kind] = path;
    if (folder_.isEmpty()) return;
    QSettings ini(programIniPath(folder_), QSettings::IniFormat);
    ini.setValue(key(kind), path);
    syncProgramIni(ini, nullptr);
}

} // namespace zelcor
