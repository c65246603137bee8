#include "ui/live/graphpanel.h"

#include "live/livedata.h"
#include "ui/live/channelcombo.h"
#include "ui/live/plotwidget.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace zelcor {

namespace {
// An axis end as a number reads: "8000." shows as "8000"; "95.00" stays as it is.
QString axisCaption(QString caption) {
    if (caption.endsWith(QLatin1Char('.'))) caption.chop(1);
    return caption;
}
} // namespace

GraphPanel::GraphPanel(LiveData& live, QWidget* parent) : QWidget(parent), live_(live) {
    setObjectName(QStringLiteral("graphPanel"));
    plot_ = new PlotWidget(live_, this);

    axisRepeatTimer_ = new QTimer(this);
    axisRepeatTimer_->setObjectName(QStringLiteral("Timer2"));
    axisRepeatTimer_->setTimerType(Qt::PreciseTimer);
    connect(axisRepeatTimer_, &QTimer::timeout, this, &GraphPanel::repeatAxisButton);

    auto* top = new QHBoxLayout;
    for (int t = 0; t < 2; ++t) {
        enabled_[size_t(t)] = new QCheckBox(this);
        enabled_[size_t(t)]->setObjectName(indexedName("Check6", t));
        channel_[size_t(t)] = new QComboBox(this);
        channel_[size_t(t)]->setObjectName(indexedName("Combo9", t));
        channel_[size_t(t)]->setMinimumWidth(170);
        channel_[size_t(t)]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        // The selector wears its trace's colour.
        QPalette palette = channel_[size_t(t)]->palette();
        palette.setColor(QPalette::ButtonText, PlotWidget::traceColour(t).darker(t == 0 ? 100 : 160));
        palette.setColor(QPalette::Text, PlotWidget::traceColour(t).darker(t == 0 ? 100 : 160));
        channel_[size_t(t)]->setPalette(palette);
        value_[size_t(t)] = namedLabel(indexedName("Label42", t), QStringLiteral("0.0"), this);
        value_[size_t(t)]->setMinimumWidth(90);

        if (t == 1) top->addStretch(1);
        top->addWidget(enabled_[size_t(t)]);
        top->addWidget(channel_[size_t(t)], 1);
        top->addWidget(value_[size_t(t)]);

        connect(channel_[size_t(t)], &QComboBox::activated, this,
                [this, t](int index) { live_.chooseTraceChannel(t, index); });
        connect(enabled_[size_t(t)], &QCheckBox::clicked, this,
                [this, t](bool checked) { live_.setTraceEnabled(t, checked); });
    }

    auto* middle = new QHBoxLayout;
    middle->addWidget(buildAxis(0));
    middle->addWidget(plot_, 1);
    middle->addWidget(buildAxis(1));

    auto* bottom = new QHBoxLayout;
    auto* slower = new QPushButton(QStringLiteral("-"), this);
    slower->setObjectName(QStringLiteral("Command18_0"));
    auto* faster = new QPushButton(QStringLiteral("+"), this);
    faster->setObjectName(QStringLiteral("Command18_1"));
    for (QPushButton* b : {slower, faster}) {
        b->setAutoDefault(false);
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("+")) + 24);
    }
    connect(slower, &QPushButton::clicked, this, [this] { live_.zoomTime(0); });
    connect(faster, &QPushButton::clicked, this, [this] { live_.zoomTime(1); });
    points_ = new QCheckBox(QStringLiteral("Points"), this);
    points_->setObjectName(QStringLiteral("Check5"));
    connect(points_, &QCheckBox::clicked, this, [this](bool checked) { live_.setPoints(checked); });
    sampleRate_ = new QLineEdit(this);
    sampleRate_->setObjectName(QStringLiteral("Text17"));
    sampleRate_->setReadOnly(true);
    sampleRate_->setFixedWidth(60);

    bottom->addStretch(1);
    bottom->addWidget(slower);
    bottom->addWidget(namedLabel(QStringLiteral("Label43"), QStringLiteral("zoom"), this));
    bottom->addWidget(faster);
    bottom->addSpacing(24);
    bottom->addWidget(points_);
    bottom->addStretch(1);
    bottom->addWidget(sampleRate_);
    bottom->addWidget(namedLabel(QStringLiteral("Label44"), QStringLiteral("Samples/sec"), this));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(&live_, &LiveData::channelsChanged, this, &GraphPanel::renderChannels);
    connect(&live_, &LiveData::graphsChanged, this, &GraphPanel::render);
    renderChannels();
}

// The axis of trace `side` (0 left, 1 right): its two end labels, and "+"/"-" buttons
// for the top, the zoom and the bottom.
QWidget* GraphPanel::buildAxis(int side) {
    auto* axis = new QWidget(this);
    auto* grid = new QGridLayout(axis);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    const int first = side * 4;    // 0 (top +) .. 3 (bottom -) on the left, 4 .. 7 on the right
    const int zoom = 8 + side * 2; // 8/9 left, 10/11 right
    const int labelColumn = side == 0 ? 0 : 2;
    const int buttonColumn = side == 0 ? 1 : 0;

    auto button = [&](int i) {
        auto* b = new QPushButton(i % 2 == 0 ? QStringLiteral("+") : QStringLiteral("-"), axis);
        b->setObjectName(indexedName("Command12", i));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(22, 20);
        connect(b, &QPushButton::pressed, this, [this, i] { pressAxisButton(i); });
        connect(b, &QPushButton::released, this, &GraphPanel::releaseAxisButton);
        axisButton_[size_t(i)] = b;
        return b;
    };
    auto pair = [&](int plus) {
        auto* box = new QWidget(axis);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(1);
        QPushButton* a = button(plus);
        QPushButton* b = button(plus + 1);
        a->setParent(box);
        b->setParent(box);
        row->addWidget(a);
        row->addWidget(b);
        return box;
    };

    axisLabel_[size_t(side * 2)] = namedLabel(indexedName("gl", side * 2), QStringLiteral("0.0"), axis);
    axisLabel_[size_t(side * 2 + 1)] = namedLabel(indexedName("gl", side * 2 + 1), QStringLiteral("0.0"), axis);
    for (int k = 0; k < 2; ++k) {
        QLabel* label = axisLabel_[size_t(side * 2 + k)];
        label->setAlignment((side == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-0000.00")));
    }
    grid->addWidget(axisLabel_[size_t(side * 2)], 0, labelColumn);
    grid->addWidget(pair(first), 0, buttonColumn);
    grid->setRowStretch(1, 1);
    grid->addWidget(namedLabel(indexedName("zoomLabel", side), QStringLiteral("zoom"), axis), 2, labelColumn,
                    (side == 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    grid->addWidget(pair(zoom), 2, buttonColumn);
    grid->setRowStretch(3, 1);
    grid->addWidget(axisLabel_[size_t(side * 2 + 1)], 4, labelColumn);
    grid->addWidget(pair(first + 2), 4, buttonColumn);
    return axis;
}

void GraphPanel::pressAxisButton(int button) {
    repeat_.press(button);
    repeatAxisButton();
}

void GraphPanel::repeatAxisButton() {
    const int button = repeat_.tick();
    if (button < 0) {
        axisRepeatTimer_->stop();
        return;
    }
    live_.adjustAxis(button);
    axisRepeatTimer_->start(repeat_.interval());
}

void GraphPanel::releaseAxisButton() {
    repeat_.release();
    axisRepeatTimer_->stop();
    axisRepeatTimer_->setInterval(repeat_.interval());
    plot_->setFocus(Qt::OtherFocusReason);
}

void GraphPanel::renderChannels() {
    for (int t = 0; t < 2; ++t) {
        showChannelNames(channel_[size_t(t)], live_.trace(t).channel.entries);
    }
    render();
}

void GraphPanel::render() {
    for (int t = 0; t < 2; ++t) {
        const GraphTrace& trace = live_.trace(t);
        QComboBox* combo = channel_[size_t(t)];
        const int index = trace.channel.index < combo->count() ? trace.channel.index : -1;
        if (combo->currentIndex() != index) combo->setCurrentIndex(index);
        enabled_[size_t(t)]->setChecked(trace.enabled);
        value_[size_t(t)]->setText(trace.value);
    }
    const GraphModel& graph = live_.graph();
    for (int k = 0; k < 4; ++k)
        axisLabel_[size_t(k)]->setText(axisCaption(graph.axisLabel(k).caption));
    points_->setChecked(live_.points());
    sampleRate_->setText(live_.graphPassRate());
    plot_->update();
}

} // namespace zelcor
