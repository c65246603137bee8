#pragma once
// The oxygen sensors panel (D0113): each sensor's name, output voltage and fuel trim.

#include <QWidget>
#include <array>

class QLabel;

namespace zelcor {

class PanelFrame;
class Session;

class OxygenWidget : public QWidget {
    Q_OBJECT
public:
    OxygenWidget(Session& session, PanelFrame* frame);

private:
    void render();

    Session& session_;
    std::array<QLabel*, 8> names_{};    // Label6_i
    std::array<QLabel*, 8> voltages_{}; // Label7_i
    std::array<QLabel*, 8> trims_{};    // Label8_i
};

} // namespace zelcor
