#include "ui/dtc/freezeframepanel.h"

#include "dtc/troublecodes.h"
#include "ui/dtc/dtcwidgets.h"
#include "ui/namedwidgets.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zelcor {

FreezeFramePanel::FreezeFramePanel(TroubleCodes& codes, QWidget* parent)
    : QWidget(parent), codes_(codes), explanation_(new QPlainTextEdit(this)),
      saveButton_(namedButton(QStringLiteral("Command21"), QStringLiteral("Save Freeze to File"), this)) {
    setObjectName(QStringLiteral("freezeFramePanel"));
    for (int r = 0; r < FreezeFrame::rowCount; ++r) {
        labels_[r] = new QLabel(this);
        labels_[r]->setObjectName(QStringLiteral("fflabel_%1").arg(r));
        labels_[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[r] = new QLineEdit(this);
        values_[r]->setObjectName(QStringLiteral("ffvalue_%1").arg(r));
        values_[r]->setReadOnly(true);
    }
    explanation_->setObjectName(QStringLiteral("Text16"));
    explanation_->setReadOnly(true);
    buildLayout();
    connect(saveButton_, &QPushButton::clicked, this, [this] { codes_.saveFreezeFrame(); });
    connect(&codes_, &TroubleCodes::freezeFrameChanged, this, &FreezeFramePanel::render);
    render();
}

void FreezeFramePanel::buildLayout() {
    // Rows fill the first column of pairs from the top, then the second; the rows beyond
    // those ever filled sit in a third column and never show.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    const int valueWidth = values_[0]->fontMetrics().horizontalAdvance(QStringLiteral("-40.0 deg F 00")) +
                           values_[0]->fontMetrics().averageCharWidth() * 2;
    for (int r = 0; r < FreezeFrame::rowCount; ++r) {
        const int column = qMin(r / rowsPerColumn, 2);
        const int row = r < 2 * rowsPerColumn ? r % rowsPerColumn : r - 2 * rowsPerColumn;
        values_[r]->setMinimumWidth(valueWidth);
        grid->addWidget(labels_[r], row, column * 3);
        grid->addWidget(values_[r], row, column * 3 + 1);
        if (column < 2) grid->setColumnMinimumWidth(column * 3 + 2, 12);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);

    auto* caption = new QLabel(QStringLiteral("DTC Explanation"), this);
    caption->setObjectName(QStringLiteral("Label41"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    explanation_->setMinimumHeight(explanation_->fontMetrics().lineSpacing() * 3);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(saveButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(caption);
    layout->addWidget(explanation_);
    layout->addLayout(buttonRow);
}

void FreezeFramePanel::render() {
    const FreezeFrame& frame = codes_.freezeFrame();
    for (int r = 0; r < FreezeFrame::rowCount; ++r) {
        const FreezeFrameRow row = r < frame.rows.size() ? frame.rows[r] : FreezeFrameRow{};
        labels_[r]->setText(row.label);
        if (values_[r]->text() != row.value) values_[r]->setText(row.value);
        labels_[r]->setVisible(row.visible);
        values_[r]->setVisible(row.visible);
    }
    const QString text = boxText(frame.explanation);
    if (explanation_->toPlainText() != text) explanation_->setPlainText(text);
    // Rows are filled one request at a time inside the pass; show each at once.
    repaint();
}

} // namespace zelcor
