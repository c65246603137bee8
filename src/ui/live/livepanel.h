#pragma once
// The "Live Data and Gauges" panel (D250): ten channel rows with their enable and gauge
// boxes, selectors, activity lamps and value boxes, the pass rate and the data-logging
// group; it owns the rows' gauge windows.

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zelcor {

class ActivityLamp;
class GaugeWindows;
class Session;
inline constexpr int kLivePanelRows = 10;

class LivePanel : public QWidget {
    Q_OBJECT
public:
    explicit LivePanel(Session& session, QWidget* parent = nullptr);

    GaugeWindows* gauges() const { return gauges_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildLogging();
    void renderChannels();
    void renderRow(int row);
    void render();
    void renderLogging();

    Session& session_;
    std::array<QCheckBox*, kLivePanelRows> enable_{};    // Check1(i)
    std::array<QCheckBox*, kLivePanelRows> showGauge_{}; // Check2(i)
    std::array<QComboBox*, kLivePanelRows> channel_{};   // Combo1(i)
    std::array<ActivityLamp*, kLivePanelRows> lamp_{};   // Shape2(i)
    std::array<QLineEdit*, kLivePanelRows> value_{};     // Text5(i)
    QLineEdit* passRate_ = nullptr;                      // Text12
    QLabel* enableLegend_ = nullptr;
    QLabel* gaugeLegend_ = nullptr;
    QLabel* loggingLabel_ = nullptr; // Label38
    QLineEdit* logName_ = nullptr;   // text15
    QPushButton* logFile_ = nullptr;  // Command14
    QPushButton* logStart_ = nullptr; // Command15
    QPushButton* logStop_ = nullptr;  // Command16
    GaugeWindows* gauges_ = nullptr;
};

} // namespace zelcor
