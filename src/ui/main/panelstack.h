#pragma once
// The shared rectangle of the main window: every panel, with the one in front that the
// session names.

#include "core/panels.h"

#include <QStackedWidget>
#include <map>

namespace zelcor {

class ConnectionPanel;
class PanelFrame;
class Session;
class SetupPanelWidget;

class PanelStack : public QStackedWidget {
    Q_OBJECT
public:
    explicit PanelStack(Session& session, QWidget* parent = nullptr);

    PanelFrame* frame(zelcor::Panel panel) const { return frames_.at(panel); }
    ConnectionPanel* connectionPanel() const { return connectionPanel_; }
    SetupPanelWidget* setupPanel() const { return setupPanel_; }

private:
    void addFrame(PanelFrame* frame);
    void renderFrame();

    Session& session_;
    std::map<zelcor::Panel, PanelFrame*> frames_; // QFrame has a "Panel" of its own
    ConnectionPanel* connectionPanel_;
    SetupPanelWidget* setupPanel_;
};

} // namespace zelcor
