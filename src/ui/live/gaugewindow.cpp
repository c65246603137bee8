#include "ui/live/gaugewindow.h"

#include <QCloseEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace zelcor {

namespace {

// The readout, name and units boxes of the dial as fractions of its size; the large
// dial (330 px) has the name at (70, 110) 190 x 40, the units at (90, 225) 150 x 33 and
// the readout at (120, 275) 90 x 33.
QRectF scaled(double size, double x, double y, double w, double h) {
    const double f = size / GaugeWindow::kLargeSize;
    return QRectF(x * f, y * f, w * f, h * f);
}

QFont arial(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The largest font up to `points` in which `text` fits `width`.
QFont fitted(const QString& text, double points, double width, bool bold = false) {
    QFont font = arial(points, bold);
    for (double p = points; p > 6; p -= 1) {
        font.setPointSizeF(p);
        const QStringList lines = text.split(QLatin1Char('\n'));
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, double(QFontMetricsF(font).horizontalAdvance(line)));
        if (widest <= width) break;
    }
    return font;
}

// The largest font up to `points` in which `text`, wrapped at blanks, fits `box`.
QFont fittedWrapped(const QString& text, double points, const QRectF& box, bool bold) {
    QFont font = arial(points, bold);
    for (double p = points; p > 5; p -= 0.5) {
        font.setPointSizeF(p);
        const QRectF needed = QFontMetricsF(font).boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, text);
        if (needed.width() <= box.width() && needed.height() <= box.height()) break;
    }
    return font;
}

// The scale numbers' font: as given, or smaller where neighbouring numbers would touch.
QFont labelFont(const GaugeDial& dial) {
    if (dial.labels.empty()) return arial(10, true);
    QFont font = arial(dial.labels.front().fontSize, true);
    double room = 1e9; // distance between neighbouring label centres
    for (size_t k = 1; k < dial.labels.size(); ++k) {
        const GaugeLabel& a = dial.labels[k - 1];
        const GaugeLabel& b = dial.labels[k];
        room = std::min(room, QLineF(gaugePoint({}, a.radius, a.angle), gaugePoint({}, b.radius, b.angle)).length());
    }
    for (double p = font.pointSizeF(); p > 5; p -= 0.5) {
        font.setPointSizeF(p);
        const QFontMetricsF metrics(font);
        double widest = 0;
        for (const GaugeLabel& label : dial.labels)
            widest = std::max(widest, metrics.horizontalAdvance(label.text));
        if (widest + 2 <= room) break;
    }
    return font;
}

const QColor kNeedleRed(255, 0, 0);
const QColor kBarFill(192, 0, 0);

} // namespace

GaugeWindow::GaugeWindow(int row, bool large, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), row_(row), large_(large) {
    setObjectName(QStringLiteral("gaugeform_%1").arg(row));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("Drag to move. Right-click: dial or digital display."));
    fitReadout();
    applyShape();
    renderFace();
}

void GaugeWindow::applyShape() {
    if (digitalmode_) {
        setFixedSize(kDigitalWidth, kDigitalHeight);
        setMask(QRegion(0, 0, kDigitalWidth, kDigitalHeight));
    } else {
        setFixedSize(dialSize(), dialSize());
        setMask(QRegion(0, 0, dialSize(), dialSize(), QRegion::Ellipse));
    }
}

void GaugeWindow::drawScale(const GaugeScale& scale) {
    scale_ = scale;
    renderFace();
    setNeedle(0);
}

void GaugeWindow::setNeedle(double x) {
    if (x == needle_) return;
    needle_ = x;
    update();
}

void GaugeWindow::showValue(double x, std::optional<int> decimals) {
    const QString text = digitalText(x, decimals);
    if (text == readout_) return;
    readout_ = text;
    fitReadout();
    update();
}

void GaugeWindow::fitReadout() {
    const QRectF box = scaled(dialSize(), 120, 275, 90, 33);
    readoutFont_ = fitted(readout_, large_ ? 20 : 11, box.width() - 2, true);
    digitalFont_ = fitted(readout_, 48, kDigitalWidth - 12);
}

void GaugeWindow::toggleMode() {
    digitalmode_ = !digitalmode_;
    applyShape();
    update();
}

void GaugeWindow::renderFace() {
    const int size = dialSize();
    const qreal ratio = devicePixelRatioF();
    face_ = QPixmap(QSize(size, size) * ratio);
    face_.setDevicePixelRatio(ratio);
    face_.fill(Qt::white);
    QPainter p(&face_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The dial face: a white circle with a broad black rim.
    const double rim = 5;
    const QRectF faceRect(rim / 2, rim / 2, size - rim, size - rim);
    p.setPen(QPen(Qt::black, rim));
    p.setBrush(Qt::white);
    p.drawEllipse(faceRect);

    const QPointF centre = faceRect.center();
    const double radius = faceRect.width() / 2;
    const GaugeDial dial = gaugeDial(scale_, radius, large_);
    for (const GaugeTick& tick : dial.ticks) {
        p.setPen(QPen(Qt::black, tick.width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(gaugePoint(centre, tick.inner, tick.angle), gaugePoint(centre, tick.outer, tick.angle));
    }
    // Scale numbers.
    needleLength_ = dial.needleLength;
    p.setPen(Qt::black);
    p.setFont(labelFont(dial));
    for (const GaugeLabel& label : dial.labels) {
        const QPointF at = gaugePoint(centre, label.radius, label.angle);
        const QRectF box(at.x() - 40, at.y() - 12, 80, 24);
        p.drawText(box, Qt::AlignCenter, label.text);
    }
    // Channel name and units.
    const QRectF nameBox = scaled(size, 70, 110, 190, 40);
    p.setFont(fittedWrapped(scale_.name, large_ ? 14 : 8, nameBox, true));
    p.drawText(nameBox, Qt::AlignCenter | Qt::TextWordWrap, scale_.name);
    const QRectF unitsBox = scaled(size, 90, 225, 150, 33);
    p.setFont(arial(large_ ? 10 : 7));
    p.drawText(unitsBox, Qt::AlignCenter, scale_.units);
}

void GaugeWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (digitalmode_)
        paintDigital(p);
    else
        paintDial(p);
    if (stale_) { // the last value the car sent, no longer live
        p.fillRect(rect(), QColor(128, 128, 128, 150));
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("old value"));
    }
}

void GaugeWindow::setStale(bool stale) {
    if (stale_ == stale) return;
    stale_ = stale;
    update();
}

void GaugeWindow::paintDial(QPainter& p) {
    const int size = dialSize();
    p.drawPixmap(0, 0, face_);
    p.setRenderHint(QPainter::Antialiasing);

    // The readout: white bold digits on black.
    const QRectF box = scaled(size, 120, 275, 90, 33);
    p.fillRect(box, Qt::black);
    p.setPen(Qt::white);
    p.setFont(readoutFont_);
    p.drawText(box, Qt::AlignCenter, readout_);

    const QPointF centre(size / 2.0, size / 2.0);
    p.setPen(QPen(kNeedleRed, large_ ? 5 : 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, gaugeNeedleEnd(centre, needleLength_, needle_));
    const double hub = large_ ? 9 : 6;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, hub, hub);
}

void GaugeWindow::paintDigital(QPainter& p) {
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::white);
    const QString name = QString(scale_.name).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QRectF nameBox(6, 2, width() - 12, 30);
    p.setFont(fitted(name, 18, nameBox.width()));
    p.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter, name);

    const QRectF valueBox(6, 30, width() - 12, 72);
    p.setFont(digitalFont_);
    p.drawText(valueBox, Qt::AlignRight | Qt::AlignVCenter, readout_);

    // The bar: 4 px from the left, 15 px high, as wide as the needle position says.
    const double bar = std::min(barWidthPixels(needle_), double(width() - 8));
    if (bar > 0) {
        p.setPen(QPen(kNeedleRed, 1));
        p.setBrush(kBarFill);
        p.drawRect(QRectF(4, 106, bar, 15));
    }
    p.setPen(Qt::white);
    p.setFont(arial(9.75));
    p.drawText(QRectF(6, 124, width() - 12, 20), Qt::AlignRight | Qt::AlignVCenter, scale_.units);
}

void GaugeWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        toggleMode();
        return;
    }
    // The desktop moves the window; where it cannot, the window follows the mouse itself.
    if (QWindow* handle = windowHandle(); handle && handle->startSystemMove()) return;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void GaugeWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - *dragOffset_);
}

void GaugeWindow::mouseReleaseEvent(QMouseEvent*) {
    dragOffset_.reset();
}

void GaugeWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closedByUser(row_);
}

} // namespace zelcor
