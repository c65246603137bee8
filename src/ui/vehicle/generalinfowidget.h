#pragma once
// The General Info panel (D0101): lamp, code count, readiness monitors and the controllers.

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

namespace zelcor {

class PanelFrame;
class Session;

class GeneralInfoWidget : public QWidget {
    Q_OBJECT
public:
    // Lays itself into `frame`, taking over the controller list's heading (Label3) when
    // the frame already carries it.
    GeneralInfoWidget(Session& session, PanelFrame* frame);

private:
    void render();
    void controllerClicked(int row);

    Session& session_;
    QLineEdit* codeCount_;       // Text3_0
    QLineEdit* mil_;             // Text3_1
    QListWidget* continuous_;    // List1
    QListWidget* nonContinuous_; // List2
    QListWidget* incomplete_;    // List3
    QLabel* controllersHeading_; // Label3
    QListWidget* controllers_;   // List7
    QLineEdit* currentAddress_;  // Text13
};

} // namespace zelcor
