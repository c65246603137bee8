#pragma once
// The single-parameter panel: the parameter's title on the frame, its value below.

#include <QWidget>

class QLabel;

namespace zelcor {

class PanelFrame;
class VehicleStatus;

class ParameterPanelWidget : public QWidget {
    Q_OBJECT
public:
    ParameterPanelWidget(VehicleStatus& vehicle, PanelFrame* frame);

private:
    void render();

    VehicleStatus& vehicle_;
    PanelFrame* frame_;
    QLabel* value_;
};

} // namespace zelcor
