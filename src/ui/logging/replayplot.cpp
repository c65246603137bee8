#include "ui/logging/replayplot.h"

#include "logging/recordingplayer.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace zelcor {

ReplayPlot::ReplayPlot(const RecordingPlayer& player, QWidget* parent) : QWidget(parent), player_(player) {
    setObjectName(QStringLiteral("replayPlot"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 80);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QColor ReplayPlot::slotColour(int slot) {
    // Bright colours that stand out on the dark blue box and from each other.
    static const std::array<QColor, 10> colours = {QColor(255, 0, 0),    QColor(0, 255, 0),     QColor(255, 255, 0),
                                                   QColor(0, 255, 255),  QColor(255, 0, 255),   QColor(255, 255, 255),
                                                   QColor(255, 160, 0),  QColor(255, 160, 200), QColor(160, 255, 160),
                                                   QColor(150, 170, 255)};
    return colours[size_t(slot) % colours.size()];
}

void ReplayPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128));

    // Dotted lines at every tenth of the height, as on the live graph.
    QPen grid(QColor(0, 0, 255), 1);
    grid.setDashPattern({1, 2});
    p.setPen(grid);
    for (int k = 1; k < 10; ++k) {
        const double y = height() * k / 10.0;
        p.drawLine(QPointF(0, y), QPointF(width(), y));
    }

    for (int slot = 0; slot < kReplaySlots; ++slot)
        drawSlot(p, slot);
}

void ReplayPlot::drawSlot(QPainter& p, int slot) {
    const ReplaySlot& s = player_.replaySlots()[size_t(slot)];
    if (!s.plot || s.history.empty()) return;
    // The whole history spans the width; 0 % at the bottom edge, 100 % at the top.
    const double sampleSpacing = double(width() - 1) / (kReplayHistory - 1);
    const double top = 1, span = height() - 2;
    QPolygonF line;
    line.reserve(int(s.history.size()));
    double x = 0;
    for (const float percent : s.history) {
        const double clamped = std::clamp(double(percent), 0.0, 100.0);
        line << QPointF(x, top + span * (1 - clamped / 100));
        x += sampleSpacing;
    }
    p.setPen(QPen(slotColour(slot), 1));
    if (line.size() > 1)
        p.drawPolyline(line);
    else
        p.drawPoint(line.first());
}

} // namespace zelcor
