#pragma once
// The round gauge's dial, needle, bar and readout geometry as plain numbers.

#include "obd/parameters.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace zelcor {

// The dial spans 5 radians clockwise; angles are in screen coordinates (y downward),
// so the minimum sits lower left, mid-scale at the top and the maximum lower right.
inline constexpr double kGaugeSweep = 5.0;
inline constexpr double kGaugeStartAngle = -4.07;
// At most this many scale labels exist on a dial.
inline constexpr int kMaxGaugeLabels = 34;

struct GaugeTick {
    double angle = 0; // radians
    double inner = 0; // radius where the line starts
    double outer = 0; // radius where it ends
    int width = 1;    // line width: 3 for labelled ticks, else 1
};

struct GaugeLabel {
    QString text;
    double angle = 0;  // radians
    double radius = 0; // distance of the label's centre from the dial centre
    int fontSize = 10;
};

struct GaugeDial {
    std::vector<GaugeTick> ticks;
    std::vector<GaugeLabel> labels;
    double needleLength = 0;
};

// Ticks and labels of a scale on a dial of radius `radius` (half the dial width).
// A scale without a positive tick or span has no ticks.
GaugeDial gaugeDial(const GaugeScale& scale, double radius, bool large);

// Angle of the needle for a position in percent of the scale (0 at the minimum).
double gaugeAngle(double percent);

// The point at `radius` from `centre` in direction `angle`.
QPointF gaugePoint(QPointF centre, double radius, double angle);

// The needle's outer end for a position in percent.
QPointF gaugeNeedleEnd(QPointF centre, double length, double percent);

// Width of the digital display's bar for a position in percent, in twips and in
// pixels (15 twips each); never negative.
double barWidthTwips(double percent);
double barWidthPixels(double percent);

// The digital readout: "0" without decimals, 1..5 decimals as asked, any other count "0".
QString digitalText(double x, std::optional<int> decimals = std::nullopt);

} // namespace zelcor
