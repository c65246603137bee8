#pragma once
// Where windows appear: the main window centred across, a third of the free height down;
// a block of floating windows beside what it belongs to.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zelcor {

// The window's top-left corner on `screen` for a window of `window` size (frame included).
// A window larger than the screen keeps its title bar on the screen.
QPoint initialWindowPosition(const QRect& screen, const QSize& window);

// The top-left corner, inside `screen`, of a `block` of windows that belongs to `owner`
// (the panel or window it serves) inside `window`: beside the owner where there is room,
// else where it covers the least of the owner, then of the window; right before left,
// top-aligned before the screen's edges.
QPoint besideOwnerPosition(const QSize& block, const QRect& screen, const QRect& owner, const QRect& window);

// Where the gauges go: the column of `large` ones and the block of `small` ones side by side
// beside the owner while the screen has room for both; else each beside it on its own (on
// a centred window: large on the right, small on the left), whichever covers less of the
// owner and of each other.
struct GaugeBlockOrigins {
    QPoint large;
    QPoint small;
};
GaugeBlockOrigins gaugeBlockOrigins(const QSize& large, const QSize& small, const QRect& screen, const QRect& owner,
                                    const QRect& window);

} // namespace zelcor
