#include "ui/vehicle/parameterpanelwidget.h"

#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"
#include "vehicle/vehiclestatus.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zelcor {

ParameterPanelWidget::ParameterPanelWidget(VehicleStatus& vehicle, PanelFrame* frame)
    : QWidget(frame->body()), vehicle_(vehicle), frame_(frame), value_(new QLabel(this)) {
    setObjectName(QStringLiteral("textPanel"));
    value_->setObjectName(QStringLiteral("Text4"));
    value_->setAlignment(Qt::AlignCenter);
    value_->setWordWrap(true);
    value_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = value_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 2);
    value_->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(value_, 1);

    fillPanelBody(frame, this);
    connect(&vehicle_, &VehicleStatus::parameterPanelChanged, this, &ParameterPanelWidget::render);
    render();
}

void ParameterPanelWidget::render() {
    frame_->setTitle(vehicle_.parameterPanel().caption);
    value_->setText(vehicle_.parameterPanel().value);
}

} // namespace zelcor
