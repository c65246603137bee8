#include "ui/vehicle/fuelsystemwidget.h"

#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"
#include "vehicle/statuspanels.h"
#include "vehicle/vehiclestatus.h"

#include <QGridLayout>
#include <QLabel>

namespace zelcor {

namespace {

QLabel* heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

} // namespace

FuelSystemWidget::FuelSystemWidget(VehicleStatus& vehicle, PanelFrame* frame)
    : QWidget(frame->body()), vehicle_(vehicle) {
    setObjectName(QStringLiteral("fuelSystems"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(fontMetrics().averageCharWidth() * 4);
    layout->addWidget(heading(QStringLiteral("Fuel System 1 Status"), this), 0, 0);
    layout->addWidget(heading(QStringLiteral("Fuel System 2 Status"), this), 0, 1);
    for (int i = 0; i < kFuelSystemLabels; ++i) {
        auto* label = new QLabel(fuelSystemLabelText(i), this);
        label->setObjectName(QStringLiteral("Label4_%1").arg(i));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        states_[i] = label;
        layout->addWidget(label, 1 + i % 5, i / 5);
    }
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(6, 1);

    fillPanelBody(frame, this);
    connect(&vehicle_, &VehicleStatus::fuelSystemsChanged, this, &FuelSystemWidget::render);
    render();
}

void FuelSystemWidget::render() {
    for (int i = 0; i < kFuelSystemLabels; ++i) {
        const bool on = vehicle_.fuelSystems().highlighted[size_t(i)];
        QFont font = states_[i]->font();
        font.setBold(on);
        states_[i]->setFont(font);
        states_[i]->setEnabled(on);
    }
}

} // namespace zelcor
