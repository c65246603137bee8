#include "logging/tracereplay.h"

#include "base/datetime.h"
#include "base/numbers.h"

namespace zelcor {

namespace {
// Recorded gaps longer than this (a reconnection, another day's drive) are not waited for.
constexpr double kLongestPassWait = 10.0;
} // namespace

TraceReplay::TraceReplay(Link& link, Connection& connection, TraceReplayHooks hooks)
    : link_(link), connection_(connection), hooks_(std::move(hooks)) {
    port_.setListLineHandler([this](int entry) {
        if (hooks_.chooseListEntry) hooks_.chooseListEntry(entry);
    });
    // A command past the trace's end: the replayed connection ends (the pass sees an unanswered link).
    port_.setEndHandler([this] { link_.requestStop(); });
}

void TraceReplay::run() {
    if (connection_.running()) return;
    if (running_) { // already replaying: bring the window back
        emit started();
        return;
    }
    running_ = true;
    Clock& clock = link_.clock();
    // The trace log is read, not written, until the replay ends.
    link_.trace().setHeld(true);
    livePort_ = &link_.port();
    link_.usePort(port_);
    if (hooks_.running) hooks_.running(true);
    do {
        if (!port_.start(link_.trace().path())) {
            link_.host().message(QStringLiteral("There is no trace log to replay at %1.\r\nSwitch on Debug in SET&UP, "
                                                "connect to the car, then replay.")
                                     .arg(link_.trace().path()),
                                 QStringLiteral("Error"), MessageIcon::Exclamation);
            break;
        }
        passTime_.clear();
        recordedPassTime_ = QDateTime();
        emit started();
        connection_.run();
        // The end of the trace pauses; play starts it again from the beginning. (A trace
        // that ends right after a pass, with no closing line, would otherwise start over
        // by itself, again and again.)
        if (controls_.play) {
            controls_.setPlay(false);
            emit changed();
        }
        while (!controls_.play && !ending_ && !clock.waitsAbandoned())
            clock.yield();
    } while (!ending_ && !clock.waitsAbandoned());
    finish();
}

void TraceReplay::end() {
    if (!running_) return;
    ending_ = true;
    link_.requestStop();
}

void TraceReplay::finish() {
    port_.stop();
    if (livePort_) link_.usePort(*livePort_);
    livePort_ = nullptr;
    link_.trace().setHeld(false);
    if (hooks_.running) hooks_.running(false);
    controls_.endStep();
    running_ = false;
    ending_ = false;
    emit changed();
}

// What comes before the next replayed pass's first reply: an "F" line changes the
// function (a pass without one keeps the function of the pass before), a "K" line
// the channels chosen on the live-data and graph panels, a "Q" line how parameters were
// asked.
void TraceReplay::beforePass() {
    TraceLog& trace = port_.trace();
    QString line;
    bool changed = false;
    for (;;) {
        const qint64 at = trace.position();
        if (!trace.readLine(line)) {
            if (!changed && hooks_.selectFunction) hooks_.selectFunction(-1);
            return;
        }
        if (line.startsWith(QLatin1Char('F'))) {
            // A number no function has (a damaged line) changes nothing.
            const auto code = toInt16(leadingNumber(line.mid(1)));
            if (!code) continue;
            if (hooks_.selectFunction) hooks_.selectFunction(*code);
            changed = true;
        } else if (line.startsWith(QLatin1Char('K'))) {
            if (hooks_.applyChoices) hooks_.applyChoices(line);
        } else if (line.startsWith(QLatin1Char('Q'))) {
            if (hooks_.applyPolling) hooks_.applyPolling(line);
        } else if (isReplyLine(line) || line.startsWith(QLatin1Char('T'))) {
            trace.seek(at);
            return;
        }
    }
}

void TraceReplay::afterPass(bool exchanged) {
    Q_UNUSED(exchanged) // the recorded pass decides
    QString line;
    bool paced = false;
    while (!paced && port_.trace().readLine(line)) {
        if (line.startsWith(QLatin1Char('T'))) {
            const QDateTime recorded = TraceLog::passEndTime(line);
            passTime_ = recorded.isValid() ? dateTimeText(recorded) : line.mid(1).trimmed();
            emit changed();
            pace(recorded);
            paced = true;
        }
    }
    if (!paced) {
        controls_.setPlay(false);
        emit changed();
    }
    if (port_.atEnd()) link_.requestStop();
    waitWhilePaused();
}

void TraceReplay::pace(const QDateTime& recorded) {
    Clock& clock = link_.clock();
    if (recordedPassTime_.isValid() && recorded.isValid()) {
        const double due = recordedPassTime_.msecsTo(recorded) / 1000.0;
        if (due > 0 && due <= kLongestPassWait) {
            for (;;) {
                const double speed = controls_.speedFactor();
                if (speed <= 0 || (clock.now() - replayedAt_) * speed >= due || !controls_.play || controls_.step ||
                    controls_.fast || ending_ || link_.stopRequested() || clock.waitsAbandoned())
                    break;
                clock.yield();
            }
        }
    }
    recordedPassTime_ = recorded;
    replayedAt_ = clock.now();
}

void TraceReplay::waitWhilePaused() {
    Clock& clock = link_.clock();
    while (!controls_.play && !link_.stopRequested() && !clock.waitsAbandoned())
        clock.yield();
    if (controls_.step) {
        controls_.endStep();
        emit changed();
    }
}

} // namespace zelcor
