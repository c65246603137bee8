#pragma once
// The main window: the function items on top, every panel in one shared rectangle,
// SET&UP and E&XIT below; ends the program when closed.

#include "core/functiontable.h"
#include "core/session.h"

#include <QMainWindow>
#include <array>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace zelcor {

class PanelStack;
class ReplayLauncher;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kFunctionItems = kMenuItems;

    explicit MainWindow(Session& session, QWidget* parent = nullptr);

    PanelStack* panels() const { return panels_; }
    ReplayLauncher* replays() const { return replays_; }
    // Captions of the function items m_0 .. m_7.
    static QString functionItemCaption(int index);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // The connection state on the right, and why a control could not act on the left.
    void buildStatusLine();
    QWidget* buildCentre();
    void renderButtons();
    void renderFunctionsMenu();
    void renderStaleValues();
    // An entry of the Functions menu: as a click on the function list's entry.
    void functionEntry(int index);
    void functionItem(int index);
    void about();
    void revealDebugLog();
    void exitProgram();
    // Navigation leaves no button with the focus.
    void dropFocus();

    Session& session_;
    PanelStack* panels_ = nullptr;
    ReplayLauncher* replays_ = nullptr;
    QPushButton* setupButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QWidget* focusSink_ = nullptr;
    QLabel* staleBanner_ = nullptr;
    std::array<QAction*, kFunctionItems> functionItems_{};
    QMenu* functionsMenu_ = nullptr;
    QList<ListEntry> shownFunctions_;
    QAction* connectEntry_ = nullptr;
    QAction* setupEntry_ = nullptr;
    QAction* exitEntry_ = nullptr;
    bool placed_ = false;
    bool activated_ = false;
};

} // namespace zelcor
