#include "ui/logging/replaylauncher.h"

#include "core/session.h"
#include "ui/logging/replaywindow.h"
#include "ui/main/desktoprects.h"
#include "ui/main/windowplacement.h"

#include <QDir>
#include <QWidget>
#include <algorithm>

namespace zelcor {

ReplayLauncher::ReplayLauncher(Session& session, QWidget* owner) : QObject(owner), session_(session), owner_(owner) {
    connect(&session_, &Session::recordingChosen, this, &ReplayLauncher::openRecording);
    connect(&session_.traceReplay(), &TraceReplay::started, this, &ReplayLauncher::showTraceWindow);
}

bool ReplayLauncher::replayRunning() const {
    if (session_.traceReplay().running()) return true;
    const auto windows = owner_->findChildren<ReplayWindow*>(QString(), Qt::FindDirectChildrenOnly);
    return std::any_of(windows.begin(), windows.end(),
                       [](const ReplayWindow* window) { return window->player() && window->player()->running(); });
}

ReplayWindow* ReplayLauncher::traceWindow() const {
    return trace_.data();
}

void ReplayLauncher::openRecording(const QString& path) {
    auto* player = new RecordingPlayer(session_.clock(), session_.settings());
    QString error;
    if (!player->open(path, &error)) {
        delete player;
        QString text = QStringLiteral("The recording %1 could not be read.").arg(QDir::toNativeSeparators(path));
        if (!error.isEmpty()) text += QStringLiteral("\r\n") + error;
        session_.host().message(text, QStringLiteral("Error"), MessageIcon::Exclamation);
        return;
    }
    auto* window = new ReplayWindow(player, owner_);
    window->ensurePolished();
    window->adjustSize();
    window->move(besideMainWindow(window));
    window->start();
    window->move(besideMainWindow(window)); // again, now that the frame is known
}

// Beside the main window on the side with room, off the other replay windows as far as the
// screen allows.
QPoint ReplayLauncher::besideMainWindow(const ReplayWindow* window) const {
    const QWidget* main = owner_->window();
    QList<QRect> taken;
    for (const ReplayWindow* other : owner_->findChildren<ReplayWindow*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != window && other->isVisible()) taken << other->frameGeometry();
    const QRect frame = main->frameGeometry();
    return placesBeside(availableScreenOf(main), frame, frame, taken, {window->frameGeometry().size()})
        .front()
        .topLeft();
}

void ReplayLauncher::showTraceWindow() {
    // Placed when it appears; brought back where the user left it while it is up.
    if (!trace_) trace_ = new ReplayWindow(session_.traceReplay(), owner_);
    const bool place = trace_->isHidden();
    const auto moveBeside = [this] { trace_->move(besideMainWindow(trace_)); };
    if (place) {
        trace_->ensurePolished();
        trace_->adjustSize();
        moveBeside();
    }
    trace_->start();
    if (place) moveBeside(); // again, now that the frame is known
}

} // namespace zelcor
