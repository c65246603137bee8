#pragma once
// The engine speed panel (D012): the tachometer.

#include <QWidget>

class QLabel;

namespace zelcor {

class DialFace;
class PanelFrame;
class Session;

class RpmPanelWidget : public QWidget {
    Q_OBJECT
public:
    RpmPanelWidget(Session& session, PanelFrame* frame);

    // Draws the dial and sets the needle to 0.
    void SETUPTACHOMETER();

    DialFace* dial() const { return dial_; }

private:
    void render();

    Session& session_;
    DialFace* dial_;  // Picture3, with the needle Line3
    QLabel* readout_; // Label23
};

} // namespace zelcor
