#pragma once
// The panels of the main window, all in one shared rectangle; exactly one shows.

#include <QString>

namespace zelcor {

enum class Panel { Frame1, Frame2, D0101, D0103, D0104, D0113, D012, D013, D03, D0200, D240, D250 };

// The frame's name as the window knows it ("D0101").
QString panelName(Panel panel);
// The frame's design caption (" General Info "); D0104's caption changes per parameter.
QString panelCaption(Panel panel);

} // namespace zelcor
