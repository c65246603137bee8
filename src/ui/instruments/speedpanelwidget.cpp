#include "ui/instruments/speedpanelwidget.h"

#include "config/settings.h"
#include "instruments/instruments.h"
#include "ui/instruments/dialface.h"
#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelcor {

namespace {

constexpr int kDialWidth = 300;

// Design captions of the speed scale labels: "0" to "160".
QStringList speedCaptions() {
    QStringList captions;
    for (int k = 0; k <= 16; ++k)
        captions << QString::number(10 * k);
    return captions;
}

QLineEdit* entry(const QString& name, const QString& text, bool readOnly, QWidget* parent) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(readOnly);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("Ready00")) + 12);
    if (readOnly) box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLabel* caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

void showText(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

} // namespace

SpeedPanelWidget::SpeedPanelWidget(Instruments& instruments, const Settings& settings, PanelFrame* frame)
    : QWidget(frame->body()), instruments_(instruments), settings_(settings),
      dial_(new DialFace(QStringLiteral("Picture1"), QStringLiteral("Label12"), speedCaptions(), kDialWidth, this)) {
    setObjectName(QStringLiteral("speedPanel"));
    unitCaption_ = dial_->addInsetLabel(QStringLiteral("Label13"), 0.32, 12, false);
    readout_ = dial_->addInsetLabel(QStringLiteral("Label14"), 0.62, 20, true);

    const InstrumentPanels& state = instruments_.panels();
    startSpeed_ = entry(QStringLiteral("Text6"), state.startText, false, this);
    endSpeed_ = entry(QStringLiteral("Text7"), state.endText, false, this);
    elapsed_ = entry(QStringLiteral("Text8"), state.test.elapsedText(), true, this);
    spread_ = entry(QStringLiteral("Text9"), state.test.spreadText(), true, this);
    resetArm_ = new QPushButton(QStringLiteral("Reset/Arm"), this);
    resetArm_->setObjectName(QStringLiteral("Command10"));
    resetArm_->setAutoDefault(false);

    auto* heading = caption(QStringLiteral("Label15"), QStringLiteral("Acceleration Test"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);

    auto* test = new QGridLayout;
    test->addWidget(heading, 0, 0, 1, 3, Qt::AlignHCenter);
    test->addWidget(startSpeed_, 1, 0);
    test->addWidget(caption(QStringLiteral("Label16"), QStringLiteral("to"), this), 1, 1, Qt::AlignHCenter);
    test->addWidget(endSpeed_, 1, 2);
    test->addWidget(caption(QStringLiteral("Label17"), QStringLiteral("Time"), this), 2, 0, Qt::AlignRight);
    test->addWidget(elapsed_, 2, 1, 1, 2);
    test->addWidget(caption(QStringLiteral("Label19"), QStringLiteral("+/ -"), this), 3, 0, Qt::AlignRight);
    test->addWidget(spread_, 3, 1, 1, 2);
    test->addWidget(resetArm_, 4, 0, 1, 3);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(dial_, 0, Qt::AlignVCenter);
    layout->addSpacing(fontMetrics().averageCharWidth() * 6);
    auto* testColumn = new QVBoxLayout;
    testColumn->addStretch(1);
    testColumn->addLayout(test);
    testColumn->addStretch(1);
    layout->addLayout(testColumn);
    layout->addStretch(1);

    fillPanelBody(frame, this);

    connect(startSpeed_, &QLineEdit::textEdited, this,
            [this](const QString& text) { instruments_.setStartText(text); });
    connect(endSpeed_, &QLineEdit::textEdited, this, [this](const QString& text) { instruments_.setEndText(text); });
    connect(resetArm_, &QPushButton::clicked, this, [this] { instruments_.arm(settings_.milesPerHour); });
    connect(&instruments_, &Instruments::speedChanged, this, &SpeedPanelWidget::render);
    resetDial();
}

void SpeedPanelWidget::resetDial() {
    const DialUnit unit = settings_.milesPerHour ? DialUnit::MPH : DialUnit::KPH;
    drawScale(unit);
    instruments_.showSpeed(0, unit);
}

void SpeedPanelWidget::drawScale(DialUnit unit) {
    dial_->drawScale(unit);
    unitCaption_->setText(dial_->unitCaption());
}

void SpeedPanelWidget::render() {
    const InstrumentPanels& state = instruments_.panels();
    // The needle follows the unit setting at once; the scale follows the needle, so the
    // labels, the unit caption and the readout always speak the same unit.
    if (dial_->scaleUnit() != state.speedUnit) drawScale(state.speedUnit);
    dial_->placeNeedle(state.speedUnit, state.speedValue);
    readout_->setText(state.speedReadout);
    showText(startSpeed_, state.startText);
    showText(endSpeed_, state.endText);
    showText(elapsed_, state.test.elapsedText());
    showText(spread_, state.test.spreadText());
}

} // namespace zelcor
