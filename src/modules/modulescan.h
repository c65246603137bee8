#pragma once
// The whole-car scan: which modules answer on their own addresses, their names, their trouble
// codes, and clearing them, over the adapter's header and receive filter. It starts from the
// adapter's own waits and the functional address (fast polling switched back first), and leaves
// them so when it is done.

#include "link/exchange.h"
#include "modules/moduleaddresses.h"
#include "modules/modulereplies.h"

#include <QList>
#include <QString>
#include <functional>

namespace zelcor {

enum class ModuleProtocol { Uds, Kwp };
// "uds", "kwp": the names files use.
QString protocolName(ModuleProtocol protocol);

struct ModuleResult {
    ModuleAddress address;
    QString name; // the module's own system name; empty when it gave none
    ModuleProtocol protocol = ModuleProtocol::Uds;
    QList<ModuleCode> codes;
    QString error;      // why the codes could not be read ("codes could not be read: ..."); then no codes
    QString clearError; // why the last clearing failed; empty when it worked or was not asked

    bool codesRead() const { return error.isEmpty(); }
    bool warningLamp() const;
    // The module as people read it: its name, else its addresses ("760/768").
    QString shownName() const { return name.isEmpty() ? address.label() : name; }
};

struct ModuleScanProgress {
    int done = 0;  // steps done
    int total = 0; // steps in all (candidates, then the modules found)
    QString step;  // "looking at 7E0/7E8", "reading the codes of ABS"
};

class ModuleScan {
public:
    explicit ModuleScan(Exchange& exchange) : exchange_(exchange) {}

    void setProgressHandler(std::function<void(const ModuleScanProgress&)> handler) {
        onProgress_ = std::move(handler);
    }

    // Asks every candidate address, then reads the name and codes of each module that
    // answered. Empty with problem() set when no scan was possible (not on CAN, the adapter
    // refused its header, the link was lost or a stop requested).
    QList<ModuleResult> scan();
    // Clears the codes of `module` and reads them again. False, with the module's error
    // saying why, when the module refused or did not answer.
    bool clear(ModuleResult& module);
    // clear() for each of `modules`; true when every one was cleared.
    bool clearAll(QList<ModuleResult>& modules);

    // Why the last scan or clear stopped short; empty when it ran through.
    const QString& problem() const { return problem_; }

private:
    struct Asked {
        QByteArray message; // the module's final answer
        QString problem;    // no answer, a damaged one, or one that never came after "pending"
        bool heard = false; // something came from the module's reply identifier
    };
    bool address(const ModuleAddress& address);
    void backToFunctional();
    Asked ask(const ModuleAddress& address, const QString& request);
    void readCodes(ModuleResult& module);
    ModuleCodeRead readCodesAs(const ModuleAddress& address, ModuleProtocol protocol, bool* heard);
    bool mayGoOn();
    void progress(int done, int total, const QString& step);

    Exchange& exchange_;
    std::function<void(const ModuleScanProgress&)> onProgress_;
    QString problem_;
    bool flowControlMoved_ = false;
    bool waitShortened_ = false;
};

} // namespace zelcor
