#include "ui/main/statuslamp.h"

#include <QPainter>

namespace zelcor {

StatusLamp::StatusLamp(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Shape1"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QColor StatusLamp::colour(Lamp lamp) {
    switch (lamp) {
    case Lamp::Black:
        return QColor(0, 0, 0);
    case Lamp::Yellow:
        return QColor(255, 255, 0);
    case Lamp::Green:
        return QColor(0, 255, 0);
    case Lamp::Red:
        return QColor(255, 0, 0);
    }
    return QColor(0, 0, 0);
}

void StatusLamp::setLamp(Lamp lamp) {
    if (lamp == lamp_) return;
    lamp_ = lamp;
    // The lamp changes inside long waits of the connection; paint it at once.
    repaint();
}

QSize StatusLamp::sizeHint() const {
    const int side = fontMetrics().height() * 2;
    return {side, side};
}

void StatusLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 2;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(colour(lamp_));
    painter.drawEllipse(circle);
}

} // namespace zelcor
