#include "ui/vehicle/panelbody.h"

#include "ui/main/panelframe.h"

#include <QBoxLayout>
#include <QSpacerItem>

namespace zelcor {

void fillPanelBody(PanelFrame* frame, QWidget* content) {
    QWidget* body = frame->body();
    auto* layout = qobject_cast<QBoxLayout*>(body->layout());
    if (!layout) layout = new QVBoxLayout(body);
    for (int i = layout->count() - 1; i >= 0; --i) {
        if (layout->itemAt(i)->spacerItem()) delete layout->takeAt(i);
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 1);
}

} // namespace zelcor
