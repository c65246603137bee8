#include "modules/wholecar.h"

#include "base/datetime.h"
#include "dtc/reportfile.h"
#include "modules/modulereport.h"

#include <QDateTime>

namespace zelcor {

WholeCar::WholeCar(Host& host, QString programFolder) : host_(host), programFolder_(std::move(programFolder)) {}

void WholeCar::forget() {
    panel_ = ModulesPanel{};
    emit changed();
}

void WholeCar::select(int index) {
    if (index < -1 || index >= panel_.modules.size() || index == panel_.selected) return;
    panel_.selected = index;
    emit changed();
}

void WholeCar::setProgress(const ModuleScanProgress& progress) {
    panel_.progress = progress.total > 0
                          ? QStringLiteral("%1 (%2 of %3)").arg(progress.step).arg(progress.done).arg(progress.total)
                          : progress.step;
    emit changed();
}

void WholeCar::explain() {
    explainModuleCodes(panel_.modules, programFolder_);
}

void WholeCar::read(PassContext& pass) {
    if (pass.stopRequested()) return;
    panel_ = ModulesPanel{};
    panel_.buttonsEnabled = false;
    panel_.progress = QStringLiteral("Looking for the car's modules...");
    emit changed();
    ModuleScan scan(pass.exchange());
    scan.setProgressHandler([this](const ModuleScanProgress& progress) { setProgress(progress); });
    panel_.modules = scan.scan();
    explain();
    panel_.problem = scan.problem();
    panel_.scanned = scan.problem().isEmpty();
    panel_.selected = panel_.modules.isEmpty() ? -1 : 0;
    panel_.progress.clear();
    panel_.buttonsEnabled = true;
    emit changed();
}

bool WholeCar::askToClear(bool all) {
    if (panel_.modules.isEmpty() || (!all && panel_.selected < 0)) return false;
    clearAll_ = all;
    clearIndex_ = panel_.selected;
    QStringList names;
    for (qsizetype i = 0; i < panel_.modules.size(); ++i)
        if (all || i == clearIndex_) names << panel_.modules.at(i).shownName();
    panel_.confirmText = QStringLiteral("Clear the trouble codes of %1?\nThe modules forget their codes and what "
                                        "they stored with them; a fault that is still there sets its code again.")
                             .arg(names.join(QStringLiteral(", ")));
    panel_.confirmVisible = true;
    panel_.buttonsEnabled = false;
    emit changed();
    return true;
}

void WholeCar::cancelClear() {
    panel_.confirmVisible = false;
    panel_.confirmText.clear();
    panel_.buttonsEnabled = true;
    emit changed();
}

void WholeCar::clear(PassContext& pass) {
    const bool asked = panel_.confirmVisible;
    cancelClear();
    if (!asked || pass.stopRequested()) return;
    panel_.buttonsEnabled = false;
    panel_.progress = QStringLiteral("Clearing the codes...");
    emit changed();
    ModuleScan scan(pass.exchange());
    if (clearAll_)
        scan.clearAll(panel_.modules);
    else if (clearIndex_ >= 0 && clearIndex_ < panel_.modules.size())
        scan.clear(panel_.modules[clearIndex_]);
    explain();
    panel_.problem = scan.problem();
    panel_.progress.clear();
    panel_.buttonsEnabled = true;
    emit changed();
}

QString WholeCar::reportText(const QString& vin) const {
    QString text = dateTimeText(QDateTime::currentDateTime()) + QStringLiteral("\r\n");
    text += QStringLiteral("VIN: %1\r\n").arg(vin.isEmpty() ? QStringLiteral("not read") : vin);
    return text + modulesText(panel_.modules, panel_.problem).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

void WholeCar::save(const QString& vin) {
    appendReportFile(host_, FileKind::ModuleReport, programFolder_, QStringLiteral("module report"),
                     QStringLiteral("modules.txt"), [this, vin] { return reportText(vin); });
}

} // namespace zelcor
