#include "ui/config/setuppanelwidget.h"

#include "config/setuppanel.h"
#include "core/session.h"
#include "ui/config/adapterreportbox.h"
#include "ui/config/devicechoicebox.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zelcor {

namespace {

QRadioButton* makeOption(const QString& name, const QString& caption, QWidget* parent) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    return option;
}

// A titled group with two exclusive choices, the first meaning "true".
QGroupBox* choiceGroup(const QString& title, QRadioButton* first, QRadioButton* second, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(group);
    first->setParent(group);
    second->setParent(group);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
}

QLineEdit* makeBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000000")));
    return box;
}

void check(QRadioButton* yes, QRadioButton* no, bool value) {
    yes->setChecked(value);
    no->setChecked(!value);
}

} // namespace

SetupPanelWidget::SetupPanelWidget(Session& session, QWidget* parent)
    : PanelFrame(Panel::Setup, parent), session_(session), portGroup_(new QButtonGroup(this)) {
    QWidget* b = body();

    auto* portBox = new QGroupBox(QStringLiteral("COM PORT"), b);
    auto* portLayout = new QGridLayout(portBox);
    for (int i = 0; i < kPortOptions; ++i) {
        portOptions_[i] = makeOption(QStringLiteral("Option1_%1").arg(i), QString::number(i + 1), portBox);
        portGroup_->addButton(portOptions_[i], i);
        portLayout->addWidget(portOptions_[i], i % 4, i / 4);
    }

    miles_ = makeOption(QStringLiteral("Option2_0"), QStringLiteral("Miles"), b);
    kilometers_ = makeOption(QStringLiteral("Option2_1"), QStringLiteral("Kilometers"), b);
    poundsPerMinute_ = makeOption(QStringLiteral("Option3_0"), QStringLiteral("pounds/min"), b);
    gramsPerSecond_ = makeOption(QStringLiteral("Option3_1"), QStringLiteral("grams/sec"), b);
    degreesF_ = makeOption(QStringLiteral("Option4_0"), QStringLiteral("deg F"), b);
    degreesC_ = makeOption(QStringLiteral("Option4_1"), QStringLiteral("deg C"), b);
    psi_ = makeOption(QStringLiteral("Option5_0"), QStringLiteral("PSI,  inHg"), b);
    kilopascal_ = makeOption(QStringLiteral("Option5_1"), QStringLiteral("kPa"), b);
    auto* groups = new QGridLayout;
    groups->addWidget(portBox, 0, 0, 2, 1);
    groups->addWidget(choiceGroup(QStringLiteral("SPEED UNITS"), miles_, kilometers_, b), 0, 1);
    groups->addWidget(choiceGroup(QStringLiteral("MAF UNITS"), poundsPerMinute_, gramsPerSecond_, b), 0, 2);
    groups->addWidget(choiceGroup(QStringLiteral("TEMP UNITS"), degreesF_, degreesC_, b), 1, 1);
    groups->addWidget(choiceGroup(QStringLiteral("PRESSURE  UNITS"), psi_, kilopascal_, b), 1, 2);

    promptDelay_ = makeBox(QStringLiteral("Text11"), b);
    weight_ = makeBox(QStringLiteral("Text19"), b);
    initMode_ = makeBox(QStringLiteral("Text18"), b);
    auto* boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("SR Time  (Default= 0)"), promptDelay_);
    boxes->addRow(QStringLiteral("Vehicle weight (pounds)"), weight_);
    boxes->addRow(QStringLiteral("Init Mode  (Default= 0)"), initMode_);

    noPortSearch_ = new QCheckBox(QStringLiteral("Disable automatic port search (default= not checked)"), b);
    noPortSearch_->setObjectName(QStringLiteral("Check3"));
    fastPolling_ = new QCheckBox(QStringLiteral("Fast polling"), b);
    fastPolling_->setObjectName(QStringLiteral("fastPolling"));
    fastPolling_->setToolTip(QStringLiteral("Live values from the selected controller only, several per request. "
                                            "Clear it for an adapter that gives wrong or missing values."));
    fasterLine_ = new QCheckBox(QStringLiteral("Faster line rate"), b);
    fasterLine_->setObjectName(QStringLiteral("fasterLine"));
    fasterLine_->setToolTip(QStringLiteral("Raises the serial line's rate for each session where the adapter "
                                           "takes it. Clear it for an adapter that loses the link afterwards."));
    adapterReport_ = new AdapterReportBox(session_, b);
    debug_ = new QCheckBox(QStringLiteral("Debug"), b);
    debug_->setObjectName(QStringLiteral("Check8"));
    debugLogButton_ = namedButton(QStringLiteral("Command19"), QStringLiteral("Debug log"), b);
    saveButton_ = namedButton(QStringLiteral("Command8"), QStringLiteral("SAVE CHANGES"), b);
    cancelButton_ = namedButton(QStringLiteral("Command9"), QStringLiteral("CANCEL CHANGES"), b);

    auto* debugRow = new QHBoxLayout;
    debugRow->addWidget(debug_);
    debugRow->addWidget(debugLogButton_);
    debugRow->addStretch(1);

    auto* actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(saveButton_);
    actions->addWidget(cancelButton_);

    deviceChoice_ = new DeviceChoiceBox(b);

    auto* layout = new QVBoxLayout(b);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(groups);
    layout->addWidget(deviceChoice_);
    layout->addLayout(boxes);
    layout->addWidget(noPortSearch_);
    layout->addWidget(fastPolling_);
    layout->addWidget(fasterLine_);
    layout->addWidget(adapterReport_);
    layout->addLayout(debugRow);
    layout->addStretch(1);
    layout->addLayout(actions);

    connect(saveButton_, &QPushButton::clicked, this, &SetupPanelWidget::save);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { session_.closeSetup(); });
    connect(debugLogButton_, &QPushButton::clicked, this, [this] { session_.openDebugLog(); });
    connect(&session_, &Session::setupChanged, this, &SetupPanelWidget::render);
    connect(&session_.navigation(), &Navigation::buttonsChanged, this, &SetupPanelWidget::renderDebugLog);

    renderPortNames();
    render();
    renderDebugLog();
}

void SetupPanelWidget::renderPortNames() {
    for (int i = 0; i < kPortOptions; ++i) {
        QString device = session_.link().port().devicePath(i + 1);
        if (device.startsWith(QLatin1String("/dev/"))) device = device.mid(5);
        QString caption = QString::number(i + 1);
        if (!device.isEmpty()) caption += QStringLiteral("  (") + device + QLatin1Char(')');
        portOptions_[i]->setText(caption);
    }
}

void SetupPanelWidget::render() {
    const SetupPanelState& state = session_.setupForm();
    renderPortNames();

    // A port without a button (set by hand in the file) shows no option selected.
    portGroup_->setExclusive(false);
    for (int i = 0; i < kPortOptions; ++i)
        portOptions_[i]->setChecked(i == state.portOption);
    portGroup_->setExclusive(true);

    promptDelay_->setText(state.promptDelayText);
    check(miles_, kilometers_, state.miles);
    check(poundsPerMinute_, gramsPerSecond_, state.poundsPerMinute);
    noPortSearch_->setChecked(state.noPortSearch);
    check(degreesF_, degreesC_, state.degreesF);
    check(psi_, kilopascal_, state.psi);
    weight_->setText(state.weightText);
    initMode_->setText(state.initModeText);
    debug_->setChecked(state.debug);
    deviceChoice_->setDevice(state.device);
    fastPolling_->setChecked(state.fastPolling);
    fasterLine_->setChecked(state.fasterLine);
    adapterReport_->render();
    cancelButton_->setFocus();
}

void SetupPanelWidget::renderDebugLog() {
    debugLogButton_->setVisible(session_.navigation().buttons().debugLogVisible);
}

SetupPanelState SetupPanelWidget::values() const {
    SetupPanelState state;
    state.portOption = -1;
    for (int i = 0; i < kPortOptions && state.portOption < 0; ++i)
        if (portOptions_[i]->isChecked()) state.portOption = i;
    state.promptDelayText = promptDelay_->text();
    state.miles = miles_->isChecked();
    state.poundsPerMinute = poundsPerMinute_->isChecked();
    state.noPortSearch = noPortSearch_->isChecked();
    state.degreesF = degreesF_->isChecked();
    state.psi = psi_->isChecked();
    state.weightText = weight_->text();
    state.initModeText = initMode_->text();
    state.debug = debug_->isChecked();
    state.device = deviceChoice_->device();
    state.fastPolling = fastPolling_->isChecked();
    state.fasterLine = fasterLine_->isChecked();
    return state;
}

void SetupPanelWidget::save() {
    session_.setSetupForm(values());
    session_.saveSetup();
}

} // namespace zelcor
