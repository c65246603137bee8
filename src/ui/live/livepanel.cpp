#include "ui/live/livepanel.h"

#include "live/livedata.h"
#include "ui/live/activitylamp.h"
#include "ui/live/channelcombo.h"
#include "ui/live/gaugewindows.h"
#include "ui/namedwidgets.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace zelcor {

LivePanel::LivePanel(LiveData& live, const QString& programFolder, QWidget* parent) : QWidget(parent), live_(live) {
    setObjectName(QStringLiteral("livePanel"));

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(2);
    auto* columnE = namedLabel(QStringLiteral("Label30"), QStringLiteral("E"), this);
    auto* columnG = namedLabel(QStringLiteral("Label31"), QStringLiteral("G"), this);
    rows->addWidget(columnE, 0, 0, Qt::AlignHCenter);
    rows->addWidget(columnG, 0, 1, Qt::AlignHCenter);

    const int comboWidth = 3075 / 15;
    const int valueWidth = 4335 / 15;
    for (int i = 0; i < kLivePanelRows; ++i) {
        enable_[size_t(i)] = new QCheckBox(this);
        enable_[size_t(i)]->setObjectName(indexedName("Check1", i));
        enable_[size_t(i)]->setToolTip(QStringLiteral("Enable Monitoring"));
        showGauge_[size_t(i)] = new QCheckBox(this);
        showGauge_[size_t(i)]->setObjectName(indexedName("Check2", i));
        showGauge_[size_t(i)]->setToolTip(QStringLiteral("Show Gauge"));
        channel_[size_t(i)] = new QComboBox(this);
        channel_[size_t(i)]->setObjectName(indexedName("Combo1", i));
        channel_[size_t(i)]->setMinimumWidth(comboWidth);
        channel_[size_t(i)]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lamp_[size_t(i)] = new ActivityLamp(this);
        lamp_[size_t(i)]->setObjectName(indexedName("Shape2", i));
        value_[size_t(i)] = new QLineEdit(this);
        value_[size_t(i)]->setObjectName(indexedName("Text5", i));
        value_[size_t(i)]->setReadOnly(true);
        value_[size_t(i)]->setMinimumWidth(valueWidth);

        rows->addWidget(enable_[size_t(i)], i + 1, 0, Qt::AlignHCenter);
        rows->addWidget(showGauge_[size_t(i)], i + 1, 1, Qt::AlignHCenter);
        rows->addWidget(channel_[size_t(i)], i + 1, 2);
        rows->addWidget(lamp_[size_t(i)], i + 1, 3, Qt::AlignCenter);
        rows->addWidget(value_[size_t(i)], i + 1, 4);
        interval_[size_t(i)] = new QComboBox(this);
        interval_[size_t(i)]->setObjectName(QStringLiteral("rowInterval%1").arg(i));
        interval_[size_t(i)]->setToolTip(QStringLiteral("How often the row is asked: by itself, as often as its "
                                                        "value changes, or on every pass, 2nd or 10th pass"));
        for (const int choice : RowSchedule::kChoices)
            interval_[size_t(i)]->addItem(choice == 0   ? QStringLiteral("auto")
                                          : choice == 1 ? QStringLiteral("every pass")
                                                        : QStringLiteral("every %1th").arg(choice),
                                          choice);
        interval_[size_t(i)]->setItemText(2, QStringLiteral("every 2nd"));
        rows->addWidget(interval_[size_t(i)], i + 1, 5);

        connect(enable_[size_t(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) { live_.setRowEnabled(i, checked); });
        connect(showGauge_[size_t(i)], &QCheckBox::clicked, this,
                [this, i](bool checked) { live_.setShowGauge(i, checked); });
        connect(channel_[size_t(i)], &QComboBox::activated, this,
                [this, i](int index) { live_.chooseRowChannel(i, index); });
        connect(interval_[size_t(i)], &QComboBox::activated, this,
                [this, i](int index) { live_.setRowInterval(i, interval_[size_t(i)]->itemData(index).toInt()); });
    }
    rows->setColumnStretch(2, 2);
    rows->setColumnStretch(4, 3);

    // Below the rows: the legends of the two box columns, the pass rate, and the
    // data-logging group.
    enableLegend_ = namedLabel(QStringLiteral("Label32"), QStringLiteral("Enable Monitoring"), this);
    gaugeLegend_ = namedLabel(QStringLiteral("Label33"), QStringLiteral("Show Gauge"), this);
    passRate_ = new QLineEdit(this);
    passRate_->setObjectName(QStringLiteral("Text12"));
    passRate_->setReadOnly(true);
    passRate_->setFixedWidth(passRate_->fontMetrics().horizontalAdvance(QStringLiteral("888.8 /sec, 888 %")) + 12);
    passRate_->setToolTip(QStringLiteral("Passes per second, and how near they come to the most the line, the "
                                         "adapter and the controller allow"));
    auto* rateLabel = namedLabel(QStringLiteral("Label34"), QStringLiteral("Sample Rate"), this);

    auto* legends = new QVBoxLayout;
    legends->setContentsMargins(48, 4, 0, 0);
    // "Show Gauge" on top, so that the two joining lines do not cross.
    legends->addWidget(gaugeLegend_);
    legends->addWidget(enableLegend_);
    auto* rate = new QHBoxLayout;
    rate->addWidget(rateLabel);
    rate->addWidget(passRate_);
    rate->addStretch(1);
    legends->addLayout(rate);
    gauges_ = new GaugeWindows(live_, this, programFolder);
    tileGauges_ = new QAction(QStringLiteral("Tile gauges"), this);
    tileGauges_->setToolTip(QStringLiteral("Put the gauge windows back in order beside the main window"));
    connect(tileGauges_, &QAction::triggered, gauges_, &GaugeWindows::tile);
    auto* tile = new QToolButton(this);
    tile->setObjectName(QStringLiteral("TileGauges"));
    tile->setDefaultAction(tileGauges_);
    auto* tileRow = new QHBoxLayout;
    tileRow->addWidget(tile);
    tileRow->addStretch(1);
    legends->addLayout(tileRow);
    legends->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(legends, 1);
    bottom->addWidget(buildLogging(), 0, Qt::AlignTop);

    auto* controls = new QVBoxLayout;
    controls->addLayout(rows);
    controls->addLayout(bottom);
    controls->addStretch(1);
    // The controls keep to the width they need at the left; the panel's room on their right
    // is where gauges go when the screen has no room beside the window.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addStretch(1);

    connect(&live_, &LiveData::channelsChanged, this, &LivePanel::renderChannels);
    connect(&live_, &LiveData::rowChanged, this, &LivePanel::renderRow);
    connect(&live_, &LiveData::gaugesClosed, this, &LivePanel::render);
    connect(&live_, &LiveData::livePanelChanged, this, &LivePanel::render);
    renderChannels();
    renderLogging();
}

// The data-logging group: the chosen file's name and File, Start / Mark, Stop.
QWidget* LivePanel::buildLogging() {
    auto* group = new QWidget(this);
    group->setObjectName(QStringLiteral("loggingGroup"));
    loggingLabel_ = namedLabel(QStringLiteral("Label38"), QStringLiteral(" Data Logging"), group);
    QFont bold = loggingLabel_->font();
    bold.setBold(true);
    loggingLabel_->setFont(bold);
    logFile_ = namedButton(QStringLiteral("Command14"), QStringLiteral("File"), group);
    logStart_ = namedButton(QStringLiteral("Command15"), QStringLiteral("Start / Mark"), group);
    logStop_ = namedButton(QStringLiteral("Command16"), QStringLiteral("Stop"), group);
    logName_ = new QLineEdit(group);
    logName_->setObjectName(QStringLiteral("text15"));
    logName_->setReadOnly(true);
    logState_ = namedLabel(QStringLiteral("LogState"), QString(), group);
    logState_->setWordWrap(true);
    logState_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(logFile_, &QPushButton::clicked, this, [this] { live_.dataLog().chooseFile(); });
    connect(logStart_, &QPushButton::clicked, this, [this] { live_.startOrMarkLog(); });
    connect(logStop_, &QPushButton::clicked, this, [this] { live_.dataLog().stop(); });
    connect(&live_.dataLog(), &DataLog::changed, this, &LivePanel::renderLogging);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(logFile_);
    buttons->addWidget(logStart_);
    buttons->addWidget(logStop_);
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(loggingLabel_);
    layout->addWidget(logName_);
    layout->addLayout(buttons);
    layout->addWidget(logState_);
    return group;
}

// While a log runs its channels stay as they are, so the header holds for every row.
void LivePanel::renderLogging() {
    const DataLog& log = live_.dataLog();
    logName_->setText(log.title());
    logName_->setToolTip(log.path());
    QString path = QDir::toNativeSeparators(QFileInfo(log.path()).absoluteFilePath());
    path.replace(QDir::separator(), QString(QDir::separator()) + QChar(0x200B)); // long paths wrap after a separator
    logState_->setText(log.logging() ? QStringLiteral("Recording to %1, %2 rows").arg(path).arg(log.rowsWritten())
                                     : QStringLiteral("Not recording"));
    logState_->setToolTip(log.path());
    const bool chosen = !log.path().isEmpty();
    logStart_->setEnabled(chosen);
    logStop_->setEnabled(chosen);
    for (int i = 0; i < kLivePanelRows; ++i) {
        enable_[size_t(i)]->setEnabled(!log.logging());
        showGauge_[size_t(i)]->setEnabled(!log.logging());
        channel_[size_t(i)]->setEnabled(!log.logging());
    }
}

void LivePanel::renderChannels() {
    for (int i = 0; i < kLivePanelRows; ++i) {
        showChannelNames(channel_[size_t(i)], live_.row(i).channel.entries);
    }
    render();
}

void LivePanel::render() {
    for (int i = 0; i < kLivePanelRows; ++i)
        renderRow(i);
    passRate_->setText(live_.passRate());
    QPalette palette = loggingLabel_->palette();
    palette.setColor(QPalette::WindowText,
                     live_.logLampLit() ? ActivityLamp::colour() : this->palette().color(QPalette::ButtonText));
    loggingLabel_->setPalette(palette);
}

void LivePanel::renderRow(int i) {
    if (i < 0 || i >= kLivePanelRows) return;
    const LiveRow& row = live_.row(i);
    enable_[size_t(i)]->setChecked(row.enabled);
    showGauge_[size_t(i)]->setChecked(row.showGauge);
    QComboBox* combo = channel_[size_t(i)];
    const int index = row.channel.index < combo->count() ? row.channel.index : -1;
    if (combo->currentIndex() != index) combo->setCurrentIndex(index);
    lamp_[size_t(i)]->setLit(row.lamp);
    QComboBox* interval = interval_[size_t(i)];
    const int chosen = interval->findData(live_.schedule().choice(i));
    if (interval->currentIndex() != chosen) interval->setCurrentIndex(chosen);
    QLineEdit* value = value_[size_t(i)];
    if (value->text() != row.value) {
        value->setText(row.value);
        value->setCursorPosition(0);
        value->repaint();
    }
    if (value->toolTip() != row.problem) value->setToolTip(row.problem);
}

// Lines join the legends to the "E" and "G" columns.
void LivePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    const auto joint = [&](QWidget* column, QLabel* legend) {
        const QRect box = column->geometry();
        const QRect text = legend->geometry();
        const int x = box.center().x();
        const int y = text.center().y();
        p.drawLine(x, box.bottom() + 2, x, y);
        p.drawLine(x, y, text.left() - 3, y);
    };
    joint(enable_.back(), enableLegend_);
    joint(showGauge_.back(), gaugeLegend_);
}

} // namespace zelcor
