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
    if (!path.isEmpty())
        emit recordingChosen(path);
}

void Session::Command13_Click() {
    if (connection.running())
        return;
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
        emit traceReplayStarted();
        connection.CONNECT();
        while (!traceControls.play && !traceReplayEnding_ && !clock.waitsAbandoned())
            clock.yield();
    } while (!traceReplayEnding_ && !clock.waitsAbandoned());
    finishTraceReplay();
}

void Session::endTraceReplay() {
    if (!replaying)
        return;
    traceReplayEnding_ = true;
    stopflag = true;
    if (!traceReplayRunning_)
        finishTraceReplay();
}

void Session::finishTraceReplay() {
    replaying = false;
    trace.closelog();
    traceControls.endStep();
    traceReplayRunning_ = false;
    traceReplayEnding_ = false;
    emit traceReplayChanged();
}

void Session::tracePassEnd() {
    if (settings.recording)
        logline(QStringLiteral("T") + dateTimeText(QDateTime::currentDateTime()));
}

// The function of the next replayed pass: an "F" line before the pass's first reply
// changes it; a pass without one keeps the function of the pass before.
void Session::replayNextFunction() {
    QString line;
    for (;;) {
        const qint64 at = trace.position();
        if (!trace.readLine(line)) {
            funccode = -1;
            return;
        }
        if (line.startsWith(QLatin1Char('F'))) {
            funccode = qint16(val(line.mid(1)));
            return;
        }
        if (isReplyLine(line) || line.startsWith(QLatin1Char('T'))) {
            trace.seek(at);
            return;
        }
    }
}

void Session::replayTail() {
    QString line;
    while (trace.readLine(line)) {
        if (line.startsWith(QLatin1Char('T'))) {
            traceTime = line.mid(1).trimmed();
            emit traceReplayChanged();
            return;
        }
    }
    traceControls.setPlay(false);
    emit traceReplayChanged();
}

} // namespace zelcor
