#pragma once
// Geometry of the speedometer and tachometer dials: scale ticks, scale labels and needle.

#include <QList>
#include <QPointF>
#include <QString>

namespace zelcor {

// The three needles: speed in mph, speed in km/h, engine speed in rpm.
enum class DialUnit { MPH, KPH, RPM };

// Value at the end of the scale: 140 mph, 230 km/h, 10000 rpm.
double fullScale(DialUnit unit);

// Needle angle in radians for the value `x` (screen y grows downwards): 0 points to the
// lower left (-4.07), full scale to the lower right (0.93), a clockwise sweep of 5
// radians. Values beyond the scale are not clamped.
double needleAngle(DialUnit unit, double x);

// Free end of a needle of `length` turned to `angle` around `pivot`.
QPointF needleEnd(QPointF pivot, double length, double angle);

// One tick mark, drawn from the inner to the outer radius around the dial centre.
struct DialTick {
    double angle;
    double innerRadius;
    double outerRadius;
    int width; // line width
};

// One scale label: element `index` of the dial's label array.
struct DialLabel {
    int index;
    QString caption;
    int fontSize;
    double right;        // x of the label's right edge
    double top;          // y of the label's top before the height correction
    double heightFactor; // the top moves up by this share of the label's height

    // Top-right corner of the label for its actual height.
    QPointF topRight(double height) const { return {right, top - heightFactor * height}; }
};

// A dial drawn on a circle of width `width` centred on the needle pivot.
struct DialLayout {
    QString unitCaption; // "km/h", "MPH" or "RPM"
    double needleLength;
    QList<DialTick> ticks;   // one per km/h, per mph or per 200 rpm, from 0 up
    QList<DialLabel> labels; // the labels the scale uses; the others keep their design state
};

DialLayout dialLayout(DialUnit unit, QPointF centre, double width);

} // namespace zelcor
