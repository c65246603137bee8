#include "ui/instruments/rpmpanelwidget.h"

#include "instruments/instruments.h"
#include "ui/instruments/dialface.h"
#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"

#include <QHBoxLayout>
#include <QLabel>

namespace zelcor {

namespace {

constexpr int kDialWidth = 300;

// Design captions of the engine speed scale labels: thousands of rpm, "0" to "10".
QStringList rpmCaptions() {
    QStringList captions;
    for (int k = 0; k <= 10; ++k)
        captions << QString::number(k);
    return captions;
}

} // namespace

RpmPanelWidget::RpmPanelWidget(Instruments& instruments, PanelFrame* frame)
    : QWidget(frame->body()), instruments_(instruments),
      dial_(new DialFace(QStringLiteral("Picture3"), QStringLiteral("Labelrpm"), rpmCaptions(), kDialWidth, this)) {
    setObjectName(QStringLiteral("rpmPanel"));
    dial_->addInsetLabel(QStringLiteral("Label24"), 0.32, 12, false)->setText(QStringLiteral("RPM"));
    readout_ = dial_->addInsetLabel(QStringLiteral("Label23"), 0.62, 20, true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dial_, 0, Qt::AlignCenter);

    fillPanelBody(frame, this);
    connect(&instruments_, &Instruments::engineSpeedChanged, this, &RpmPanelWidget::render);
    resetDial();
}

void RpmPanelWidget::resetDial() {
    dial_->drawScale(DialUnit::RPM);
    instruments_.showEngineSpeed(0);
}

void RpmPanelWidget::render() {
    dial_->placeNeedle(DialUnit::RPM, instruments_.panels().engineSpeedValue);
    readout_->setText(instruments_.panels().engineSpeedReadout);
}

} // namespace zelcor
