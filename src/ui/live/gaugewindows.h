#pragma once
// The gauge windows of the ten live-data rows: one exists while its row's "Show Gauge"
// box is checked; each takes the readings the live-data pass feeds to its row.

#include "live/livedata.h"

#include <QObject>
#include <QPointer>
#include <array>

namespace zelcor {

class GaugeWindow;

// Where the gauge of row (or slot) `row`, `size` large, goes beside `beside`: a panel
// (kept clear of it) or a window in front of its parent window.
QPoint gaugePlacement(int row, QSize size, const QWidget* beside);

class GaugeWindows : public QObject {
    Q_OBJECT
public:
    // The windows float beside `anchor`'s window and belong to it.
    GaugeWindows(LiveData& live, QWidget* anchor);
    ~GaugeWindows() override;

    // The window of a row, if it has one.
    GaugeWindow* window(int row) const;

private:
    void sync(int row);
    void feed(int row);
    void open(int row);
    void release(int row);
    void releaseAll();
    void closedByUser(int row);
    QPoint placeFor(int row, QSize size) const;

    LiveData& live_;
    QWidget* anchor_;
    std::array<QPointer<GaugeWindow>, kLiveRows> gauges_;
};

} // namespace zelcor
