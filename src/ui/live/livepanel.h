#pragma once
// The "Live Data and Gauges" panel: ten channel rows with their enable and gauge
// boxes, selectors, activity lamps and value boxes, the pass rate and the data-logging
// group; it owns the rows' gauge windows and the action that tiles them.

#include <QWidget>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zelcor {

class ActivityLamp;
class GaugeWindows;
class LiveData;
inline constexpr int kLivePanelRows = 10;

class LivePanel : public QWidget {
    Q_OBJECT
public:
    // The gauges keep the places the user gives them in `programFolder`'s zelcor.ini.
    LivePanel(LiveData& live, const QString& programFolder, QWidget* parent = nullptr);

    GaugeWindows* gauges() const { return gauges_; }
    // "Tile gauges": every open gauge back in order beside the main window (for a menu too).
    QAction* tileGaugesAction() const { return tileGauges_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildLogging();
    void renderChannels();
    void renderRow(int row);
    void render();
    void renderLogging();

    LiveData& live_;
    std::array<QCheckBox*, kLivePanelRows> enable_{};
    std::array<QCheckBox*, kLivePanelRows> showGauge_{};
    std::array<QComboBox*, kLivePanelRows> channel_{};
    std::array<ActivityLamp*, kLivePanelRows> lamp_{};
    std::array<QLineEdit*, kLivePanelRows> value_{};
    std::array<QComboBox*, kLivePanelRows> interval_{};
    QLineEdit* passRate_ = nullptr;
    QLabel* enableLegend_ = nullptr;
    QLabel* gaugeLegend_ = nullptr;
    QLabel* loggingLabel_ = nullptr;
    QLineEdit* logName_ = nullptr;
    QLabel* logState_ = nullptr; // "Recording to <full path>, N rows" while the log runs
    QPushButton* logFile_ = nullptr;
    QPushButton* logStart_ = nullptr;
    QPushButton* logStop_ = nullptr;
    GaugeWindows* gauges_ = nullptr;
    QAction* tileGauges_ = nullptr;
};

} // namespace zelcor
