#pragma once
// The single-parameter panel (D0104): the parameter's title on the frame, its value below.

#include <QWidget>

class QLabel;

namespace zelcor {

class PanelFrame;
class Session;

class TextPanelWidget : public QWidget {
    Q_OBJECT
public:
    TextPanelWidget(Session& session, PanelFrame* frame);

private:
    void render();

    Session& session_;
    PanelFrame* frame_;
    QLabel* value_; // Text4
};

} // namespace zelcor
