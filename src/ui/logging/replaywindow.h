#pragma once
// The replay window: the play controls, the speed list and the time shown. For a
// recorded drive it also shows the file, its marks, the ten slots with their gauges and
// the graph; for the trace replay only the controls and the time of the pass.
// It renders the player's (or the session's) state and writes user input back.

#include "logging/recordingplayer.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace zelcor {

class ReplayGauges;
class ReplayPlot;
class TraceReplay;

class ReplayWindow : public QWidget {
    Q_OBJECT
public:
    // The window of a recorded drive; `player` has opened it and becomes the window's child.
    explicit ReplayWindow(RecordingPlayer* player, QWidget* parent = nullptr);
    // The window of the trace replay, bound to its controls.
    explicit ReplayWindow(TraceReplay& traceReplay, QWidget* parent = nullptr);

    // Null for the trace replay.
    RecordingPlayer* player() const { return player_; }
    ReplayGauges* gauges() const { return gauges_; }
    bool isTraceReplay() const { return traceReplay_ != nullptr; }

    // Shows the window and, for a recording, starts its play loop once it is up.
    void start();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ReplayWindow(ReplayControls& controls, RecordingPlayer* player, TraceReplay* traceReplay, QWidget* parent);

    void build();
    QWidget* buildControls();
    QWidget* buildSlots();
    void wire();

    // User input.
    void playClicked(bool checked);
    void stepClicked(bool checked);
    void stopClicked(bool checked);
    void fastPressed();
    void fastReleased();
    void speedChosen(int index);
    void controlsEdited();
    void closeRequested();
    void playerClosed();

    void render();
    void renderControls();
    void renderLabels();
    void renderSlots();
    void renderValue(int slot);

    ReplayControls& controls_;
    RecordingPlayer* player_;
    TraceReplay* traceReplay_;
    ReplayGauges* gauges_ = nullptr;
    ReplayPlot* plot_ = nullptr;
    QTimer* playStarter_ = nullptr;

    QLineEdit* fileTitle_ = nullptr;
    QComboBox* marks_ = nullptr;
    QPushButton* jump_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* step_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* fast_ = nullptr;
    QListWidget* speed_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* lastMark_ = nullptr;
    QLabel* skipped_ = nullptr;
    std::array<QLineEdit*, kReplaySlots> names_{};
    std::array<QLineEdit*, kReplaySlots> values_{};
    std::array<QCheckBox*, kReplaySlots> showGauge_{};
    std::array<QCheckBox*, kReplaySlots> plotBox_{};
    std::array<QLabel*, kReplaySlots> legend_{};
    QStringList shownMarks_;
    bool rendering_ = false;
};

} // namespace zelcor
