#include "ui/config/adapterreportbox.h"

#include "core/session.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelcor {

AdapterReportBox::AdapterReportBox(Session& session, QWidget* parent)
    : QGroupBox(QStringLiteral("ADAPTER"), parent), session_(session), report_(new QPlainTextEdit(this)),
      copyButton_(new QPushButton(QStringLiteral("Copy"), this)) {
    setObjectName(QStringLiteral("adapterReportBox"));
    report_->setObjectName(QStringLiteral("adapterReport"));
    report_->setReadOnly(true);
    report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    report_->setMaximumHeight(report_->fontMetrics().lineSpacing() * 9);
    copyButton_->setObjectName(QStringLiteral("copyAdapterReport"));
    copyButton_->setToolTip(QStringLiteral("Copies the adapter report to the clipboard"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(report_);
    layout->addLayout(buttons);
    connect(copyButton_, &QPushButton::clicked, this, [this] { session_.host().setClipboardText(reportText()); });
}

QString AdapterReportBox::reportText() const {
    const AdapterReport& adapter = session_.link().adapter();
    return adapter.known() ? adapter.text() : QStringLiteral("No adapter found yet: CONNECT finds it.\n");
}

void AdapterReportBox::render() {
    report_->setPlainText(reportText());
    copyButton_->setEnabled(session_.link().adapter().known());
}

} // namespace zelcor
