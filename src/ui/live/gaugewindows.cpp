#include "ui/live/gaugewindows.h"

#include "config/gaugeplaces.h"
#include "ui/live/gaugewindow.h"
#include "ui/main/desktoprects.h"
#include "ui/main/panelframe.h"
#include "ui/main/windowplacement.h"

namespace zelcor {

QList<QRect> windowBars(const QWidget* panel) {
    const QWidget* frame = panel;
    while (frame->parentWidget() && !qobject_cast<const PanelFrame*>(frame))
        frame = frame->parentWidget();
    const QRect window = panel->window()->frameGeometry();
    const QRect around(frame->mapToGlobal(QPoint(0, 0)), frame->size());
    return {QRect(QPoint(window.left(), window.top()), QPoint(window.right(), around.top() - 1)),
            QRect(QPoint(window.left(), around.bottom() + 1), window.bottomRight())};
}

GaugeWindows::GaugeWindows(LiveData& live, QWidget* panel, const QString& programFolder)
    : QObject(panel), live_(live), panel_(panel), programFolder_(programFolder) {
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

void GaugeWindows::tile() {
    if (!programFolder_.isEmpty()) forgetGaugePlaces(programFolder_); // a place is no data worth a message
    QList<int> rows;
    QList<QSize> sizes;
    for (int row = 0; row < kLiveRows; ++row)
        if (GaugeWindow* gauge = window(row)) {
            rows << row;
            sizes << gauge->size();
        }
    const QList<QRect> places = placesBeside(availableScreenOf(panel_), panel_->window()->frameGeometry(),
                                             controlsOnDesktop(panel_), windowBars(panel_), sizes);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        gauges_[size_t(rows[i])]->move(places[i].topLeft());
        placed_[size_t(rows[i])] = places[i].topLeft();
    }
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
    auto* gauge = new GaugeWindow(row, row < 2, panel_->window());
    gauge->drawScale(live_.row(row).dial);
    const QPoint at = placeFor(row, gauge->size()).topLeft();
    gauge->move(at);
    placed_[size_t(row)] = at;
    connect(gauge, &GaugeWindow::closedByUser, this, &GaugeWindows::closedByUser);
    gauges_[size_t(row)] = gauge;
    gauge->setStale(stale_);
    gauge->show();
}

void GaugeWindows::setStale(bool stale) {
    stale_ = stale;
    for (const QPointer<GaugeWindow>& gauge : gauges_)
        if (gauge) gauge->setStale(stale);
}

void GaugeWindows::release(int row) {
    GaugeWindow* gauge = gauges_[size_t(row)].data();
    if (!gauge) return;
    keepPlace(row);
    gauges_[size_t(row)] = nullptr;
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

// A window the user moved opens there next time.
void GaugeWindows::keepPlace(int row) {
    const QPoint at = gauges_[size_t(row)]->pos();
    if (programFolder_.isEmpty() || at == placed_[size_t(row)]) return;
    saveGaugePlace(programFolder_, row, at); // a place is no data worth a message
}

// Where the user left it while that is still on a screen and off the panel's controls;
// else beside the main window, off the gauges already up.
QRect GaugeWindows::placeFor(int row, QSize size) const {
    const QRect controls = controlsOnDesktop(panel_);
    if (!programFolder_.isEmpty())
        if (const auto kept = loadGaugePlace(programFolder_, row)) {
            const QRect place(*kept, size);
            if (placeStillFits(place, availableScreens(), controls)) return place;
        }
    QList<QRect> taken = windowBars(panel_);
    for (const QPointer<GaugeWindow>& gauge : gauges_)
        if (gauge) taken << gauge->frameGeometry();
    return placesBeside(availableScreenOf(panel_), panel_->window()->frameGeometry(), controls, taken, {size}).front();
}

} // namespace zelcor
