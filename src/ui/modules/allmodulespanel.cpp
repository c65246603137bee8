#include "ui/modules/allmodulespanel.h"

#include "core/session.h"
#include "modules/modulereplies.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace zelcor {

namespace {

QTreeWidget* namedTree(const QString& name, const QStringList& columns, QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setHeaderLabels(columns);
    tree->header()->setStretchLastSection(true);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return tree;
}

} // namespace

AllModulesPanel::AllModulesPanel(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), status_(namedLabel(QStringLiteral("modulesStatus"), QString(), this)),
      modules_(namedTree(QStringLiteral("moduleList"),
                         {QStringLiteral("Address"), QStringLiteral("Module"), QStringLiteral("Protocol"),
                          QStringLiteral("Codes"), QStringLiteral("Warning lamp")},
                         this)),
      codes_(namedTree(QStringLiteral("moduleCodes"),
                       {QStringLiteral("Code"), QStringLiteral("Status"), QStringLiteral("Explanation")}, this)),
      read_(namedButton(QStringLiteral("readModules"), QStringLiteral("&Read all modules"), this)),
      save_(namedButton(QStringLiteral("saveModules"), QStringLiteral("Save to file"), this)),
      clearOne_(namedButton(QStringLiteral("clearModule"), QStringLiteral("Clear this module"), this)),
      clearAll_(namedButton(QStringLiteral("clearAllModules"), QStringLiteral("Clear all modules"), this)),
      confirm_(new QWidget(this)),
      confirmText_(namedLabel(QStringLiteral("clearModulesQuestion"), QString(), confirm_)) {
    setObjectName(QStringLiteral("allModules"));
    status_->setWordWrap(true);
    confirmText_->setWordWrap(true);
    confirm_->setObjectName(QStringLiteral("clearModulesConfirm"));
    QPushButton* confirmNow =
        namedButton(QStringLiteral("clearModulesNow"), QStringLiteral("CLEAR CODES NOW"), confirm_);
    QPushButton* cancel = namedButton(QStringLiteral("clearModulesCancel"), QStringLiteral("CANCEL"), confirm_);
    auto* confirmLayout = new QHBoxLayout(confirm_);
    confirmLayout->setContentsMargins(0, 0, 0, 0);
    confirmLayout->addWidget(confirmText_, 1);
    confirmLayout->addWidget(confirmNow);
    confirmLayout->addWidget(cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(read_);
    buttons->addStretch(1);
    buttons->addWidget(save_);
    buttons->addWidget(clearOne_);
    buttons->addWidget(clearAll_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(status_);
    layout->addWidget(modules_, 2);
    layout->addWidget(codes_, 3);
    layout->addWidget(confirm_);
    layout->addLayout(buttons);

    connect(modules_, &QTreeWidget::currentItemChanged, this,
            [this] { session_.wholeCar().select(modules_->indexOfTopLevelItem(modules_->currentItem())); });
    connect(read_, &QPushButton::clicked, this, [this] { session_.navigation().setFunction(Function::AllModules); });
    connect(save_, &QPushButton::clicked, this, [this] { session_.saveModules(); });
    connect(clearOne_, &QPushButton::clicked, this, [this] { session_.askToClearModules(false); });
    connect(clearAll_, &QPushButton::clicked, this, [this] { session_.askToClearModules(true); });
    connect(confirmNow, &QPushButton::clicked, this, [this] { session_.confirmClearModules(); });
    connect(cancel, &QPushButton::clicked, this, [this] { session_.cancelClearModules(); });
    connect(&session_.wholeCar(), &WholeCar::changed, this, &AllModulesPanel::render);
    render();
}

void AllModulesPanel::render() {
    const ModulesPanel& panel = session_.wholeCar().panel();
    QString status = panel.progress;
    if (status.isEmpty() && !panel.problem.isEmpty()) status = QStringLiteral("The scan stopped: ") + panel.problem;
    if (status.isEmpty() && panel.scanned)
        status = panel.modules.isEmpty() ? QStringLiteral("No module answered on its own address.")
                                         : QStringLiteral("%1 module(s) answered.").arg(panel.modules.size());
    if (status.isEmpty()) status = QStringLiteral("Connect, then read the codes of every module of the car.");
    status_->setText(status);
    {
        const QSignalBlocker blocker(modules_);
        modules_->clear();
        for (const ModuleResult& module : panel.modules) {
            const QString codes =
                module.codesRead() ? QString::number(module.codes.size()) : QStringLiteral("not read");
            modules_->addTopLevelItem(new QTreeWidgetItem({module.address.label(), module.shownName(),
                                                           protocolName(module.protocol).toUpper(), codes,
                                                           module.warningLamp() ? QStringLiteral("on") : QString()}));
        }
        if (panel.selected >= 0) modules_->setCurrentItem(modules_->topLevelItem(panel.selected));
    }
    renderCodes();
    const bool any = !panel.modules.isEmpty();
    save_->setEnabled(panel.buttonsEnabled && (any || panel.scanned));
    clearOne_->setEnabled(panel.buttonsEnabled && panel.selected >= 0);
    clearAll_->setEnabled(panel.buttonsEnabled && any);
    read_->setEnabled(panel.buttonsEnabled);
    confirm_->setVisible(panel.confirmVisible);
    confirmText_->setText(panel.confirmText);
}

void AllModulesPanel::renderCodes() {
    const ModulesPanel& panel = session_.wholeCar().panel();
    codes_->clear();
    if (panel.selected < 0 || panel.selected >= panel.modules.size()) return;
    const ModuleResult& module = panel.modules.at(panel.selected);
    if (!module.codesRead()) {
        codes_->addTopLevelItem(new QTreeWidgetItem({QString(), QString(), module.error}));
        return;
    }
    if (module.codes.isEmpty())
        codes_->addTopLevelItem(new QTreeWidgetItem({QString(), QString(), QStringLiteral("No trouble codes.")}));
    for (const ModuleCode& code : module.codes)
        codes_->addTopLevelItem(new QTreeWidgetItem(
            {code.shown(), codeStatusTexts(code.status).join(QStringLiteral(", ")), code.explanation}));
    if (!module.clearError.isEmpty())
        codes_->addTopLevelItem(new QTreeWidgetItem({QString(), QString(), module.clearError}));
}

void installModulesPanel(PanelStack& stack, Session& session) {
    stack.frame(Panel::AllModules)->fill(new AllModulesPanel(session));
}

} // namespace zelcor
