#include "ui/main/mainwindow.h"

#include "core/connectionstate.h"
#include "ui/logging/replaylauncher.h"
#include "ui/main/connectionpanel.h"
#include "ui/main/panelstack.h"
#include "ui/main/windowplacement.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>

namespace zelcor {

QString MainWindow::functionItemCaption(int index) {
    static const std::array<const char*, kFunctionItems> captions = {"General", "Codes",   "Freeze", "Gauges",
                                                                     "Graphs",  "O2 Sens", "RPM",    "Speed"};
    return index >= 0 && index < kFunctionItems ? QString::fromLatin1(captions[index]) : QString();
}

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Session::caption());

    buildMenus();
    setCentralWidget(buildCentre());
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
    const auto render = [this, state] { state->setText(connectionStateText(session_)); };
    connect(&session_.connection(), &Connection::panelChanged, state, render);
    connect(&session_.navigation(), &Navigation::functionListChanged, state, render);
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

    auto* layout = new QVBoxLayout(centre);
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
