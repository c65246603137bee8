#pragma once
// The small green lamp of a live-data row: lit while the row's request runs.

#include <QWidget>

namespace zelcor {

class ActivityLamp : public QWidget {
    Q_OBJECT
public:
    explicit ActivityLamp(QWidget* parent = nullptr);

    static QColor colour() { return QColor(0, 192, 0); }

    bool lit() const { return lit_; }
    // Lights the lamp (repainted at once) or darkens it.
    void setLit(bool lit);

    QSize sizeHint() const override { return QSize(9, 9); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool lit_ = false;
};

} // namespace zelcor
