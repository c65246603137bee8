#include "ui/logging/replaylauncher.h"

#include "core/session.h"
#include "ui/logging/replaywindow.h"

#include <QDir>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zelcor {

ReplayLauncher::ReplayLauncher(Session& session, QWidget* owner) : QObject(owner), session_(session), owner_(owner) {
    connect(&session_, &Session::recordingChosen, this, &ReplayLauncher::openRecording);
    connect(&session_.traceReplay(), &TraceReplay::started, this, &ReplayLauncher::showTraceWindow);
}

bool ReplayLauncher::replayRunning() const {
    if (session_.link().replaying()) return true;
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
    window->move(recordingPlace(window->frameGeometry().size()));
    window->start();
}

// Beside the main window like the trace replay's window, each further one a step down
// and to the right, kept on the screen.
QPoint ReplayLauncher::recordingPlace(QSize size) const {
    const QRect owner = owner_->window()->frameGeometry();
    const auto windows = owner_->findChildren<ReplayWindow*>(QString(), Qt::FindDirectChildrenOnly);
    const auto others = std::count_if(windows.begin(), windows.end(), [](const ReplayWindow* window) {
        return !window->isTraceReplay() && window->isVisible();
    });
    const int cascade = owner_->fontMetrics().height() * 2 * int(others % 8);
    return onScreen(ReplayWindow::besideOwner(owner, size.height()) + QPoint(cascade, cascade), size);
}

// Moved back onto the main window's screen where it would stick out.
QPoint ReplayLauncher::onScreen(QPoint at, QSize size) const {
    const QScreen* screen = owner_->window()->screen();
    if (!screen) return at;
    const QRect room = screen->availableGeometry();
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height())));
    return at;
}

void ReplayLauncher::showTraceWindow() {
    // Placed when it appears; brought back where the user left it while it is up.
    if (!trace_) trace_ = new ReplayWindow(session_.traceReplay(), owner_);
    const bool place = trace_->isHidden();
    const auto moveBeside = [this] {
        const QRect owner = owner_->window()->frameGeometry();
        const QSize size = trace_->frameGeometry().size();
        trace_->move(onScreen(ReplayWindow::besideOwner(owner, size.height()), size));
    };
    if (place) {
        trace_->ensurePolished();
        trace_->adjustSize();
        moveBeside();
    }
    trace_->start();
    if (place) moveBeside(); // again, now that the frame is known
}

} // namespace zelcor
