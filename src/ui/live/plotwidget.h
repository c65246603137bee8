#pragma once
// The plot of the real-time graphs: a dark blue box with a dotted grid and the two
// traces, newest sample at the left edge, values growing upward.

#include <QWidget>

namespace zelcor {

class LiveData;

class PlotWidget : public QWidget {
    Q_OBJECT
public:
    // The plot's own units: 486 wide, 15 high.
    static constexpr double kUnitsWide = 486;
    static constexpr double kUnitsHigh = 15;

    explicit PlotWidget(LiveData& live, QWidget* parent = nullptr);

    static QColor traceColour(int trace);

    QSize sizeHint() const override { return QSize(7350 / 15, 3615 / 15); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawTrace(QPainter& painter, int trace);

    LiveData& live_;
};

} // namespace zelcor
