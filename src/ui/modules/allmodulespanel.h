#pragma once
// The All Modules panel: the modules that answered (address, name, codes, warning lamp), the
// selected module's codes with their status and explanation, reading again, saving, and
// clearing one module or all of them behind a confirmation.

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace zelcor {

class PanelStack;
class Session;

class AllModulesPanel : public QWidget {
    Q_OBJECT
public:
    explicit AllModulesPanel(Session& session, QWidget* parent = nullptr);
    void render();

private:
    void renderCodes();

    Session& session_;
    QLabel* status_;
    QTreeWidget* modules_;
    QTreeWidget* codes_;
    QPushButton* read_;
    QPushButton* save_;
    QPushButton* clearOne_;
    QPushButton* clearAll_;
    QWidget* confirm_;
    QLabel* confirmText_;
};

void installModulesPanel(PanelStack& stack, Session& session);

} // namespace zelcor
