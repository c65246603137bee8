#include "ui/vehicle/textpanelwidget.h"

#include "core/session.h"
#include "ui/main/panelframe.h"
#include "ui/vehicle/panelbody.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zelcor {

TextPanelWidget::TextPanelWidget(Session& session, PanelFrame* frame)
    : QWidget(frame->body()), session_(session), frame_(frame), value_(new QLabel(this)) {
    setObjectName(QStringLiteral("textPanel"));
    value_->setObjectName(QStringLiteral("Text4"));
    value_->setAlignment(Qt::AlignCenter);
    value_->setWordWrap(true);
    value_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = value_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 2);
    value_->setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(value_, 1);

    fillPanelBody(frame, this);
    connect(&session_, &Session::panelChanged, this, [this](Panel panel) {
        if (panel == Panel::D0104) render();
    });
    render();
}

void TextPanelWidget::render() {
    frame_->setTitle(session_.textPanel.caption);
    value_->setText(session_.textPanel.value);
}

} // namespace zelcor
