#pragma once
// The graph of the replay window: the history of every plotted slot over the time it
// covers (seconds into the section along the bottom), in percent of its gauge's scale
// (the scale's own values when one slot is plotted), one colour per slot.

#include <QWidget>
#include <utility>

namespace zelcor {

class RecordingPlayer;

class ReplayPlot : public QWidget {
    Q_OBJECT
public:
    explicit ReplayPlot(const RecordingPlayer& player, QWidget* parent = nullptr);

    // The colour of a slot's trace (also its legend beside the slot).
    static QColor slotColour(int slot);

    QSize sizeHint() const override { return QSize(560, 160); }
    // Where the traces are drawn: left of it the value labels, below it the time labels.
    QRectF plotArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The section times the width stands for: the oldest plotted sample to the newest.
    std::pair<double, double> timeRange() const;
    void drawTimeAxis(QPainter& painter, double first, double last);
    void drawValueAxis(QPainter& painter);
    void drawSlot(QPainter& painter, int slot, double first, double last);

    const RecordingPlayer& player_;
};

} // namespace zelcor
