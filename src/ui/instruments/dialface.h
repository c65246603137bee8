#pragma once
// A round instrument dial: the scale ticks and labels drawn once, a needle turned to a value.

#include "instruments/dials.h"

#include <QLineF>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <optional>

class QLabel;

namespace zelcor {

class DialFace : public QWidget {
    Q_OBJECT
public:
    // A dial `width` pixels across. Its scale labels are named `labelName` + "_k" and carry
    // their design captions until a scale uses them; they stay hidden while unused.
    DialFace(const QString& name, const QString& labelName, const QStringList& designCaptions, int width,
             QWidget* parent = nullptr);

    // Draws the ticks of `unit`'s scale and places the labels it uses.
    void drawScale(DialUnit unit);
    std::optional<DialUnit> scaleUnit() const { return scaleUnit_; }
    QString unitCaption() const { return unitCaption_; } // of the scale drawn

    // Turns the needle to the value `x` of `unit`'s scale; values beyond it are not clamped.
    void placeNeedle(DialUnit unit, double x);
    // From the pivot at the dial's centre to the needle's free end.
    QLineF needle() const { return needle_; }
    double needleLength() const { return needleLength_; }
    QPointF pivot() const;

    QLabel* scaleLabel(int index) const { return labels_.value(index); }

    // A centred text inside the dial, below the pivot by `share` of the radius.
    QLabel* addInsetLabel(const QString& name, double share, double pointSize, bool bold);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double width_;
    QPixmap face_;
    QList<QLabel*> labels_;
    QStringList designCaptions_;
    std::optional<DialUnit> scaleUnit_;
    QString unitCaption_;
    double needleLength_ = 0;
    QLineF needle_;
};

} // namespace zelcor
