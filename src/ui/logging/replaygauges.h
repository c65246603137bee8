#pragma once
// The gauge windows of a replay window's slots: one opens when a slot's "Show Gauge"
// box is checked and takes the readings the play loop feeds to that slot.

#include "logging/recordingplayer.h"

#include <QObject>
#include <QPointer>
#include <array>

class QWidget;

namespace zelcor {

class GaugeWindow;

class ReplayGauges : public QObject {
    Q_OBJECT
public:
    // The windows float beside `anchor` (the replay window) and belong to it.
    ReplayGauges(RecordingPlayer& player, QWidget* anchor);
    ~ReplayGauges() override;

    GaugeWindow* window(int slot) const;
    // Every gauge window goes; the boxes keep their state.
    void releaseAll();

private:
    void sync();
    void feed(int slot);
    void open(int slot);
    void release(int slot);
    void closedByUser(int slot);
    QPoint placeFor(QSize size) const;

    RecordingPlayer& player_;
    QWidget* anchor_;
    std::array<QPointer<GaugeWindow>, kReplaySlots> gauges_;
    // The "Show Gauge" boxes as last seen: a window opens when a box becomes checked,
    // so one released at the end of the play loop stays away until the box is checked
    // again.
    std::array<bool, kReplaySlots> checked_{};
};

} // namespace zelcor
