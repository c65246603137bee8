#include "ui/live/activitylamp.h"

#include <QPainter>

namespace zelcor {

ActivityLamp::ActivityLamp(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void ActivityLamp::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    // Lit at once, while the request is still on its way; darkened at the next paint.
    if (lit)
        repaint();
    else
        update();
}

void ActivityLamp::paintEvent(QPaintEvent*) {
    if (!lit_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour());
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace zelcor
