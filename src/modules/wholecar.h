#pragma once
// The All Modules function: the whole-car scan as the window shows it, the module list, the
// selected module's codes, the two-step clearing and the saved report.

#include "base/host.h"
#include "link/passcontext.h"
#include "modules/modulescan.h"

#include <QObject>

namespace zelcor {

struct ModulesPanel {
    QList<ModuleResult> modules;
    bool scanned = false; // a scan ran through since the panel was last emptied
    QString problem;      // why the last scan or clearing stopped short
    QString progress;     // where the scan is ("looking at 7E0/7E8 (3 of 40)"); empty when idle
    int selected = -1;    // the module whose codes show
    // The clearing asked for, waiting for its confirmation: which modules, in words.
    bool confirmVisible = false;
    QString confirmText;
    bool buttonsEnabled = true; // Save and the two Clear buttons, while nothing runs
};

class WholeCar : public QObject {
    Q_OBJECT
public:
    WholeCar(Host& host, QString programFolder);

    const ModulesPanel& panel() const { return panel_; }
    // A new car: nothing scanned yet.
    void forget();
    void select(int index);

    // The pass of All Modules: every module and its codes, from the functional address.
    void read(PassContext& pass);
    // The first step of a clearing: the selected module, or all of them. Nothing is sent
    // until confirmClear(); cancelClear() leaves every code as it is.
    bool askToClear(bool all);
    void cancelClear();
    // The pass after the confirmation: clears what was asked, then reads those codes again.
    void clear(PassContext& pass);
    // The report (the VIN, every module and its codes) appended to a file of the user's choice.
    void save(const QString& vin);
    // The modules and their codes as plain text, as saved.
    QString reportText(const QString& vin) const;

signals:
    void changed();

private:
    void explain();
    void setProgress(const ModuleScanProgress& progress);

    Host& host_;
    QString programFolder_;
    ModulesPanel panel_;
    bool clearAll_ = false;
    int clearIndex_ = -1;
};

} // namespace zelcor
