#pragma once
// The program's icon (a gauge), shown on every window and in the application menu.

#include <QIcon>

namespace zelcor {

// The icon from the program's resources; drawn by Qt's SVG icon engine.
QIcon programIcon();

} // namespace zelcor
