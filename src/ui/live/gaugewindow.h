#pragma once
// A floating gauge of one live-data row: a round dial with scale and needle, or, after
// a right-click, a rectangular digital display; dragged anywhere with the left button.

#include "live/gaugedial.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>
#include <optional>

namespace zelcor {

class GaugeWindow : public QWidget {
    Q_OBJECT
public:
    // Rows 0 and 1 get large gauges.
    GaugeWindow(int row, bool large, QWidget* parent = nullptr);

    static constexpr int kSmallSize = 194;
    static constexpr int kLargeSize = 330;
    static constexpr int kDigitalWidth = 248;
    static constexpr int kDigitalHeight = 147;

    int row() const { return row_; }
    bool large() const { return large_; }
    bool digitalmode() const { return digitalmode_; }
    const GaugeScale& scale() const { return scale_; }
    double needle() const { return needle_; }
    // The readout as shown (on the dial and on the digital display).
    QString readout() const { return readout_; }

    // Sets up the scale and its labels and puts the needle at the start of the scale.
    void drawScale(const GaugeScale& scale);
    // Needle (and digital bar) at `x` percent of the scale.
    void setNeedle(double x);
    // Shows `x` with `decimals` decimals (none: a whole number).
    void showValue(double x, std::optional<int> decimals = std::nullopt);
    // Switches between the round dial and the digital display.
    void toggleMode();
    // Greyed with "old value" while the car does not answer.
    void setStale(bool stale);
    bool stale() const { return stale_; }

signals:
    // The window is being closed by the desktop (not by its row).
    void closedByUser(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool stale_ = false;
    int dialSize() const { return large_ ? kLargeSize : kSmallSize; }
    void applyShape();
    void renderFace();
    void paintDial(QPainter& painter);
    void paintDigital(QPainter& painter);
    void fitReadout();

    int row_;
    bool large_;
    bool digitalmode_ = false;
    GaugeScale scale_;
    double needle_ = 0;
    QString readout_ = QStringLiteral("0");
    QPixmap face_; // the dial without needle and readout, drawn once per scale
    double needleLength_ = 0;
    QFont readoutFont_, digitalFont_;  // fitted to the readout's text
    std::optional<QPoint> dragOffset_; // a manual drag where the desktop moves no windows
};

} // namespace zelcor
