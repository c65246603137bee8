#include "ui/definitions/parameterspanel.h"

#include "core/session.h"
#include "ui/main/panelframe.h"
#include "ui/main/panelstack.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QDir>
#include <QHeaderView>
#include <QTreeWidget>

namespace zelcor {

namespace {

QString scaleText(const ParameterDefinition& parameter) {
    if (!parameter.minimum && !parameter.maximum) return QString();
    const auto bound = [](const std::optional<double>& value) {
        return value ? QString::number(*value) : QStringLiteral("?");
    };
    return bound(parameter.minimum) + QStringLiteral(" .. ") + bound(parameter.maximum);
}

constexpr int kValueColumn = 6;
constexpr int kRunFileRole = Qt::UserRole + 1;

} // namespace

ParametersPanel::ParametersPanel(Session& session, QWidget* parent)
    : QWidget(parent), session_(session), summary_(namedLabel(QStringLiteral("parametersSummary"), QString(), this)),
      files_(new QTreeWidget(this)),
      remove_(namedButton(QStringLiteral("removeParameters"), QStringLiteral("&Remove file"), this)) {
    setObjectName(QStringLiteral("parameters"));
    summary_->setWordWrap(true);
    files_->setObjectName(QStringLiteral("parameterFiles"));
    files_->setHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Request"), QStringLiteral("Header"),
                             QStringLiteral("Units"), QStringLiteral("Scale"), QStringLiteral("Line"),
                             QStringLiteral("Value")});
    files_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    files_->header()->setStretchLastSection(true);
    QPushButton* import = namedButton(QStringLiteral("importParameters"), QStringLiteral("&Import file..."), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(import);
    buttons->addWidget(remove_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addWidget(files_, 1);
    layout->addLayout(buttons);
    connect(import, &QPushButton::clicked, this, [this] { session_.parameters().importFile(); });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (const QString file = selectedFile(); !file.isEmpty()) session_.parameters().removeFile(file);
    });
    connect(files_, &QTreeWidget::currentItemChanged, this, [this] { remove_->setEnabled(!selectedFile().isEmpty()); });
    connect(&session_.parameters(), &ParameterLibrary::changed, this, &ParametersPanel::render);
    connect(&session_.live().parameters(), &ParameterChannels::valuesRead, this, &ParametersPanel::renderValues);
    render();
}

QString ParametersPanel::selectedFile() const {
    const QTreeWidgetItem* item = files_->currentItem();
    while (item && item->parent())
        item = item->parent();
    return item && !item->data(0, kRunFileRole).toBool() ? item->text(0) : QString();
}

void ParametersPanel::render() {
    const ParameterLibrary& library = session_.parameters();
    files_->clear();
    parameterItems_.clear();
    int accepted = 0, rejected = 0;
    for (const LoadedDefinitions& file : library.files()) {
        auto* fileItem = new QTreeWidgetItem(files_, {file.fileName});
        fileItem->setFirstColumnSpanned(true);
        fileItem->setData(0, kRunFileRole, file.forThisRun);
        if (!file.error.isEmpty()) new QTreeWidgetItem(fileItem, {file.error});
        for (const ParameterDefinition& parameter : file.definitions.parameters)
            parameterItems_.append(new QTreeWidgetItem(
                fileItem, {parameter.name, parameter.request.text(),
                           parameter.request.header.isEmpty() ? QStringLiteral("all") : parameter.request.header,
                           parameter.units, scaleText(parameter), QString::number(parameter.line)}));
        for (const LineVerdict& verdict : file.definitions.verdicts) {
            if (verdict.accepted()) continue;
            auto* item = new QTreeWidgetItem(fileItem, {verdict.text()});
            item->setFirstColumnSpanned(true);
            item->setForeground(0, Qt::darkRed);
        }
        accepted += int(file.definitions.parameters.size());
        rejected += file.definitions.rejectedCount();
        fileItem->setExpanded(true);
    }
    summary_->setText(
        library.files().isEmpty()
            ? QStringLiteral("No parameter definition files in %1. Import one: a CSV file of eight columns "
                             "(Name, ShortName, ModeAndPID, Equation, Min, Max, Units, Header).")
                  .arg(QDir::toNativeSeparators(library.folder()))
            : QStringLiteral("%1 parameter(s) from %2 file(s) in %3; %4 line(s) rejected.")
                  .arg(accepted)
                  .arg(library.files().size())
                  .arg(QDir::toNativeSeparators(library.folder()))
                  .arg(rejected));
    remove_->setEnabled(!selectedFile().isEmpty());
    renderValues();
}

// The channels are the files' parameters in the same order as the tree lists them.
void ParametersPanel::renderValues() {
    const ParameterChannels& channels = session_.live().parameters();
    for (int i = 0; i < parameterItems_.size(); ++i) {
        const int code = kFirstManufacturerCode + i;
        const ChannelValue value = channels.value(code);
        QTreeWidgetItem* item = parameterItems_[i];
        const QString text = value.value ? channels.text(code) : value.read ? QStringLiteral("no value") : QString();
        if (item->text(kValueColumn) != text) item->setText(kValueColumn, text);
        if (item->toolTip(kValueColumn) != value.problem) item->setToolTip(kValueColumn, value.problem);
    }
}

void installParametersPanel(PanelStack& stack, Session& session) {
    stack.frame(Panel::Parameters)->fill(new ParametersPanel(session));
}

} // namespace zelcor
