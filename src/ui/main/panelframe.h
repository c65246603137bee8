#pragma once
// A panel of the main window: a frame with its caption in the panels' bold caption font,
// whose contents keep the ordinary font.

#include "core/panels.h"

#include <QGroupBox>

namespace zelcor {

class PanelFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PanelFrame(Panel panel, QWidget* parent = nullptr);

    Panel panel() const { return panel_; }
    // Holds the panel's controls; lay them out on this widget.
    QWidget* body() const { return body_; }
    // `content` fills the body in place of the spacing the frame was built with.
    void fill(QWidget* content);

private:
    Panel panel_;
    QWidget* body_;
};

} // namespace zelcor
