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
class Session;

class ReplayWindow : public QWidget {
    Q_OBJECT
public:
    // The window of a recorded drive; `player` has opened it and becomes the window's child.
    explicit ReplayWindow(RecordingPlayer* player, QWidget* parent = nullptr);
    // The window of the trace replay, bound to the session's trace controls.
    explicit ReplayWindow(Session& session, QWidget* parent = nullptr);

    // Null for the trace replay.
    RecordingPlayer* player() const { return player_; }
    ReplayGauges* gauges() const { return gauges_; }
    bool isTraceReplay() const { return session_ != nullptr; }

    // Shows the window and, for a recording, starts its play loop once it is up (Timer1).
    void start();

    // Where the trace replay's window goes: right of `owner` (frame rectangle), centred
    // on its height.
    static QPoint besideOwner(const QRect& owner, int height);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ReplayWindow(ReplayControls& controls, RecordingPlayer* player, Session* session, QWidget* parent);

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
    Session* session_;
    ReplayGauges* gauges_ = nullptr;
    ReplayPlot* plot_ = nullptr;
    QTimer* timer1_ = nullptr;

    QLineEdit* fileTitle_ = nullptr; // text15
    QComboBox* marks_ = nullptr;     // Combo1
    QPushButton* jump_ = nullptr;    // Command2
    QPushButton* close_ = nullptr;   // Command1
    QPushButton* play_ = nullptr;
    QPushButton* step_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* fast_ = nullptr;
    QListWidget* speed_ = nullptr; // List1
    QLabel* time_ = nullptr;       // Label1
    QLabel* lastMark_ = nullptr;   // Label2
    QLabel* skipped_ = nullptr;
    std::array<QLineEdit*, kReplaySlots> names_{};     // Text1
    std::array<QLineEdit*, kReplaySlots> values_{};    // Text5
    std::array<QCheckBox*, kReplaySlots> showGauge_{}; // Check1
    std::array<QCheckBox*, kReplaySlots> plotBox_{};   // Check2
    std::array<QLabel*, kReplaySlots> legend_{};
    QStringList shownMarks_;
    bool rendering_ = false;
};

} // namespace zelcor
