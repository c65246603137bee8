#pragma once
// The fuel systems panel: the five states of each fuel system, the current ones in bold.

#include <QWidget>
#include <array>

class QLabel;

namespace zelcor {

class PanelFrame;
class VehicleStatus;

class FuelSystemWidget : public QWidget {
    Q_OBJECT
public:
    FuelSystemWidget(VehicleStatus& vehicle, PanelFrame* frame);

private:
    void render();

    VehicleStatus& vehicle_;
    std::array<QLabel*, 10> states_{};
};

} // namespace zelcor
