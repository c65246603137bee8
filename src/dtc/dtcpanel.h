#pragma once
// What the trouble code panel shows besides its two lists: the state of its buttons
// and the selection in the lists.

namespace zelcor {

struct DtcPanel {
    bool eraseEnabled = true;   // Command4, "ERASE ALL CODES"
    bool saveEnabled = true;    // Command11, "SAVE CODES TO FILE"
    bool confirmVisible = false; // Command5 "ERASE CODES NOW" and Command6 "CANCEL"
    int storedIndex = -1;       // List5's selection
    int pendingIndex = -1;      // List6's selection
};

} // namespace zelcor
