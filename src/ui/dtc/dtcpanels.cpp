#include "ui/dtc/dtcpanels.h"

#include "core/session.h"
#include "ui/dtc/freezeframepanel.h"
#include "ui/dtc/troublecodespanel.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"

#include <QBoxLayout>

namespace zelcor {

namespace {

// `content` fills the frame's body in place of the spacing the frame was built with.
void fill(PanelFrame* frame, QWidget* content) {
    QWidget* body = frame->body();
    auto* layout = qobject_cast<QBoxLayout*>(body->layout());
    if (!layout) layout = new QVBoxLayout(body);
    for (int i = layout->count() - 1; i >= 0; --i)
        if (layout->itemAt(i)->spacerItem()) delete layout->takeAt(i);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(body);
    layout->addWidget(content, 1);
}

} // namespace

void installDtcPanels(PanelStack& stack, Session& session) {
    EraseActions erase{[&session] { session.askToErase(); }, [&session] { session.confirmErase(); },
                       [&session] { session.cancelErase(); }};
    fill(stack.frame(Panel::TroubleCodes), new TroubleCodesPanel(session.codes(), erase));
    fill(stack.frame(Panel::FreezeFrame), new FreezeFramePanel(session.codes()));
}

} // namespace zelcor
