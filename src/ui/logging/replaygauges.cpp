#include "ui/logging/replaygauges.h"

#include "ui/live/gaugewindow.h"
#include "ui/main/desktoprects.h"
#include "ui/main/windowplacement.h"

namespace zelcor {

namespace {

// Slots 0 and 1 get large gauges, as the first two live-data rows do.
bool largeSlot(int slot) {
    return slot < 2;
}

} // namespace

ReplayGauges::ReplayGauges(RecordingPlayer& player, QWidget* anchor)
    : QObject(anchor), player_(player), anchor_(anchor) {
    connect(&player_, &RecordingPlayer::slotsChanged, this, &ReplayGauges::sync);
    connect(&player_, &RecordingPlayer::gaugeFed, this, &ReplayGauges::feed);
    connect(&player_, &RecordingPlayer::finished, this, &ReplayGauges::releaseAll);
}

ReplayGauges::~ReplayGauges() {
    for (QPointer<GaugeWindow>& gauge : gauges_)
        delete gauge.data();
}

GaugeWindow* ReplayGauges::window(int slot) const {
    return slot >= 0 && slot < kReplaySlots ? gauges_[size_t(slot)].data() : nullptr;
}

void ReplayGauges::sync() {
    for (int i = 0; i < kReplaySlots; ++i) {
        const ReplaySlot& slot = player_.replaySlots()[size_t(i)];
        const bool checked = slot.used() && slot.showGauge;
        if (checked && !checked_[size_t(i)])
            open(i);
        else if (!checked)
            release(i);
        checked_[size_t(i)] = checked;
    }
}

void ReplayGauges::feed(int slot) {
    GaugeWindow* gauge = window(slot);
    if (!gauge) return;
    const GaugeFeed& reading = player_.replaySlots()[size_t(slot)].gauge;
    gauge->setNeedle(reading.position);
    gauge->showValue(reading.value, reading.decimals);
}

void ReplayGauges::open(int slot) {
    if (gauges_[size_t(slot)]) return;
    auto* gauge = new GaugeWindow(slot, largeSlot(slot), anchor_);
    gauge->drawScale(player_.replaySlots()[size_t(slot)].scale);
    gauge->move(placeFor(gauge->size()));
    connect(gauge, &GaugeWindow::closedByUser, this, &ReplayGauges::closedByUser);
    gauges_[size_t(slot)] = gauge;
    gauge->show();
}

void ReplayGauges::release(int slot) {
    GaugeWindow* gauge = gauges_[size_t(slot)].data();
    gauges_[size_t(slot)] = nullptr;
    if (!gauge) return;
    gauge->disconnect(this);
    gauge->hide();
    gauge->deleteLater();
}

void ReplayGauges::releaseAll() {
    for (int slot = 0; slot < kReplaySlots; ++slot)
        release(slot);
}

// Closed from the desktop: the slot's box clears as if unchecked.
void ReplayGauges::closedByUser(int slot) {
    release(slot);
    if (player_.replaySlots()[size_t(slot)].showGauge) player_.setShowGauge(slot, false);
}

// Beside the replay window, never over it, and off the main window and the gauges already up
// as far as the screen allows.
QPoint ReplayGauges::placeFor(QSize size) const {
    QList<QRect> taken;
    if (const QWidget* owner = anchor_->parentWidget()) taken << owner->window()->frameGeometry();
    for (const QPointer<GaugeWindow>& gauge : gauges_)
        if (gauge) taken << gauge->frameGeometry();
    const QRect window = anchor_->frameGeometry();
    return placesBeside(availableScreenOf(anchor_), window, window, taken, {size}).front().topLeft();
}

} // namespace zelcor
