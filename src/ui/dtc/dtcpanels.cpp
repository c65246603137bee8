#include "ui/dtc/dtcpanels.h"

#include "core/session.h"
#include "ui/dtc/freezeframepanel.h"
#include "ui/dtc/troublecodespanel.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"

namespace zelcor {

void installDtcPanels(PanelStack& stack, Session& session) {
    EraseActions erase{[&session] { session.askToErase(); }, [&session] { session.confirmErase(); },
                       [&session] { session.cancelErase(); }};
    stack.frame(Panel::TroubleCodes)->fill(new TroubleCodesPanel(session.codes(), erase));
    stack.frame(Panel::FreezeFrame)->fill(new FreezeFramePanel(session.codes()));
}

} // namespace zelcor
