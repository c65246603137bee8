#pragma once
// Navigation: the function list, the function the passes serve, the panel in front and
// the main window's buttons that depend on them.

#include "base/listentry.h"
#include "core/function.h"
#include "core/panels.h"

#include <QList>
#include <QObject>

namespace zelcor {

// Buttons of the main window that the setup panel switches off.
struct MainButtons {
    bool disconnectEnabled = true;
    bool replayEnabled = true;      // &REPLAY
    bool statusLabelEnabled = true; // "Connection Status "
    bool debugLogVisible = false;   // "Debug log", revealed by Ctrl+D
};

class Navigation : public QObject {
    Q_OBJECT
public:
    // The function list: an entry per function the car offers, and the selection.
    const QList<ListEntry>& functions() const { return functions_; }
    int functionIndex() const { return functionIndex_; }
    void clearFunctions();
    void addFunction(const ListEntry& entry) { functions_.append(entry); }
    // The list is complete: the window shows it.
    void functionsComplete() { emit functionListChanged(); }
    // Sets the selection; false when it stays as it was (or `index` is outside the list).
    bool setFunctionIndex(int index);

    // The function the next pass serves.
    Function function() const { return function_; }
    void setFunction(Function function) { function_ = function; }

    Panel panel() const { return panel_; }
    void setPanel(Panel panel);

    const MainButtons& buttons() const { return buttons_; }
    void setSetupOpen(bool open);
    void revealDebugLog();

signals:
    void panelChanged();
    void functionListChanged();
    void buttonsChanged();

private:
    QList<ListEntry> functions_;
    int functionIndex_ = -1;
    Function function_ = Function::Detection;
    Panel panel_ = Panel::Connection;
    MainButtons buttons_;
};

} // namespace zelcor
