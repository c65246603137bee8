#pragma once
// The round connection status lamp: black idle, yellow waking the adapter,
// green link up, red link lost.

#include "link/connection.h"

#include <QWidget>

namespace zelcor {

class StatusLamp : public QWidget {
    Q_OBJECT
public:
    explicit StatusLamp(QWidget* parent = nullptr);

    void setLamp(Lamp lamp);
    Lamp lamp() const { return lamp_; }
    static QColor colour(Lamp lamp);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Lamp lamp_ = Lamp::Black;
};

} // namespace zelcor
