#include "ui/logging/replaywindow.h"

#include "logging/tracereplay.h"
#include "ui/logging/replaygauges.h"
#include "ui/logging/replayplot.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace zelcor {

namespace {

QLineEdit* makeField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

void setShownText(QLineEdit* field, const QString& text) {
    if (field->text() == text) return;
    field->setText(text);
    field->setCursorPosition(0);
}

QString skippedText(int lines) {
    return lines == 1 ? QStringLiteral("1 line could not be read and was skipped.")
                      : QStringLiteral("%1 lines could not be read and were skipped.").arg(lines);
}

} // namespace

ReplayWindow::ReplayWindow(RecordingPlayer* player, QWidget* parent)
    : ReplayWindow(player->controls(), player, nullptr, parent) {}

ReplayWindow::ReplayWindow(TraceReplay& traceReplay, QWidget* parent)
    : ReplayWindow(traceReplay.controls(), nullptr, &traceReplay, parent) {}

ReplayWindow::ReplayWindow(ReplayControls& controls, RecordingPlayer* player, TraceReplay* traceReplay, QWidget* parent)
    : QWidget(parent, Qt::Window), controls_(controls), player_(player), traceReplay_(traceReplay) {
    setObjectName(QStringLiteral("replay"));
    setWindowTitle(player_ ? QStringLiteral("Replay - ") + player_->title().toUpper() : QStringLiteral("Replay"));
    if (player_) {
        player_->setParent(this);
        gauges_ = new ReplayGauges(*player_, this);
    }
    playStarter_ = new QTimer(this);
    playStarter_->setObjectName(QStringLiteral("Timer1"));
    playStarter_->setSingleShot(true);
    playStarter_->setInterval(0);
    build();
    wire();
    render();
}

void ReplayWindow::start() {
    show();
    raise();
    activateWindow();
    if (player_) playStarter_->start();
}

// ---------------------------------------------------------------------------------------
// Layout

void ReplayWindow::build() {
    auto* layout = new QVBoxLayout(this);

    if (player_) {
        fileTitle_ = makeField(QStringLiteral("text15"), this);
        marks_ = new QComboBox(this);
        marks_->setObjectName(QStringLiteral("Combo1"));
        marks_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        marks_->setMinimumContentsLength(16);
        marks_->setToolTip(QStringLiteral("Marks of the recording"));
        jump_ = namedButton(QStringLiteral("Command2"), QStringLiteral("Jump to Mark"), this);
        auto* fileRow = new QHBoxLayout;
        fileRow->addWidget(new QLabel(QStringLiteral("File"), this));
        fileRow->addWidget(fileTitle_, 1);
        fileRow->addSpacing(12);
        fileRow->addWidget(marks_, 1);
        fileRow->addWidget(jump_);
        layout->addLayout(fileRow);
    }

    layout->addWidget(buildControls());

    if (player_) {
        layout->addWidget(buildSlots());
        plot_ = new ReplayPlot(*player_, this);
        layout->addWidget(plot_, 1);
    }

    skipped_ = namedLabel(QStringLiteral("skippedLabel"), QString(), this);
    QPalette warning = skipped_->palette();
    warning.setColor(QPalette::WindowText, QColor(192, 0, 0));
    skipped_->setPalette(warning);
    skipped_->hide();
    close_ = namedButton(QStringLiteral("Command1"), QStringLiteral("Close"), this);
    close_->setMinimumWidth(close_->fontMetrics().horizontalAdvance(QStringLiteral("Jump to Mark")) + 16);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(skipped_, 1);
    bottom->addStretch(player_ ? 0 : 1);
    bottom->addWidget(close_);
    layout->addLayout(bottom);

    if (!player_) layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* ReplayWindow::buildControls() {
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("replayControls"));
    play_ = namedButton(QStringLiteral("playbutton"), QStringLiteral("play"), box);
    step_ = namedButton(QStringLiteral("stepbutton"), QStringLiteral("step"), box);
    stop_ = namedButton(QStringLiteral("stopbutton"), QStringLiteral("stop"), box);
    fast_ = namedButton(QStringLiteral("fastbutton"), QStringLiteral("fast"), box);
    for (QPushButton* button : {play_, step_, stop_})
        button->setCheckable(true);
    play_->setToolTip(QStringLiteral("Play; press again to pause"));
    step_->setToolTip(QStringLiteral("Show the next record"));
    fast_->setToolTip(QStringLiteral("Hold down to play without waiting"));
    const int buttonWidth = play_->fontMetrics().horizontalAdvance(QStringLiteral("play")) * 2 + 8;
    for (QPushButton* button : {play_, step_, stop_, fast_})
        button->setMinimumWidth(buttonWidth);

    speed_ = new QListWidget(box);
    speed_->setObjectName(QStringLiteral("List1"));
    for (int i = 0; i < kReplaySpeeds; ++i)
        speed_->addItem(replaySpeedText(i));
    speed_->setToolTip(QStringLiteral("Replay speed"));
    speed_->setSelectionMode(QAbstractItemView::SingleSelection);
    speed_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    speed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    speed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // One item shows: the one at the top is the speed.
    speed_->setFixedHeight(speed_->sizeHintForRow(0) + 2 * speed_->frameWidth());
    speed_->setFixedWidth(speed_->fontMetrics().horizontalAdvance(QStringLiteral("0.1x")) +
                          speed_->fontMetrics().averageCharWidth() * 3 +
                          speed_->verticalScrollBar()->sizeHint().width() + 2 * speed_->frameWidth());

    time_ = namedLabel(QStringLiteral("Label1"), QString(), box);
    time_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    time_->setMinimumWidth(time_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00 PM")) + 4);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {play_, step_, stop_, fast_})
        buttons->addWidget(button);
    auto* speedAndTime = new QHBoxLayout;
    speedAndTime->addWidget(new QLabel(QStringLiteral("speed"), box));
    speedAndTime->addWidget(speed_);
    speedAndTime->addSpacing(12);
    speedAndTime->addWidget(time_, 1);

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    if (player_) { // one row in the wide window of a recording
        auto* row = new QHBoxLayout;
        row->addLayout(buttons);
        row->addSpacing(12);
        row->addLayout(speedAndTime, 1);
        layout->addLayout(row);
    } else { // the trace replay's window stays narrow, to fit beside the main window
        layout->addLayout(buttons);
        layout->addLayout(speedAndTime);
    }
    if (player_) {
        lastMark_ = namedLabel(QStringLiteral("Label2"), QString(), box);
        lastMark_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* markRow = new QHBoxLayout;
        markRow->addWidget(new QLabel(QStringLiteral("last mark:"), box));
        markRow->addWidget(lastMark_, 1);
        layout->addLayout(markRow);
    }
    return box;
}

QWidget* ReplayWindow::buildSlots() {
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("replaySlots"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Channel"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Value"), box), 0, 2);

    const int swatch = fontMetrics().height() / 2 + 2;
    for (int i = 0; i < kReplaySlots; ++i) {
        legend_[size_t(i)] = new QLabel(box);
        legend_[size_t(i)]->setFixedSize(swatch, swatch);
        legend_[size_t(i)]->setAutoFillBackground(true);
        QPalette colour = legend_[size_t(i)]->palette();
        colour.setColor(QPalette::Window, ReplayPlot::slotColour(i));
        legend_[size_t(i)]->setPalette(colour);
        QSizePolicy keep = legend_[size_t(i)]->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        legend_[size_t(i)]->setSizePolicy(keep);
        names_[size_t(i)] = makeField(indexedName("Text1", i), box);
        names_[size_t(i)]->setMinimumWidth(fontMetrics().averageCharWidth() * 24);
        values_[size_t(i)] = makeField(indexedName("Text5", i), box);
        values_[size_t(i)]->setMinimumWidth(fontMetrics().averageCharWidth() * 28);
        showGauge_[size_t(i)] = new QCheckBox(QStringLiteral("Show Gauge"), box);
        showGauge_[size_t(i)]->setObjectName(indexedName("Check1", i));
        plotBox_[size_t(i)] = new QCheckBox(QStringLiteral("Plot on Graph"), box);
        plotBox_[size_t(i)]->setObjectName(indexedName("Check2", i));

        grid->addWidget(legend_[size_t(i)], i + 1, 0, Qt::AlignCenter);
        grid->addWidget(names_[size_t(i)], i + 1, 1);
        grid->addWidget(values_[size_t(i)], i + 1, 2);
        grid->addWidget(showGauge_[size_t(i)], i + 1, 3);
        grid->addWidget(plotBox_[size_t(i)], i + 1, 4);

        connect(showGauge_[size_t(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) { player_->setShowGauge(i, checked); });
        connect(plotBox_[size_t(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) { player_->setPlot(i, checked); });
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    return box;
}

void ReplayWindow::wire() {
    connect(play_, &QPushButton::clicked, this, &ReplayWindow::playClicked);
    connect(step_, &QPushButton::clicked, this, &ReplayWindow::stepClicked);
    connect(stop_, &QPushButton::clicked, this, &ReplayWindow::stopClicked);
    connect(fast_, &QPushButton::pressed, this, &ReplayWindow::fastPressed);
    connect(fast_, &QPushButton::released, this, &ReplayWindow::fastReleased);
    connect(speed_, &QListWidget::currentRowChanged, this, &ReplayWindow::speedChosen);
    connect(speed_->verticalScrollBar(), &QScrollBar::valueChanged, this, &ReplayWindow::speedChosen);
    connect(close_, &QPushButton::clicked, this, &ReplayWindow::closeRequested);

    if (traceReplay_) {
        connect(traceReplay_, &TraceReplay::changed, this, &ReplayWindow::render);
        return;
    }
    connect(playStarter_, &QTimer::timeout, this, [this] { player_->runPlayLoop(); });
    connect(marks_, &QComboBox::activated, this, [this](int index) { player_->setMarkIndex(index); });
    connect(jump_, &QPushButton::clicked, this, [this] { player_->jumpToMark(); });
    connect(player_, &RecordingPlayer::controlsChanged, this, &ReplayWindow::renderControls);
    connect(player_, &RecordingPlayer::labelsChanged, this, &ReplayWindow::renderLabels);
    connect(player_, &RecordingPlayer::slotsChanged, this, &ReplayWindow::renderSlots);
    connect(player_, &RecordingPlayer::slotChanged, this, &ReplayWindow::renderValue);
    connect(player_, &RecordingPlayer::plotted, plot_, qOverload<>(&QWidget::update));
    connect(player_, &RecordingPlayer::closed, this, &ReplayWindow::playerClosed);
}

// ---------------------------------------------------------------------------------------
// User input

void ReplayWindow::playClicked(bool checked) {
    if (player_) {
        player_->playClicked(checked); // runs the play loop when it has ended
        return;
    }
    controls_.setPlay(checked);
    controlsEdited();
}

void ReplayWindow::stepClicked(bool checked) {
    if (player_) {
        player_->stepClicked(checked);
        return;
    }
    controls_.setStep(checked);
    controlsEdited();
}

void ReplayWindow::stopClicked(bool checked) {
    controls_.setStop(checked);
    controlsEdited();
}

void ReplayWindow::fastPressed() {
    if (player_) {
        player_->fastClicked(true);
        return;
    }
    controls_.setFast(true);
    controlsEdited();
}

void ReplayWindow::fastReleased() {
    if (player_)
        player_->fastClicked(false);
    else {
        controls_.setFast(false);
        controlsEdited();
    }
    play_->setFocus(Qt::OtherFocusReason);
}

void ReplayWindow::speedChosen(int index) {
    if (rendering_ || index < 0 || index >= kReplaySpeeds || index == controls_.speedIndex) return;
    controls_.speedIndex = index;
    controlsEdited();
}

void ReplayWindow::controlsEdited() {
    if (traceReplay_)
        traceReplay_->controlsEdited(); // re-renders through its changed signal
    else
        renderControls();
}

void ReplayWindow::closeRequested() {
    if (traceReplay_) {
        close();
        return;
    }
    player_->close(); // the window goes when the player has obeyed
}

void ReplayWindow::closeEvent(QCloseEvent* event) {
    if (player_) {
        event->ignore();
        player_->close();
        return;
    }
    event->accept();
    traceReplay_->end();
}

void ReplayWindow::playerClosed() {
    playStarter_->stop();
    gauges_->releaseAll();
    hide();
    deleteLater();
}

// ---------------------------------------------------------------------------------------
// Rendering

void ReplayWindow::render() {
    renderControls();
    renderLabels();
    if (player_) renderSlots();
}

void ReplayWindow::renderControls() {
    rendering_ = true;
    play_->setChecked(controls_.play);
    step_->setChecked(controls_.step);
    stop_->setChecked(controls_.stop);
    const int speed = std::clamp(controls_.speedIndex, 0, kReplaySpeeds - 1);
    if (speed_->currentRow() != speed) speed_->setCurrentRow(speed);
    speed_->scrollToItem(speed_->item(speed), QAbstractItemView::PositionAtTop);
    rendering_ = false;
}

void ReplayWindow::renderLabels() {
    if (traceReplay_) {
        time_->setText(traceReplay_->passTime());
        return;
    }
    setShownText(fileTitle_, player_->title());
    if (shownMarks_ != player_->marks()) {
        shownMarks_ = player_->marks();
        marks_->clear();
        marks_->addItems(shownMarks_);
    }
    if (marks_->currentIndex() != player_->markIndex()) marks_->setCurrentIndex(player_->markIndex());
    const bool hasMarks = !player_->marks().isEmpty();
    marks_->setEnabled(hasMarks);
    jump_->setEnabled(hasMarks);
    time_->setText(player_->recordTime());
    lastMark_->setText(player_->markText());
    const int skipped = player_->skippedLines();
    skipped_->setText(skipped > 0 ? skippedText(skipped) : QString());
    skipped_->setVisible(skipped > 0);
}

void ReplayWindow::renderSlots() {
    for (int i = 0; i < kReplaySlots; ++i) {
        const ReplaySlot& slot = player_->replaySlots()[size_t(i)];
        setShownText(names_[size_t(i)], slot.name);
        renderValue(i);
        showGauge_[size_t(i)]->setChecked(slot.showGauge);
        showGauge_[size_t(i)]->setEnabled(slot.used());
        plotBox_[size_t(i)]->setChecked(slot.plot);
        plotBox_[size_t(i)]->setEnabled(slot.used());
        legend_[size_t(i)]->setVisible(slot.plot);
    }
    plot_->update();
}

void ReplayWindow::renderValue(int slot) {
    if (slot < 0 || slot >= kReplaySlots) return;
    setShownText(values_[size_t(slot)], player_->replaySlots()[size_t(slot)].value);
}

} // namespace zelcor
