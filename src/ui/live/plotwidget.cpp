#include "ui/live/plotwidget.h"

#include "live/livedata.h"

#include <QPainter>

namespace zelcor {

PlotWidget::PlotWidget(LiveData& live, QWidget* parent) : QWidget(parent), live_(live) {
    setObjectName(QStringLiteral("p1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 100);
}

QColor PlotWidget::traceColour(int trace) {
    return trace == 0 ? QColor(255, 0, 0) : QColor(0, 255, 0);
}

void PlotWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128));

    // Dotted lines at every tenth of the height, dots 3 plot units apart.
    const double dot = std::max(1.0, 3 * width() / kUnitsWide);
    QPen grid(QColor(0, 0, 255), 1);
    grid.setDashPattern({1, dot - 1 > 0 ? dot - 1 : 1});
    p.setPen(grid);
    for (int k = 1; k < 10; ++k) {
        const double y = height() * k / 10.0;
        p.drawLine(QPointF(0, y), QPointF(width(), y));
    }

    // Crisp one-pixel traces in their pure colours.
    for (int t = 0; t < 2; ++t)
        drawTrace(p, t);
}

void PlotWidget::drawTrace(QPainter& p, int t) {
    const double h = height();
    const double xscale = width() / kUnitsWide;
    const std::vector<QPointF> samples = live_.graph().tracePoints(t, h);
    QPolygonF line;
    line.reserve(int(samples.size()));
    for (const QPointF& s : samples) {
        const QPointF at(s.x() * xscale, h - s.y());
        line << at;
        if (at.x() > width()) break; // one point beyond the edge carries the line out of sight
    }
    if (line.isEmpty()) return;
    p.setPen(QPen(traceColour(t), 1));
    if (line.size() > 1)
        p.drawPolyline(line);
    else
        p.drawPoint(line.first());
    if (live_.points()) {
        p.setRenderHint(QPainter::Antialiasing);
        const double r = 2 * xscale;
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(Qt::NoBrush);
        for (const QPointF& at : line)
            p.drawEllipse(at, r, r);
    }
}

} // namespace zelcor
