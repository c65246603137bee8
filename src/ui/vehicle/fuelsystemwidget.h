#pragma once
// The fuel systems panel (D0103): the five states of each fuel system, the current ones in bold.

#include <QWidget>
#include <array>

class QLabel;

namespace zelcor {

class PanelFrame;
class Session;

class FuelSystemWidget : public QWidget {
    Q_OBJECT
public:
    FuelSystemWidget(Session& session, PanelFrame* frame);

private:
    void render();

    Session& session_;
    std::array<QLabel*, 10> states_{}; // Label4_0 .. Label4_9
};

} // namespace zelcor
