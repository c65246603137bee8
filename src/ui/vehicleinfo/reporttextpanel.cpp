#include "ui/vehicleinfo/reporttextpanel.h"

#include "ui/dtc/dtcwidgets.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QPlainTextEdit>

namespace zelcor {

ReportTextPanel::ReportTextPanel(const QString& name, ReportTextActions actions, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)), text_(new QPlainTextEdit(this)) {
    setObjectName(name);
    text_->setObjectName(name + QStringLiteral("Text"));
    text_->setReadOnly(true);
    text_->setFont(codeListFont());
    QPushButton* copy = namedButton(name + QStringLiteral("Copy"), QStringLiteral("Copy"), this);
    QPushButton* save = namedButton(name + QStringLiteral("Save"), QStringLiteral("Save to file"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy);
    buttons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this, [this] { actions_.copy(); });
    connect(save, &QPushButton::clicked, this, [this] { actions_.save(); });
    render();
}

void ReportTextPanel::render() {
    const QString text = boxText(actions_.text());
    if (text_->toPlainText() != text) text_->setPlainText(text);
}

} // namespace zelcor
