#pragma once
// Where windows appear: the main window centred across, a third of the free height down;
// floating windows (gauges, replay windows) beside the window they belong to.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zelcor {

// The window's top-left corner on `screen` for a window of `window` size (frame included).
// A window larger than the screen keeps its title bar on the screen.
QPoint initialWindowPosition(const QRect& screen, const QSize& window);

// Places, in the order of `sizes`, for floating windows that belong to `window` (its frame)
// on `screen` (the available area):
// - all beside the window on one side with room for them: right, else left, else below,
//   else above;
// - else tiled in the free area around the window, right side first;
// - what is left goes over the part of the screen farthest from `controls` (the window's
//   controls, which no place meets while the screen has any other room), least of all
//   over `taken` (windows already up) and over each other.
// Every place lies on the screen as far as its size allows.
QList<QRect> placesBeside(const QRect& screen, const QRect& window, const QRect& controls, const QList<QRect>& taken,
                          const QList<QSize>& sizes);

// A place the user chose for a floating window is kept while its middle lies on one of
// `screens` and it does not meet `controls`.
bool placeStillFits(const QRect& place, const QList<QRect>& screens, const QRect& controls);

} // namespace zelcor
