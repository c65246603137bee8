#pragma once
// The graph of the replay window: the history of every slot plotted on it, in percent
// of its gauge's scale, newest sample at the left edge, one colour per slot.

#include <QWidget>

namespace zelcor {

class RecordingPlayer;

class ReplayPlot : public QWidget {
    Q_OBJECT
public:
    explicit ReplayPlot(const RecordingPlayer& player, QWidget* parent = nullptr);

    // The colour of a slot's trace (also its legend beside the slot).
    static QColor slotColour(int slot);

    QSize sizeHint() const override { return QSize(560, 160); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawSlot(QPainter& painter, int slot);

    const RecordingPlayer& player_;
};

} // namespace zelcor
