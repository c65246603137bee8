#include "ui/live/installlivepanels.h"

#include "core/session.h"
#include "ui/live/graphpanel.h"
#include "ui/live/livepanel.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"

#include <QBoxLayout>

namespace zelcor {

namespace {

// The panel's contents go first in its frame's body.
void install(PanelFrame* frame, QWidget* contents) {
    QWidget* body = frame->body();
    contents->setParent(body);
    if (auto* box = qobject_cast<QBoxLayout*>(body->layout())) {
        box->insertWidget(0, contents, 100); // the panel takes the room, not the filler below
    } else {
        auto* layout = new QVBoxLayout(body);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(contents);
    }
}

} // namespace

void installLivePanels(PanelStack& stack, Session& session) {
    install(stack.frame(Panel::LiveData), new LivePanel(session.live(), session.programFolder()));
    install(stack.frame(Panel::Graphs), new GraphPanel(session.live()));
}

} // namespace zelcor
