#pragma once
// The oxygen sensors panel: each sensor's name, output voltage and fuel trim.

#include <QWidget>
#include <array>

class QLabel;

namespace zelcor {

class PanelFrame;
class VehicleStatus;

class OxygenWidget : public QWidget {
    Q_OBJECT
public:
    OxygenWidget(VehicleStatus& vehicle, PanelFrame* frame);

private:
    void render();

    VehicleStatus& vehicle_;
    std::array<QLabel*, 8> names_{};
    std::array<QLabel*, 8> voltages_{};
    std::array<QLabel*, 8> trims_{};
};

} // namespace zelcor
