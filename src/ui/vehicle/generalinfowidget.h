#pragma once
// The General Info panel: lamp, code count, readiness monitors and the controllers.

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;

namespace zelcor {

class PanelFrame;
class VehicleStatus;

class GeneralInfoWidget : public QWidget {
    Q_OBJECT
public:
    // Lays itself into `frame`, taking over the controller list's heading when the frame
    // already carries it. A click on a controller goes to `controllerChosen`.
    GeneralInfoWidget(VehicleStatus& vehicle, std::function<void(int index)> controllerChosen, PanelFrame* frame);

private:
    void render();
    void controllerClicked(int row);

    VehicleStatus& vehicle_;
    std::function<void(int)> controllerChosen_;
    QLineEdit* codeCount_;
    QLineEdit* mil_;
    QListWidget* continuous_;
    QListWidget* nonContinuous_;
    QListWidget* incomplete_;
    QLabel* controllersHeading_;
    QListWidget* controllers_;
    QLineEdit* currentAddress_;
    QLineEdit* vin_;
    QListWidget* cycleEnabled_;
    QListWidget* cycleIncomplete_;
    QList<QWidget*> cycleWidgets_; // shown when the controller reports this drive cycle
};

} // namespace zelcor
