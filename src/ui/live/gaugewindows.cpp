#include "ui/live/gaugewindows.h"

#include "ui/live/gaugewindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace zelcor {

namespace {

constexpr int kGap = 6;

} // namespace

GaugeWindows::GaugeWindows(LiveData& live, QWidget* anchor) : QObject(anchor), live_(live), anchor_(anchor) {
    connect(&live_, &LiveData::rowChanged, this, &GaugeWindows::sync);
    connect(&live_, &LiveData::gaugeFed, this, &GaugeWindows::feed);
    connect(&live_, &LiveData::gaugesClosed, this, &GaugeWindows::releaseAll);
}

GaugeWindows::~GaugeWindows() {
    for (int row = 0; row < kLiveRows; ++row)
        delete gauges_[size_t(row)].data();
}

GaugeWindow* GaugeWindows::window(int row) const {
    return row >= 0 && row < kLiveRows ? gauges_[size_t(row)].data() : nullptr;
}

void GaugeWindows::sync(int row) {
    if (row < 0 || row >= kLiveRows) return;
    const bool shown = live_.row(row).showGauge;
    if (shown && !gauges_[size_t(row)])
        open(row);
    else if (!shown && gauges_[size_t(row)])
        release(row);
}

void GaugeWindows::feed(int row) {
    GaugeWindow* gauge = window(row);
    if (!gauge) return; // a row without a window has nothing to show
    const GaugeFeed& reading = live_.row(row).gauge;
    gauge->setNeedle(reading.position);
    gauge->showValue(reading.value, reading.decimals);
}

void GaugeWindows::open(int row) {
    auto* gauge = new GaugeWindow(row, row < 2, anchor_->window());
    gauge->drawScale(live_.row(row).dial);
    gauge->move(placeFor(row, gauge->size()));
    connect(gauge, &GaugeWindow::closedByUser, this, &GaugeWindows::closedByUser);
    gauges_[size_t(row)] = gauge;
    gauge->show();
}

void GaugeWindows::release(int row) {
    GaugeWindow* gauge = gauges_[size_t(row)].data();
    gauges_[size_t(row)] = nullptr;
    if (!gauge) return;
    gauge->disconnect(this);
    gauge->hide();
    gauge->deleteLater();
}

void GaugeWindows::releaseAll() {
    for (int row = 0; row < kLiveRows; ++row)
        release(row);
}

// Closed from the desktop: the row's "Show Gauge" box clears as if unchecked.
void GaugeWindows::closedByUser(int row) {
    release(row);
    if (live_.row(row).showGauge) live_.setShowGauge(row, false);
}

QPoint GaugeWindows::placeFor(int row, QSize size) const {
    return gaugePlacement(row, size, anchor_->window());
}

// The gauges form a block beside a window: the two large ones in a column next to it,
// the small ones in two columns after them. The block goes to the right of the window,
// else to its left, else against the right edge of the screen.
QPoint gaugePlacement(int row, QSize size, const QWidget* beside) {
    const int large = GaugeWindow::kLargeSize + kGap;
    const int small = GaugeWindow::kSmallSize + kGap;
    const QSize block(large + 2 * small, std::max(2 * large, 4 * small));
    const QRect main = beside->frameGeometry();
    const QScreen* screen = beside->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(main.topLeft(), block);

    QPoint origin(main.right() + kGap, main.top());
    if (origin.x() + block.width() > room.right() + 1) {
        if (main.left() - kGap - block.width() >= room.left())
            origin.setX(main.left() - kGap - block.width());
        else
            origin.setX(room.right() + 1 - block.width());
    }
    origin.setY(std::min(origin.y(), room.bottom() + 1 - block.height()));

    QPoint at = row < 2 ? origin + QPoint(0, row * large)
                        : origin + QPoint(large + ((row - 2) % 2) * small, ((row - 2) / 2) * small);
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    return at;
}

} // namespace zelcor
