#pragma once
// The engine speed panel: the tachometer.

#include <QWidget>

class QLabel;

namespace zelcor {

class DialFace;
class PanelFrame;
class Instruments;

class RpmPanelWidget : public QWidget {
    Q_OBJECT
public:
    RpmPanelWidget(Instruments& instruments, PanelFrame* frame);

    // Draws the dial and sets the needle to 0.
    void resetDial();

    DialFace* dial() const { return dial_; }

private:
    void render();

    Instruments& instruments_;
    DialFace* dial_;
    QLabel* readout_;
};

} // namespace zelcor
