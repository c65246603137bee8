#pragma once
// The real-time graphs' data: two scrolling traces, their axes, the time zoom and the plot geometry.

#include <QPointF>
#include <QString>
#include <array>
#include <vector>

namespace zelcor {

// Samples per trace; index 0 is the newest.
inline constexpr int kTraceLength = 1001;
// Marks an empty sample.
inline constexpr float kEmptySample = -9999.0f;

// One axis end label: its caption as shown and the decimals of the axis (the label's tag).
struct AxisLabel {
    QString caption = QStringLiteral("0.0");
    int decimals = 0;
};

class GraphModel {
public:
    // Both traces empty, axes "0.0", samples 5 plot units apart.
    GraphModel();

    // --- traces (t = 0 left axis, 1 right axis) ---
    const std::array<float, kTraceLength>& trace(int t) const { return traces_[index(t)]; }
    float hold(int t) const { return holds_[index(t)]; }

    // Empties entries 1..1000 of trace t; the newest sample stays.
    void emptyTrace(int t);
    // Shifts trace t one place older and stores the newest entry: `sample` when the trace
    // is enabled (it also becomes the hold value), else the hold value again.
    void storeSample(int t, bool enabled, float sample);

    // A channel change asks for trace t to be emptied at the end of the next pass.
    void requestKill(int t) { kill_[index(t)] = true; }
    bool killRequested(int t) const { return kill_[index(t)]; }
    // End of a graph pass: empties the traces whose emptying was requested.
    void applyPendingKills();

    // --- axes: label 0 top left, 1 bottom left, 2 top right, 3 bottom right ---
    const AxisLabel& axisLabel(int label) const;
    // A channel was chosen for trace t: the trace is emptied now and again at the end of
    // the next pass, and the axis shows the channel's range ("0." and `decimals` zeros).
    void channelSelected(int t, double minimum, double maximum, int decimals);
    // Sets one axis label directly (restoring a saved view, tests).
    void setAxisLabel(int label, const QString& caption, int decimals);
    double axisTop(int t) const;
    double axisBottom(int t) const;

    // One step of axis button 0..11 ("+"/"-" pairs: 0/1 top left, 2/3 bottom left,
    // 4/5 top right, 6/7 bottom right; 8/9 zoom the left axis, 10/11 the right one).
    // Returns false for other buttons.
    bool adjustAxis(int button);

    // Vertical plot coordinate of a value of trace t on a plot `height` high, 0 at the
    // bottom of the axis; kEmptySample for an empty sample, 0 when the axis has no span.
    double plotY(int t, double value, double height) const;

    // --- time axis ---
    double sampleSpacing() const { return sampleSpacing_; }
    void zoomTimeIn();  // "+": samples 5 % further apart while closer than 50
    void zoomTimeOut(); // "-": 5 % closer while further apart than 1

    // Points of trace t for drawing: x = k * sampleSpacing from the left edge (newest sample at
    // x = 0), y from plotY; empty samples are left out, so a line continues from
    // the last drawn point.
    std::vector<QPointF> tracePoints(int t, double height) const;

private:
    static size_t index(int t) { return t == 0 ? 0 : 1; }
    void moveAxisEnd(int button);
    double traceMean(int t) const;

    std::array<std::array<float, kTraceLength>, 2> traces_;
    std::array<float, 2> holds_{0.0f, 0.0f};
    std::array<bool, 2> kill_{false, false};
    std::array<AxisLabel, 4> labels_;
    double sampleSpacing_ = 5;
};

// Repeat timing of a held axis button: the first step at once, the next after 500 ms,
// then one every 80 ms.
class AxisButtonRepeat {
public:
    // Button `button` pressed: the timer starts with a 1 ms interval.
    void press(int button);
    // Released: nothing is held, the interval is back to 1 ms.
    void release();

    int heldButton() const { return heldButton_; } // -1 when none is held
    bool held() const { return heldButton_ >= 0; }
    int interval() const { return interval_; } // ms until the next tick

    // A timer tick: returns the button to apply (-1 when none) and advances the interval.
    int tick();

    static int nextInterval(int ms);

private:
    int heldButton_ = -1;
    int interval_ = 1;
};

} // namespace zelcor
