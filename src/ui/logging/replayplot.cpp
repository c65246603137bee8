#include "ui/logging/replayplot.h"

#include "base/numbers.h"
#include "logging/recordingplayer.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace zelcor {

namespace {

// Room for the value labels on the left and the time labels below.
constexpr int kLeftMargin = 48;
constexpr int kBottomMargin = 16;
// The shortest time the width stands for, so that the first samples do not stretch across it.
constexpr double kShortestSpan = 5.0;

QString secondsText(double seconds, double step) {
    return QString::number(seconds, 'f', step < 1 ? 1 : 0) + QStringLiteral(" s");
}

} // namespace

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

QRectF ReplayPlot::plotArea() const {
    return QRectF(kLeftMargin, 1, width() - kLeftMargin - 1, height() - kBottomMargin - 2);
}

std::pair<double, double> ReplayPlot::timeRange() const {
    double first = 0, last = 0;
    bool any = false;
    for (const ReplaySlot& s : player_.replaySlots()) {
        if (!s.plot || s.times.empty()) continue;
        first = any ? std::min(first, s.times.back()) : s.times.back();
        last = any ? std::max(last, s.times.front()) : s.times.front();
        any = true;
    }
    return {first, std::max(last, first + kShortestSpan)};
}

void ReplayPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QRectF area = plotArea();
    p.fillRect(area, QColor(0, 0, 128));

    // Dotted lines at every tenth of the height, as on the live graph.
    QPen grid(QColor(0, 0, 255), 1);
    grid.setDashPattern({1, 2});
    p.setPen(grid);
    for (int k = 1; k < 10; ++k) {
        const double y = area.top() + area.height() * k / 10.0;
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }

    const auto [first, last] = timeRange();
    drawTimeAxis(p, first, last);
    drawValueAxis(p);
    for (int slot = 0; slot < kReplaySlots; ++slot)
        drawSlot(p, slot, first, last);
}

void ReplayPlot::drawTimeAxis(QPainter& p, double first, double last) {
    const QRectF area = plotArea();
    const double step = roundStep(last - first);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics = p.fontMetrics();
    for (double t = std::ceil(first / step) * step; t <= last + 1e-9; t += step) {
        const double x = area.left() + (t - first) / (last - first) * area.width();
        const QString text = secondsText(t, step);
        const int w = metrics.horizontalAdvance(text);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        p.drawText(QPointF(std::clamp(x - w / 2.0, area.left() - kLeftMargin + 2.0, area.right() - w), height() - 3),
                   text);
    }
}

// One plotted slot: its own units at the ends of the axis; several: percent of each gauge.
void ReplayPlot::drawValueAxis(QPainter& p) {
    const QRectF area = plotArea();
    const ReplaySlot* only = nullptr;
    int plotted = 0;
    for (const ReplaySlot& s : player_.replaySlots())
        if (s.plot) {
            only = &s;
            ++plotted;
        }
    QString top = QStringLiteral("100 %"), middle = QStringLiteral("50 %"), bottom = QStringLiteral("0 %");
    if (plotted == 1) {
        const GaugeScale& scale = only->scale;
        const auto number = [&scale](double v) { return QString::number(v, 'f', std::max(scale.decimals, 0)); };
        top = number(scale.maximum);
        middle = number((scale.minimum + scale.maximum) / 2);
        bottom = number(scale.minimum);
    }
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics = p.fontMetrics();
    const auto label = [&](const QString& text, double y) {
        p.drawText(QPointF(area.left() - 4 - metrics.horizontalAdvance(text), y), text);
    };
    label(top, area.top() + metrics.ascent());
    label(middle, area.center().y() + metrics.ascent() / 2.0);
    label(bottom, area.bottom());
}

void ReplayPlot::drawSlot(QPainter& p, int slot, double first, double last) {
    const ReplaySlot& s = player_.replaySlots()[size_t(slot)];
    if (!s.plot || s.history.empty()) return;
    // 0 % at the bottom edge, 100 % at the top; the time axis runs left to right.
    const QRectF area = plotArea();
    QPolygonF line;
    line.reserve(int(s.history.size()));
    for (size_t i = 0; i < s.history.size() && i < s.times.size(); ++i) {
        const double clamped = std::clamp(double(s.history[i]), 0.0, 100.0);
        const double x = area.left() + (s.times[i] - first) / (last - first) * area.width();
        line << QPointF(x, area.top() + area.height() * (1 - clamped / 100));
    }
    if (line.isEmpty()) return;
    p.setPen(QPen(slotColour(slot), 1));
    if (line.size() > 1)
        p.drawPolyline(line);
    else
        p.drawPoint(line.first());
}

} // namespace zelcor
