// Replaying the trace log through the whole program ("V"), the trace lines a replay
// needs, and the choice of a recorded drive for the replay window (&REPLAY).

#include "base/datetime.h"
#include "base/numbers.h"
#include "core/session.h"

namespace zelcor {

void Session::Command17_Click() {
    OpenDialogRequest request;
    request.defaultExtension = QStringLiteral("log");
    request.filter = QStringLiteral("Logs (*.log)");
    request.folder = programFolder;
    const QString path = host.openFileName(request);
    if (!path.isEmpty()) emit recordingChosen(path);
}

void Session::Command13_Click() {
    if (connection.running()) return;
    if (traceReplayRunning_) { // already replaying: bring the window back
        emit traceReplayStarted();
        return;
    }
    traceReplayRunning_ = true;
    do {
        replaying = true;
        if (!trace.openForReplay()) {
            host.message(QStringLiteral("There is no trace log to replay at %1.\r\nSwitch on Debug in SET&UP, "
                                        "connect to the car, then replay.")
                             .arg(trace.path()),
                         QStringLiteral("Error"), MessageIcon::Exclamation);
            break;
        }
        traceTime.clear();
        tracePassTime_ = QDateTime();
        emit traceReplayStarted();
        connection.CONNECT();
        while (!traceControls.play && !traceReplayEnding_ && !clock.waitsAbandoned())
            clock.yield();
    } while (!traceReplayEnding_ && !clock.waitsAbandoned());
    finishTraceReplay();
}

void Session::endTraceReplay() {
    if (!replaying) return;
    traceReplayEnding_ = true;
    stopflag = true;
    if (!traceReplayRunning_) finishTraceReplay();
}

void Session::finishTraceReplay() {
    replaying = false;
    trace.closelog();
    traceControls.endStep();
    traceReplayRunning_ = false;
    traceReplayEnding_ = false;
    emit traceReplayChanged();
}

namespace {
const QString kPassTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
// Recorded gaps longer than this (a reconnection, another day's drive) are not waited for.
constexpr double kLongestPassWait = 10.0;
} // namespace

void Session::tracePassEnd() {
    if (settings.recording) logline(QStringLiteral("T") + QDateTime::currentDateTime().toString(kPassTimeFormat));
}

// What comes before the next replayed pass's first reply: an "F" line changes the
// function (a pass without one keeps the function of the pass before) and a "K" line
// the channels chosen on the live-data and graph panels.
void Session::replayNextFunction() {
    QString line;
    bool changed = false;
    for (;;) {
        const qint64 at = trace.position();
        if (!trace.readLine(line)) {
            if (!changed) funccode = -1;
            return;
        }
        if (line.startsWith(QLatin1Char('F'))) {
            funccode = qint16(val(line.mid(1)));
            changed = true;
        } else if (line.startsWith(QLatin1Char('K'))) {
            applyPanelChoices(line);
        } else if (isReplyLine(line) || line.startsWith(QLatin1Char('T'))) {
            trace.seek(at);
            return;
        }
    }
}

void Session::replayTail() {
    QString line;
    while (trace.readLine(line)) {
        if (line.startsWith(QLatin1Char('T'))) {
            const QString text = line.mid(1).trimmed();
            const QDateTime recorded = QDateTime::fromString(text, kPassTimeFormat);
            traceTime = recorded.isValid() ? dateTimeText(recorded) : text;
            emit traceReplayChanged();
            paceTracePass(recorded);
            return;
        }
    }
    traceControls.setPlay(false);
    emit traceReplayChanged();
}

void Session::paceTracePass(const QDateTime& recorded) {
    if (tracePassTime_.isValid() && recorded.isValid()) {
        const double due = tracePassTime_.msecsTo(recorded) / 1000.0;
        if (due > 0 && due <= kLongestPassWait) {
            for (;;) {
                const double speed = traceControls.speedFactor();
                if (speed <= 0 || (clock.now() - tracePassClock_) * speed >= due || !traceControls.play ||
                    traceControls.step || traceControls.fast || traceReplayEnding_ || stopflag ||
                    clock.waitsAbandoned())
                    break;
                clock.yield();
            }
        }
    }
    tracePassTime_ = recorded;
    tracePassClock_ = clock.now();
}

} // namespace zelcor
