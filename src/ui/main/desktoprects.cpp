#include "ui/main/desktoprects.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zelcor {

QRect availableScreenOf(const QWidget* widget) {
    const QScreen* screen = widget->window()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : widget->window()->frameGeometry();
}

QList<QRect> availableScreens() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

QRect controlsOnDesktop(const QWidget* widget) {
    if (widget->isWindow()) return widget->frameGeometry();
    const QRect filled = widget->childrenRect();
    const QRect local = filled.isEmpty() ? widget->rect() : filled;
    return local.translated(widget->mapToGlobal(QPoint(0, 0)));
}

} // namespace zelcor
