#pragma once
// Where the main window first appears: centred across, a third of the free height down.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zelcor {

// The window's top-left corner on `screen` for a window of `window` size (frame included).
// A window larger than the screen keeps its title bar on the screen.
QPoint initialWindowPosition(const QRect& screen, const QSize& window);

} // namespace zelcor
