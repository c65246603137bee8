#pragma once
// The gauge windows of the ten live-data rows: one exists while its row's "Show Gauge"
// box is checked; each takes the readings the live-data pass feeds to its row. They open
// beside the main window, off the live panel's controls, or where the user last left them.

#include "live/livedata.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

namespace zelcor {

class GaugeWindow;

// The main window's bars and buttons above and below `panel`'s frame, on the desktop: gauges
// keep off them while the screen has other room.
QList<QRect> windowBars(const QWidget* panel);

class GaugeWindows : public QObject {
    Q_OBJECT
public:
    // The windows float beside `panel`'s window and belong to it; the places the user gives
    // them are kept in zelcor.ini in `programFolder` (none kept when it is empty).
    GaugeWindows(LiveData& live, QWidget* panel, const QString& programFolder);
    ~GaugeWindows() override;

    // The window of a row, if it has one.
    GaugeWindow* window(int row) const;
    // Every open gauge back in order beside the main window; the places the user chose are
    // forgotten.
    void tile();
    // The gauges show old values (the car stopped answering) or live ones.
    void setStale(bool stale);

private:
    void sync(int row);
    void feed(int row);
    void open(int row);
    void release(int row);
    void releaseAll();
    void closedByUser(int row);
    void keepPlace(int row);
    QRect placeFor(int row, QSize size) const;

    LiveData& live_;
    QWidget* panel_;
    QString programFolder_;
    std::array<QPointer<GaugeWindow>, kLiveRows> gauges_;
    bool stale_ = false;
    // Where each window was put; one found elsewhere was moved by the user.
    std::array<QPoint, kLiveRows> placed_{};
};

} // namespace zelcor
