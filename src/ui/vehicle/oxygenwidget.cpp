#include "ui/vehicle/oxygenwidget.h"

#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"
#include "vehicle/statuspanels.h"
#include "vehicle/vehiclestatus.h"

#include <QGridLayout>
#include <QLabel>

namespace zelcor {

namespace {

QLabel* label(const QString& name, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

} // namespace

OxygenWidget::OxygenWidget(VehicleStatus& vehicle, PanelFrame* frame) : QWidget(frame->body()), vehicle_(vehicle) {
    setObjectName(QStringLiteral("oxygenSensors"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading(QStringLiteral("Oxygen Sensors in Vehicle"), this), 0, 0);
    layout->addWidget(heading(QStringLiteral("Oxygen Sensor Output Voltage"), this), 0, 1);
    layout->addWidget(heading(QStringLiteral("Short Term Fuel Trim for this sensor"), this), 0, 2);
    for (int i = 0; i < kOxygenSensors; ++i) {
        names_[i] = label(QStringLiteral("Label6_%1").arg(i), Qt::AlignLeft, this);
        names_[i]->setText(oxygenSensorLabel(i));
        voltages_[i] = label(QStringLiteral("Label7_%1").arg(i), Qt::AlignHCenter, this);
        trims_[i] = label(QStringLiteral("Label8_%1").arg(i), Qt::AlignHCenter, this);
        layout->addWidget(names_[i], 1 + i, 0);
        layout->addWidget(voltages_[i], 1 + i, 1);
        layout->addWidget(trims_[i], 1 + i, 2);
    }
    for (int column = 0; column < 3; ++column)
        layout->setColumnStretch(column, 1);
    layout->setRowStretch(1 + kOxygenSensors, 1);

    fillPanelBody(frame, this);
    connect(&vehicle_, &VehicleStatus::oxygenChanged, this, &OxygenWidget::render);
    render();
}

void OxygenWidget::render() {
    const OxygenPanel& state = vehicle_.oxygen();
    for (int i = 0; i < kOxygenSensors; ++i) {
        voltages_[i]->setText(state.voltage[i]);
        trims_[i]->setText(state.fuelTrim[i]);
        for (QLabel* cell : {names_[i], voltages_[i], trims_[i]}) {
            QFont font = cell->font();
            font.setBold(state.present[i]);
            cell->setFont(font);
            cell->setEnabled(state.present[i]);
        }
    }
}

} // namespace zelcor
