#include "ui/main/connectionpanel.h"

#include "core/session.h"
#include "ui/main/statuslamp.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace zelcor {

namespace {

QString shownText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

QString ConnectionPanel::titleText() {
    return QStringLiteral("T  E  S  S  E  L  A  R\nOBD-2 Automotive Diagnostic Tool");
}

ConnectionPanel::ConnectionPanel(Session& session, QWidget* parent)
    : PanelFrame(Panel::Connection, parent), session_(session) {
    QWidget* b = body();
    title_ = new QLabel(titleText(), b);
    title_->setObjectName(QStringLiteral("Label37"));
    connectButton_ = namedButton(QStringLiteral("Command1"), QStringLiteral("&CONNECT"), b);
    disconnectButton_ = namedButton(QStringLiteral("Command2"), QStringLiteral("&DISCONNECT"), b);
    replayButton_ = namedButton(QStringLiteral("Command17"), QStringLiteral("&REPLAY"), b);
    traceReplayButton_ = namedButton(QStringLiteral("Command13"), QStringLiteral("V"), b);
    helpButton_ = namedButton(QStringLiteral("Command20"), QStringLiteral("HELP GUIDE ONLINE"), b);
    lamp_ = new StatusLamp(b);
    lampLabel_ = new QLabel(QStringLiteral("Connection Status "), b);
    lampLabel_->setObjectName(QStringLiteral("Label2"));
    status_ = new QLabel(b);
    status_->setObjectName(QStringLiteral("Label39"));
    functionList_ = new QListWidget(b);
    functionList_->setObjectName(QStringLiteral("List4"));
    timeAfterReceive_ = new QLineEdit(b);
    timeAfterReceive_->setObjectName(QStringLiteral("Text2"));

    buildLayout();
    wire();
    renderButtons();
    renderFunctionList();
    renderTimeAfterReceive();
}

void ConnectionPanel::buildLayout() {
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    title_->setFont(titleFont);
    title_->setAlignment(Qt::AlignCenter);

    QFont bigButtonFont = connectButton_->font();
    bigButtonFont.setBold(true);
    bigButtonFont.setPointSizeF(bigButtonFont.pointSizeF() * 1.3);
    for (QPushButton* button : {connectButton_, disconnectButton_}) {
        button->setFont(bigButtonFont);
        button->setMinimumHeight(button->sizeHint().height() * 3 / 2);
    }
    traceReplayButton_->setFixedWidth(traceReplayButton_->fontMetrics().horizontalAdvance(QStringLiteral("VV")) * 2);
    traceReplayButton_->setToolTip(QStringLiteral("Replay the trace log"));
    // The help button hides during a connection; the lamp below it stays where it is.
    QSizePolicy helpPolicy = helpButton_->sizePolicy();
    helpPolicy.setRetainSizeWhenHidden(true);
    helpButton_->setSizePolicy(helpPolicy);

    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for the longest caption, four lines in the error style, so the panel does not
    // jump when an error is shown.
    QFont errorFont = status_->font();
    errorFont.setPointSize(16);
    status_->setMinimumHeight(QFontMetrics(errorFont).lineSpacing() * 4 + 4);

    functionList_->setSelectionMode(QAbstractItemView::SingleSelection);
    functionList_->setMinimumWidth(
        functionList_->fontMetrics().horizontalAdvance(QStringLiteral("PIDs supported (21h-40h)")) +
        functionList_->fontMetrics().averageCharWidth() * 6);
    timeAfterReceive_->setReadOnly(true);
    timeAfterReceive_->setFocusPolicy(Qt::NoFocus);
    timeAfterReceive_->setMaximumWidth(timeAfterReceive_->fontMetrics().horizontalAdvance(QStringLiteral("0000.000")) +
                                       timeAfterReceive_->fontMetrics().averageCharWidth() * 2);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(connectButton_);
    buttons->addWidget(disconnectButton_);
    buttons->addSpacing(connectButton_->sizeHint().height() / 2);
    auto* replayRow = new QHBoxLayout;
    replayRow->addWidget(replayButton_, 1);
    replayRow->addWidget(traceReplayButton_);
    buttons->addLayout(replayRow);
    buttons->addWidget(helpButton_);
    buttons->addSpacing(connectButton_->sizeHint().height() / 2);
    auto* lampRow = new QHBoxLayout;
    lampRow->addWidget(lamp_);
    lampRow->addWidget(lampLabel_);
    lampRow->addStretch(1);
    buttons->addLayout(lampRow);
    buttons->addStretch(1);

    auto* functionsLabel = new QLabel(QStringLiteral("Functions"), body());
    functionsLabel->setBuddy(functionList_);
    auto* functions = new QVBoxLayout;
    functions->addWidget(functionsLabel);
    functions->addWidget(functionList_, 1);
    auto* timeRow = new QHBoxLayout;
    timeRow->addStretch(1);
    timeRow->addWidget(new QLabel(QStringLiteral("time after rcv"), body()));
    timeRow->addWidget(timeAfterReceive_);
    functions->addLayout(timeRow);

    auto* columns = new QHBoxLayout;
    columns->addLayout(buttons, 2);
    columns->addSpacing(connectButton_->sizeHint().height());
    columns->addLayout(functions, 3);

    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title_);
    layout->addSpacing(title_->fontMetrics().height() / 2);
    layout->addLayout(columns, 1);
    layout->addWidget(status_);
}

void ConnectionPanel::wire() {
    Connection& connection = session_.connection();
    connect(connectButton_, &QPushButton::clicked, this, [&connection] { connection.run(); });
    connect(disconnectButton_, &QPushButton::clicked, this, [&connection] { connection.requestDisconnect(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { session_.openHelp(); });
    connect(replayButton_, &QPushButton::clicked, this, [this] { session_.chooseRecording(); });
    connect(traceReplayButton_, &QPushButton::clicked, this, [this] { session_.traceReplay().run(); });

    connect(functionList_, &QListWidget::currentRowChanged, this, &ConnectionPanel::listRowChanged);
    connect(functionList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { listItemClicked(functionList_->row(item)); });
    functionList_->viewport()->installEventFilter(this);

    connect(&connection, &Connection::panelChanged, this, &ConnectionPanel::renderButtons);
    connect(&session_.navigation(), &Navigation::buttonsChanged, this, &ConnectionPanel::renderButtons);
    connect(&session_.navigation(), &Navigation::functionListChanged, this, &ConnectionPanel::renderFunctionList);
    connect(&session_.link(), &Link::timeAfterReceiveChanged, this, &ConnectionPanel::renderTimeAfterReceive);
}

bool ConnectionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == functionList_->viewport() && event->type() == QEvent::MouseButtonPress)
        rowAtPress_ = session_.navigation().functionIndex();
    return PanelFrame::eventFilter(watched, event);
}

void ConnectionPanel::listRowChanged(int row) {
    if (!rendering_) session_.chooseFunctionEntry(row);
}

void ConnectionPanel::listItemClicked(int row) {
    // A click on the entry that was already selected raises the list's click once more;
    // a click that changed the selection was handled when the row changed.
    if (row >= 0 && row == rowAtPress_ && row == session_.navigation().functionIndex()) session_.functionEntryClicked();
    rowAtPress_ = -1;
}

void ConnectionPanel::renderButtons() {
    const ConnectionPanelState& panel = session_.connection().panel();
    const MainButtons& buttons = session_.navigation().buttons();
    connectButton_->setEnabled(panel.connectEnabled);
    disconnectButton_->setEnabled(buttons.disconnectEnabled);
    // A replay's play loop would hold a running connection still: no replay while connected.
    replayButton_->setEnabled(buttons.replayEnabled && panel.connectEnabled);
    traceReplayButton_->setEnabled(panel.traceReplayEnabled);
    helpButton_->setVisible(panel.helpVisible);
    lampLabel_->setEnabled(buttons.statusLabelEnabled);
    lamp_->setLamp(panel.lamp);

    const QString text = shownText(panel.status);
    QFont font = status_->font();
    font.setPointSize(panel.statusError ? 16 : 8);
    QPalette palette = status_->palette();
    palette.setColor(QPalette::WindowText, panel.statusError ? QColor(255, 0, 0) : QColor(0, 0, 0));
    if (status_->text() != text || status_->font() != font || status_->palette() != palette) {
        status_->setFont(font);
        status_->setPalette(palette);
        status_->setText(text);
        // The caption changes inside long waits; show it at once.
        status_->repaint();
    }
}

void ConnectionPanel::renderFunctionList() {
    rendering_ = true;
    const QList<ListEntry>& entries = session_.navigation().functions();
    if (shownEntries_ != entries) {
        shownEntries_ = entries;
        functionList_->clear();
        for (const ListEntry& entry : shownEntries_)
            functionList_->addItem(entry.name);
    }
    const int index = session_.navigation().functionIndex();
    if (index >= 0 && index < functionList_->count()) {
        functionList_->setCurrentRow(index);
    } else {
        functionList_->setCurrentRow(-1);
        functionList_->clearSelection();
    }
    rendering_ = false;
}

void ConnectionPanel::renderTimeAfterReceive() {
    timeAfterReceive_->setText(session_.link().timeAfterReceive());
}

} // namespace zelcor
