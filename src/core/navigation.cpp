#include "core/navigation.h"

namespace zelcor {

void Navigation::clearFunctions() {
    functions_.clear();
    functionIndex_ = -1;
    emit functionListChanged();
}

bool Navigation::setFunctionIndex(int index) {
    if (index < 0 || index >= functions_.size() || index == functionIndex_) return false;
    functionIndex_ = index;
    emit functionListChanged();
    return true;
}

void Navigation::setPanel(Panel panel) {
    if (panel_ == panel) return;
    panel_ = panel;
    emit panelChanged();
}

void Navigation::setSetupOpen(bool open) {
    buttons_.disconnectEnabled = !open;
    buttons_.replayEnabled = !open;
    buttons_.statusLabelEnabled = !open;
    emit buttonsChanged();
}

void Navigation::revealDebugLog() {
    if (buttons_.debugLogVisible) return;
    buttons_.debugLogVisible = true;
    emit buttonsChanged();
}

} // namespace zelcor
