#include "ui/live/gaugewindows.h"

#include "ui/live/gaugewindow.h"
#include "ui/main/windowplacement.h"

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
    return gaugePlacement(row, size, anchor_);
}

// The gauges go beside what they belong to: the two large ones in a column, the small ones
// in two columns, kept inside the screen and off the owner (the live panel, the replay
// window) as far as the screen allows.
QPoint gaugePlacement(int row, QSize size, const QWidget* beside) {
    const int large = GaugeWindow::kLargeSize + kGap;
    const int small = GaugeWindow::kSmallSize + kGap;
    // A panel inside its window, or a window (the replay window) in front of the main window.
    const QWidget* behind =
        beside->isWindow() && beside->parentWidget() ? beside->parentWidget()->window() : beside->window();
    const QRect window = behind->frameGeometry();
    const QRect owner =
        beside->isWindow() ? beside->frameGeometry() : QRect(beside->mapToGlobal(QPoint(0, 0)), beside->size());
    const QScreen* screen = beside->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QSize largeBlock(large, 2 * large), smallBlock(2 * small, 4 * small);
    const QRect room =
        screen ? screen->availableGeometry() : QRect(window.topLeft(), QSize(large + 2 * small, 4 * small));
    const GaugeBlockOrigins origins = gaugeBlockOrigins(largeBlock, smallBlock, room, owner, window);

    QPoint at = row < 2 ? origins.large + QPoint(0, row * large)
                        : origins.small + QPoint(((row - 2) % 2) * small, ((row - 2) / 2) * small);
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    return at;
}

} // namespace zelcor
