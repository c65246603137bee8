#pragma once
// The vehicle speed panel: the speedometer and the acceleration test.

#include "instruments/dials.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zelcor {

class DialFace;
class PanelFrame;
class Instruments;
struct Settings;

class SpeedPanelWidget : public QWidget {
    Q_OBJECT
public:
    SpeedPanelWidget(Instruments& instruments, const Settings& settings, PanelFrame* frame);

    // Draws the dial in the unit the settings choose and sets the needle to 0.
    void resetDial();

    DialFace* dial() const { return dial_; }

private:
    void drawScale(DialUnit unit);
    void render();

    Instruments& instruments_;
    const Settings& settings_;
    DialFace* dial_;
    QLabel* unitCaption_;
    QLabel* readout_;
    QLineEdit* startSpeed_;
    QLineEdit* endSpeed_;
    QLineEdit* elapsed_;
    QLineEdit* spread_;
    QPushButton* resetArm_;
};

} // namespace zelcor
