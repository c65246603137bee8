#pragma once
// The "Real-Time Graphs" panel (D240): two channel selectors with enable boxes and value
// labels, the plot with its axis labels and the twelve axis buttons that repeat while
// held, the time zoom, "Points" and the sample rate.

#include "live/graphmodel.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace zelcor {

class PlotWidget;
class Session;

class GraphPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAxisButtons = 12;

    explicit GraphPanel(Session& session, QWidget* parent = nullptr);

    PlotWidget* plot() const { return plot_; }
    QTimer* repeatTimer() const { return timer2_; }

    // An axis button pressed: one adjustment now, more while it stays down.
    void pressAxisButton(int button);
    void releaseAxisButton();
    // Timer2: the held button's next adjustment.
    void repeatAxisButton();

private:
    QWidget* buildAxis(int side);
    void renderChannels();
    void render();

    Session& session_;
    std::array<QComboBox*, 2> channel_{};                 // Combo9(t)
    std::array<QCheckBox*, 2> enabled_{};                 // Check6(t)
    std::array<QLabel*, 2> value_{};                      // Label42(t)
    std::array<QLabel*, 4> axisLabel_{};                  // gl(0..3)
    std::array<QPushButton*, kAxisButtons> axisButton_{}; // Command12(i)
    PlotWidget* plot_ = nullptr;
    QCheckBox* points_ = nullptr;     // Check5
    QLineEdit* sampleRate_ = nullptr; // Text17
    QTimer* timer2_ = nullptr;
    AxisButtonRepeat repeat_;
};

} // namespace zelcor
