#pragma once
// The program's message box: icon, text and buttons, sized so the whole text shows on any
// screen. Lines keep their breaks and wrap only where the screen is too narrow for them;
// a text taller than the screen scrolls.

#include "base/host.h"

#include <QDialog>

class QAbstractButton;
class QDialogButtonBox;
class QLabel;
class QScrollArea;

namespace zelcor {

class MessageBox : public QDialog {
    Q_OBJECT
public:
    MessageBox(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
               MessageAnswer defaultAnswer, QWidget* parent = nullptr);

    // Sizes the box for `available` (a screen's free area): the text as wide as its longest
    // line allows, the box never larger than the area. The constructor fits it to the screen
    // of `parent`, or the primary screen.
    void fitInto(const QRect& available);

    // The button pressed: Yes or No for a question (No when closed), else Ok.
    MessageAnswer answer() const { return answer_; }

    QLabel* textLabel() const { return text_; }
    QScrollArea* textArea() const { return area_; }

private:
    void press(QAbstractButton* button);

    QLabel* icon_ = nullptr;
    QLabel* text_ = nullptr;
    QScrollArea* area_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    MessageAnswer answer_;
};

} // namespace zelcor
