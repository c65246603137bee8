#pragma once
// Opens the replay windows: one per recorded drive chosen with &REPLAY, and the one
// window of the trace replay ("V"), placed beside the main window.

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace zelcor {

class ReplayWindow;
class Session;

class ReplayLauncher : public QObject {
    Q_OBJECT
public:
    // The windows belong to `owner`, the main window.
    ReplayLauncher(Session& session, QWidget* owner);

    // A recording's play loop or the trace replay is running.
    bool replayRunning() const;
    ReplayWindow* traceWindow() const;

private:
    void openRecording(const QString& path);
    void showTraceWindow();
    QPoint besideMainWindow(const ReplayWindow* window) const;

    Session& session_;
    QWidget* owner_;
    QPointer<ReplayWindow> trace_;
};

} // namespace zelcor
