#pragma once
// Widgets created under the names the program and its tests find them by.

#include <QLabel>
#include <QPushButton>
#include <QString>

namespace zelcor {

// The name of element `i` of a control array: "Check1_3".
inline QString indexedName(const char* name, int i) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i);
}

// A push button that never becomes the default button of its window.
inline QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

inline QLabel* namedLabel(const QString& name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace zelcor
