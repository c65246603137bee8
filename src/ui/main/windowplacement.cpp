#include "ui/main/windowplacement.h"

#include <QtGlobal>

namespace zelcor {

QPoint initialWindowPosition(const QRect& screen, const QSize& window) {
    const int left = (screen.width() - window.width()) / 2;
    const int top = (screen.height() - window.height()) / 3;
    return screen.topLeft() + QPoint(qMax(0, left), qMax(0, top));
}

} // namespace zelcor
