#include "ui/main/panelframe.h"

#include <QApplication>
#include <QBoxLayout>

namespace zelcor {

PanelFrame::PanelFrame(Panel panel, QWidget* parent) : QGroupBox(parent), panel_(panel), body_(new QWidget(this)) {
    setObjectName(panelName(panel));
    setTitle(panelCaption(panel));

    // Every panel caption is Arial 12 bold; the controls inside stay in the normal font,
    // so the body gets an explicit copy of it (a child would otherwise inherit the caption font).
    const QFont normal = QApplication::font();
    QFont caption = normal;
    caption.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    caption.setPointSize(12);
    caption.setBold(true);
    setFont(caption);
    QFont bodyFont;
    bodyFont.setFamilies(normal.families().isEmpty() ? QStringList{normal.family()} : normal.families());
    bodyFont.setPointSizeF(normal.pointSizeF());
    bodyFont.setWeight(normal.weight());
    bodyFont.setItalic(false);
    body_->setFont(bodyFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(body_);
}

void PanelFrame::fill(QWidget* content) {
    auto* layout = qobject_cast<QBoxLayout*>(body_->layout());
    if (!layout) layout = new QVBoxLayout(body_);
    for (int i = layout->count() - 1; i >= 0; --i)
        if (layout->itemAt(i)->spacerItem()) delete layout->takeAt(i);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(body_);
    layout->addWidget(content, 1);
}

} // namespace zelcor
