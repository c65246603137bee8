#include "ui/instruments/dialface.h"

#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace zelcor {

namespace {

const QColor faceColour(24, 24, 28);
const QColor scaleColour(240, 240, 240);
const QColor needleColour(230, 30, 30);

} // namespace

DialFace::DialFace(const QString& name, const QString& labelName, const QStringList& designCaptions, int width,
                   QWidget* parent)
    : QWidget(parent), width_(width), designCaptions_(designCaptions) {
    setObjectName(name);
    setFixedSize(width, width);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, scaleColour);
    setPalette(palette);
    for (int k = 0; k < designCaptions.size(); ++k) {
        auto* label = new QLabel(designCaptions.at(k), this);
        label->setObjectName(QStringLiteral("%1_%2").arg(labelName).arg(k));
        label->setMargin(0);
        label->hide();
        labels_.append(label);
    }
    needle_ = QLineF(pivot(), pivot());
}

QPointF DialFace::pivot() const {
    return {width_ / 2.0, width_ / 2.0};
}

void DialFace::drawScale(DialUnit unit) {
    const QPointF centre = pivot();
    const DialLayout layout = dialLayout(unit, centre, width_);
    scaleUnit_ = unit;
    unitCaption_ = layout.unitCaption;
    needleLength_ = layout.needleLength;

    const qreal ratio = devicePixelRatioF();
    face_ = QPixmap(QSize(int(std::ceil(width_ * ratio)), int(std::ceil(width_ * ratio))));
    face_.setDevicePixelRatio(ratio);
    face_.fill(Qt::transparent);
    QPainter painter(&face_);
    painter.setRenderHint(QPainter::Antialiasing);

    // The dial circle with its rim.
    const double radius = width_ / 2.0;
    QRadialGradient shade(centre, radius);
    shade.setColorAt(0.0, faceColour.lighter(160));
    shade.setColorAt(1.0, faceColour);
    painter.setPen(QPen(QColor(150, 150, 155), 2));
    painter.setBrush(shade);
    painter.drawEllipse(centre, radius - 1, radius - 1);

    for (const DialTick& tick : layout.ticks) {
        QPen pen(scaleColour, tick.width);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        const QPointF direction(std::cos(tick.angle), std::sin(tick.angle));
        painter.drawLine(centre + tick.innerRadius * direction, centre + tick.outerRadius * direction);
    }
    painter.end();

    // Labels of an earlier scale go back to their design state.
    for (int k = 0; k < labels_.size(); ++k) {
        labels_[k]->hide();
        labels_[k]->setText(designCaptions_.at(k));
    }
    for (const DialLabel& placement : layout.labels) {
        QLabel* label = labels_.value(placement.index);
        if (!label) continue;
        QFont font = label->font();
        font.setPointSize(placement.fontSize);
        label->setFont(font);
        label->setText(placement.caption);
        label->adjustSize();
        // Centred on the point at the label radius and the tick's angle: with this
        // platform's fonts a label whose corner sat there would touch the ticks.
        label->move(int(std::lround(placement.right - label->width() / 2.0)),
                    int(std::lround(placement.top - label->height() / 2.0)));
        label->show();
    }
    update();
}

void DialFace::placeNeedle(DialUnit unit, double x) {
    needle_ = QLineF(pivot(), needleEnd(pivot(), needleLength_, needleAngle(unit, x)));
    update();
}

QLabel* DialFace::addInsetLabel(const QString& name, double share, double pointSize, bool bold) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    const int height = label->fontMetrics().height() + 4;
    const int width = int(width_ * 0.5);
    const QPointF centre = pivot() + QPointF(0, share * width_ / 2.0);
    label->setGeometry(int(centre.x()) - width / 2, int(centre.y()) - height / 2, width, height);
    return label;
}

void DialFace::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, face_);

    QPen pen(needleColour, 3);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(needle_);

    // The hub over the needle's pivot.
    const double hub = width_ * 0.045;
    painter.setPen(QPen(QColor(190, 190, 195), 1.5));
    painter.setBrush(QColor(60, 60, 65));
    painter.drawEllipse(pivot(), hub, hub);
}

} // namespace zelcor
