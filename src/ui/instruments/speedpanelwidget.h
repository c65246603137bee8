#pragma once
// The vehicle speed panel (D013): the speedometer and the acceleration test.

#include "instruments/dials.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zelcor {

class DialFace;
class PanelFrame;
class Session;

class SpeedPanelWidget : public QWidget {
    Q_OBJECT
public:
    SpeedPanelWidget(Session& session, PanelFrame* frame);

    // Draws the dial in the unit the settings choose and sets the needle to 0.
    void SETUPSPEEDOMETER();

    DialFace* dial() const { return dial_; }

private:
    void drawScale(DialUnit unit);
    void render();

    Session& session_;
    DialFace* dial_;        // Picture1, with the needle Line2
    QLabel* unitCaption_;   // Label13
    QLabel* readout_;       // Label14
    QLineEdit* startSpeed_; // Text6
    QLineEdit* endSpeed_;   // Text7
    QLineEdit* elapsed_;    // Text8
    QLineEdit* spread_;     // Text9
    QPushButton* resetArm_; // Command10
};

} // namespace zelcor
