#include "ui/vehicle/generalinfowidget.h"

#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"
#include "vehicle/vehiclestatus.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace zelcor {

namespace {

QLineEdit* readout(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QListWidget* list(const QString& name, QWidget* parent) {
    auto* box = new QListWidget(parent);
    box->setObjectName(name);
    box->setSelectionMode(QAbstractItemView::SingleSelection);
    return box;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

// Rebuilds the list only when its entries changed, so a click being handled keeps its item.
void showEntries(QListWidget* box, const QStringList& entries) {
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->item(i)->text();
    if (shown == entries) return;
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(entries);
}

} // namespace

GeneralInfoWidget::GeneralInfoWidget(VehicleStatus& vehicle, std::function<void(int index)> controllerChosen,
                                     PanelFrame* frame)
    : QWidget(frame->body()), vehicle_(vehicle), controllerChosen_(std::move(controllerChosen)) {
    setObjectName(QStringLiteral("generalInfo"));
    codeCount_ = readout(QStringLiteral("Text3_0"), this);
    mil_ = readout(QStringLiteral("Text3_1"), this);
    continuous_ = list(QStringLiteral("List1"), this);
    nonContinuous_ = list(QStringLiteral("List2"), this);
    incomplete_ = list(QStringLiteral("List3"), this);
    controllers_ = list(QStringLiteral("List7"), this);
    currentAddress_ = readout(QStringLiteral("Text13"), this);
    vin_ = readout(QStringLiteral("vin"), this);
    cycleEnabled_ = list(QStringLiteral("driveCycleEnabled"), this);
    cycleIncomplete_ = list(QStringLiteral("driveCycleIncomplete"), this);
    for (QListWidget* monitors : {continuous_, nonContinuous_, incomplete_, cycleEnabled_, cycleIncomplete_})
        monitors->setFocusPolicy(Qt::NoFocus);

    controllersHeading_ = frame->body()->findChild<QLabel*>(QStringLiteral("Label3"), Qt::FindDirectChildrenOnly);
    if (controllersHeading_) {
        if (QLayout* old = frame->body()->layout()) old->removeWidget(controllersHeading_);
    } else {
        controllersHeading_ = new QLabel(QStringLiteral("Controller Addresses\nResponding to\nDiagnostics"), this);
        controllersHeading_->setObjectName(QStringLiteral("Label3"));
    }
    controllersHeading_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    controllersHeading_->setBuddy(controllers_);

    const int digits = codeCount_->fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    for (QLineEdit* box : {codeCount_, mil_})
        box->setFixedWidth(digits + 12);
    codeCount_->setAlignment(Qt::AlignCenter);
    mil_->setAlignment(Qt::AlignCenter);
    currentAddress_->setAlignment(Qt::AlignCenter);

    auto* status = new QHBoxLayout;
    status->addWidget(caption(QStringLiteral("Number of Trouble Codes"), codeCount_, this));
    status->addWidget(codeCount_);
    status->addSpacing(digits);
    status->addWidget(caption(QStringLiteral("Check-Engine (MIL) Light"), mil_, this));
    status->addWidget(mil_);
    status->addStretch(1);

    auto* monitors = new QGridLayout;
    monitors->addWidget(caption(QStringLiteral("Continuous Tests Supported"), continuous_, this), 0, 0);
    monitors->addWidget(caption(QStringLiteral("Non-Continuous Tests Supported"), nonContinuous_, this), 0, 1);
    monitors->addWidget(caption(QStringLiteral("Self-Tests Failed or Not Completed"), incomplete_, this), 0, 2);
    monitors->addWidget(continuous_, 1, 0);
    monitors->addWidget(nonContinuous_, 1, 1);
    monitors->addWidget(incomplete_, 1, 2);
    QLabel* cycleEnabledCaption = caption(QStringLiteral("Enabled This Drive Cycle"), cycleEnabled_, this);
    QLabel* cycleIncompleteCaption = caption(QStringLiteral("Not Completed This Drive Cycle"), cycleIncomplete_, this);
    monitors->addWidget(cycleEnabledCaption, 0, 3);
    monitors->addWidget(cycleIncompleteCaption, 0, 4);
    monitors->addWidget(cycleEnabled_, 1, 3);
    monitors->addWidget(cycleIncomplete_, 1, 4);
    cycleWidgets_ = {cycleEnabledCaption, cycleIncompleteCaption, cycleEnabled_, cycleIncomplete_};
    monitors->setRowStretch(1, 1);
    // With the drive-cycle lists there are five columns: long headings wrap so that the panel
    // still fits a 1280-pixel screen.
    for (int column = 0; column < 5; ++column)
        if (auto* heading = qobject_cast<QLabel*>(monitors->itemAtPosition(0, column)->widget())) {
            heading->setWordWrap(true);
            heading->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        }

    auto* hint =
        new QLabel(QStringLiteral("(Click in above list to select a different controller for monitoring)"), this);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* current = new QHBoxLayout;
    current->addWidget(caption(QStringLiteral("Current Address"), currentAddress_, this));
    current->addWidget(currentAddress_);

    // The controller column is as wide as its address row; the list and the hint fill it.
    currentAddress_->setFixedWidth(digits * 2);
    auto* controllerColumn = new QWidget(this);
    auto* column = new QVBoxLayout(controllerColumn);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(controllersHeading_);
    column->addWidget(controllers_, 1);
    column->addWidget(hint);
    column->addLayout(current);
    controllerColumn->setFixedWidth(current->sizeHint().width());

    auto* vinRow = new QHBoxLayout;
    vinRow->addWidget(caption(QStringLiteral("VIN"), vin_, this));
    vinRow->addWidget(vin_, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(vinRow);
    left->addLayout(status);
    left->addLayout(monitors, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addSpacing(digits);
    layout->addWidget(controllerColumn);

    fillPanelBody(frame, this);

    connect(controllers_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { controllerClicked(controllers_->row(item)); });
    connect(controllers_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { controllerClicked(controllers_->row(item)); });
    connect(&vehicle_, &VehicleStatus::generalInfoChanged, this, &GeneralInfoWidget::render);
    render();
}

void GeneralInfoWidget::render() {
    const GeneralInfoPanel& state = vehicle_.generalInfo();
    codeCount_->setText(state.codeCount);
    mil_->setText(state.mil);
    showEntries(continuous_, state.continuous);
    showEntries(nonContinuous_, state.nonContinuous);
    showEntries(incomplete_, state.incomplete);
    showEntries(controllers_, state.controllers);
    {
        const QSignalBlocker blocker(controllers_);
        if (state.controllerIndex >= 0 && state.controllerIndex < controllers_->count()) {
            controllers_->setCurrentRow(state.controllerIndex);
        } else {
            controllers_->setCurrentRow(-1);
            controllers_->clearSelection();
        }
    }
    currentAddress_->setText(state.currentAddress);
    vin_->setText(state.vin);
    showEntries(cycleEnabled_, state.driveCycleEnabled);
    showEntries(cycleIncomplete_, state.driveCycleIncomplete);
    for (QWidget* widget : cycleWidgets_)
        widget->setVisible(state.driveCycleShown);
}

void GeneralInfoWidget::controllerClicked(int row) {
    if (row >= 0 && controllerChosen_) controllerChosen_(row);
}

} // namespace zelcor
