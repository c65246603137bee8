#include "ui/main/mainwindow.h"

#include "core/connectionstate.h"
#include "core/functiontable.h"
#include "ui/live/gaugewindows.h"
#include "ui/live/livepanel.h"
#include "ui/logging/replaylauncher.h"
#include "ui/main/connectionpanel.h"
#include "ui/main/panelstack.h"
#include "ui/main/windowplacement.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsColorizeEffect>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <algorithm>

namespace zelcor {

QString MainWindow::functionItemCaption(int index) {
    const FunctionRow* row = menuItemRow(index);
    return row ? QString::fromLatin1(row->menuCaption) : QString();
}

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Session::caption());

    setCentralWidget(buildCentre());
    buildMenus();
    replays_ = new ReplayLauncher(session_, this);

    auto* debugLog = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(debugLog, &QShortcut::activated, this, &MainWindow::revealDebugLog);
    buildStatusLine();

    connect(&session_.connection(), &Connection::panelChanged, this, &MainWindow::renderButtons);
    renderButtons();

    const QFontMetrics metrics = fontMetrics();
    resize(qMax(sizeHint().width(), metrics.averageCharWidth() * 100),
           qMax(sizeHint().height(), metrics.height() * 30));
}

void MainWindow::buildStatusLine() {
    auto* state = new QLabel(statusBar());
    state->setObjectName(QStringLiteral("ConnectionState"));
    statusBar()->addPermanentWidget(state);
    statusBar()->setObjectName(QStringLiteral("StatusLine"));
    const auto render = [this, state] {
        const QString text = connectionStateText(session_);
        state->setText(text);
        const bool idle =
            session_.connection().panel().phase == ConnectionPhase::NotConnected && !session_.traceReplay().running();
        setWindowTitle(idle ? Session::caption() : Session::caption() + QStringLiteral(" - ") + text);
    };
    connect(&session_.connection(), &Connection::panelChanged, state, render);
    connect(&session_.navigation(), &Navigation::functionListChanged, state, render);
    connect(&session_.traceReplay(), &TraceReplay::changed, state, render); // a replay paused or ended
    render();
    connect(&session_, &Session::notice, this, [this](const QString& text) { statusBar()->showMessage(text, 8000); });

    // DISCONNECT answers Alt+D on the connection panel; behind another panel the key says where it went.
    auto* disconnectKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_D), this);
    const auto enableKey = [this, disconnectKey] {
        disconnectKey->setEnabled(session_.navigation().panel() != Panel::Connection);
    };
    connect(&session_.navigation(), &Navigation::panelChanged, disconnectKey, enableKey);
    enableKey();
    connect(disconnectKey, &QShortcut::activated, this, [this] {
        statusBar()->showMessage(QStringLiteral("DISCONNECT is on the connection panel; File > Disconnect works "
                                                "from every panel."),
                                 8000);
    });
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    // Entries that work from any panel: a running connection can be ended from here
    // while a function's panel hides DISCONNECT.
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    connectEntry_ = file->addAction(QStringLiteral("&Connect"), this, [this] {
        if (session_.connection().panel().connectEnabled) session_.connection().run();
    });
    file->addAction(QStringLiteral("&Disconnect"), this, [this] { session_.connection().requestDisconnect(); });
    file->addSeparator();
    setupEntry_ = file->addAction(QStringLiteral("Set&up"), this, [this] {
        if (session_.connection().panel().setupEnabled) session_.openSetup();
    });
    exitEntry_ = file->addAction(QStringLiteral("E&xit"), this, [this] {
        if (session_.connection().panel().exitEnabled) exitProgram();
    });

    functionsMenu_ = bar->addMenu(QStringLiteral("Fu&nctions"));
    functionsMenu_->setObjectName(QStringLiteral("functionsMenu"));
    connect(&session_.navigation(), &Navigation::functionListChanged, this, &MainWindow::renderFunctionsMenu);
    renderFunctionsMenu();

    // The live panel's "Tile gauges", reachable from every panel while gauges are open.
    if (auto* live = panels_->findChild<LivePanel*>()) {
        QMenu* windows = bar->addMenu(QStringLiteral("&Window"));
        windows->setObjectName(QStringLiteral("windowMenu"));
        windows->addAction(live->tileGaugesAction());
        windows->addAction(QStringLiteral("Manufacturer &parameters"), this,
                           [this] { session_.showParameterDefinitions(); });
    }

    for (int i = 0; i < kFunctionItems; ++i) {
        functionItems_[i] = bar->addAction(functionItemCaption(i));
        functionItems_[i]->setObjectName(QStringLiteral("m_%1").arg(i));
        connect(functionItems_[i], &QAction::triggered, this, [this, i] { functionItem(i); });
    }
    QAction* aboutItem = bar->addAction(QStringLiteral("&About"));
    aboutItem->setObjectName(QStringLiteral("aboutmenu"));
    connect(aboutItem, &QAction::triggered, this, &MainWindow::about);
}

QWidget* MainWindow::buildCentre() {
    auto* centre = new QWidget(this);
    panels_ = new PanelStack(session_, centre);

    setupButton_ = new QPushButton(QStringLiteral("SET&UP"), centre);
    setupButton_->setObjectName(QStringLiteral("Command3"));
    exitButton_ = new QPushButton(QStringLiteral("E&XIT"), centre);
    exitButton_->setObjectName(QStringLiteral("Command7"));
    for (QPushButton* button : {setupButton_, exitButton_}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("CANCEL CHANGES")));
    }
    connect(setupButton_, &QPushButton::clicked, this, [this] { session_.openSetup(); });
    connect(exitButton_, &QPushButton::clicked, this, &MainWindow::exitProgram);

    // Takes the focus after navigation so that no button keeps it; never seen.
    focusSink_ = new QWidget(centre);
    focusSink_->setObjectName(QStringLiteral("ass"));
    focusSink_->setFocusPolicy(Qt::NoFocus);
    focusSink_->setGeometry(0, 0, 0, 0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(setupButton_);
    buttons->addStretch(1);
    buttons->addWidget(exitButton_);

    staleBanner_ = new QLabel(centre);
    staleBanner_->setObjectName(QStringLiteral("staleValues"));
    staleBanner_->setWordWrap(true);
    staleBanner_->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #5a4a00; padding: 3px; }"));
    staleBanner_->hide();
    connect(&session_.connection(), &Connection::panelChanged, this, &MainWindow::renderStaleValues);
    connect(&session_.navigation(), &Navigation::panelChanged, this, &MainWindow::renderStaleValues);

    auto* layout = new QVBoxLayout(centre);
    layout->addWidget(staleBanner_);
    layout->addWidget(panels_, 1);
    layout->addLayout(buttons);
    return centre;
}

void MainWindow::renderButtons() {
    const ConnectionPanelState& panel = session_.connection().panel();
    setupButton_->setEnabled(panel.setupEnabled);
    exitButton_->setEnabled(panel.exitEnabled);
    connectEntry_->setEnabled(panel.connectEnabled);
    setupEntry_->setEnabled(panel.setupEnabled);
    exitEntry_->setEnabled(panel.exitEnabled);
}

// Every function the car offers, in the function list's order, from every panel: the
// list itself stays on the connection panel, which a running function's panel hides.
void MainWindow::renderFunctionsMenu() {
    const Navigation& navigation = session_.navigation();
    const QList<ListEntry>& entries = navigation.functions();
    if (shownFunctions_ != entries) {
        shownFunctions_ = entries;
        functionsMenu_->clear();
        if (entries.isEmpty()) functionsMenu_->addAction(QStringLiteral("(connect to a car first)"))->setEnabled(false);
        for (int i = 0; i < entries.size(); ++i) {
            QAction* entry = functionsMenu_->addAction(entries.at(i).name);
            entry->setObjectName(QStringLiteral("function_%1").arg(entries.at(i).code));
            entry->setCheckable(true);
            if (i < 9) entry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
            connect(entry, &QAction::triggered, this, [this, i] { functionEntry(i); });
        }
    }
    const QList<QAction*> actions = functionsMenu_->actions();
    for (int i = 0; i < actions.size(); ++i)
        actions.at(i)->setChecked(i == navigation.functionIndex());
}

void MainWindow::functionEntry(int index) {
    if (index == session_.navigation().functionIndex())
        session_.functionEntryClicked();
    else
        session_.chooseFunctionEntry(index);
    renderFunctionsMenu(); // a click on the checked entry unchecks it
    dropFocus();
}

// Once the car stopped answering, the values on the panels are the last it sent: they turn
// grey under a line that says when they came.
void MainWindow::renderStaleValues() {
    const ConnectionPanelState& state = session_.connection().panel();
    const Panel panel = session_.navigation().panel();
    const bool stale = state.valuesOld() && panel != Panel::Connection && panel != Panel::Setup;
    if (stale) {
        const double age = std::max(0.0, session_.clock().now() - state.lastAnswerAt);
        const QTime at = QTime::currentTime().addMSecs(-qint64(age * 1000));
        staleBanner_->setText(QStringLiteral("Old values: the car last answered at %1. %2")
                                  .arg(at.toString(QStringLiteral("HH:mm:ss")), connectionStateText(session_)));
    }
    staleBanner_->setVisible(stale);
    if (auto* live = panels_->findChild<LivePanel*>()) live->gauges()->setStale(state.valuesOld());
    if (stale && !panels_->graphicsEffect()) {
        auto* grey = new QGraphicsColorizeEffect(panels_);
        grey->setColor(Qt::gray);
        panels_->setGraphicsEffect(grey);
    } else if (!stale && panels_->graphicsEffect()) {
        panels_->setGraphicsEffect(nullptr);
    }
}

void MainWindow::functionItem(int index) {
    session_.functionItem(index);
    dropFocus();
}

void MainWindow::about() {
    session_.showAbout();
    dropFocus();
}

void MainWindow::revealDebugLog() {
    session_.navigation().revealDebugLog();
}

void MainWindow::dropFocus() {
    focusSink_->setFocus(Qt::OtherFocusReason);
}

void MainWindow::exitProgram() {
    session_.live().closeGauges();
    close();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        panels_->connectionPanel()->connectButton()->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QMainWindow::event(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (QScreen* shown = screen()) move(initialWindowPosition(shown->geometry(), frameGeometry().size()));
    }
    QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once. A running connection is told to
    // stop and every wait returns immediately, so the CONNECT handler (or a replay's play
    // loop) unwinds and the event loop, once back at its top, ends.
    session_.live().closeGauges();
    if (session_.connection().running() || replays_->replayRunning()) {
        session_.link().requestStop();
        session_.clock().abandonWaits();
    }
    event->accept();
    QCoreApplication::exit(0);
}

} // namespace zelcor
