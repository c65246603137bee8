#pragma once
// The rectangles on the desktop that floating windows are placed against: the free area of
// a widget's screen, every screen, and where a panel's controls lie.

#include <QList>
#include <QRect>

class QWidget;

namespace zelcor {

// The available area (without task bars) of the screen `widget` is on.
QRect availableScreenOf(const QWidget* widget);
QList<QRect> availableScreens();
// A window: its frame. A panel: the rectangle its child controls fill, on the desktop.
QRect controlsOnDesktop(const QWidget* widget);

} // namespace zelcor
