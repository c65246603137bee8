#pragma once
// The "Real-Time Graphs" panel: two channel selectors with enable boxes and value
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
class LiveData;

class GraphPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kAxisButtons = 12;

    explicit GraphPanel(LiveData& live, QWidget* parent = nullptr);

    PlotWidget* plot() const { return plot_; }
    QTimer* repeatTimer() const { return axisRepeatTimer_; }

    // An axis button pressed: one adjustment now, more while it stays down.
    void pressAxisButton(int button);
    void releaseAxisButton();
    // The held button's next adjustment.
    void repeatAxisButton();

private:
    QWidget* buildAxis(int side);
    void renderChannels();
    void render();

    LiveData& live_;
    std::array<QComboBox*, 2> channel_{};
    std::array<QCheckBox*, 2> enabled_{};
    std::array<QLabel*, 2> value_{};
    std::array<QLabel*, 4> axisLabel_{};
    std::array<QPushButton*, kAxisButtons> axisButton_{};
    PlotWidget* plot_ = nullptr;
    QCheckBox* points_ = nullptr;
    QLineEdit* sampleRate_ = nullptr;
    QTimer* axisRepeatTimer_ = nullptr;
    AxisButtonRepeat repeat_;
};

} // namespace zelcor
