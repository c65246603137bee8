#include "logging/tracereplay.h"

#include "base/datetime.h"
#include "base/numbers.h"

namespace zelcor {

namespace {
const QString kPassTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
// Recorded gaps longer than this (a reconnection, another day's drive) are not waited for.
constexpr double kLongestPassWait = 10.0;
} // namespace

TraceReplay::TraceReplay(Link& link, Connection& connection, TraceReplayHooks hooks)
    : link_(link), connection_(connection), hooks_(std::move(hooks)) {}

QString TraceReplay::passEndLine(const QDateTime& now) {
    return QStringLiteral("T") + now.toString(kPassTimeFormat);
}

void TraceReplay::run() {
    if (connection_.running()) return;
    if (running_) { // already replaying: bring the window back
        emit started();
        return;
    }
    running_ = true;
    Clock& clock = link_.clock();
    do {
        link_.setReplaying(true);
        if (!link_.trace().openForReplay()) {
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
    if (!link_.replaying()) return;
    ending_ = true;
    link_.requestStop();
    if (!running_) finish();
}

void TraceReplay::finish() {
    link_.setReplaying(false);
    link_.trace().close();
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
    TraceLog& trace = link_.trace();
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

void TraceReplay::afterPass() {
    QString line;
    while (link_.trace().readLine(line)) {
        if (line.startsWith(QLatin1Char('T'))) {
            const QString text = line.mid(1).trimmed();
            const QDateTime recorded = QDateTime::fromString(text, kPassTimeFormat);
            passTime_ = recorded.isValid() ? dateTimeText(recorded) : text;
            emit changed();
            pace(recorded);
            return;
        }
    }
    controls_.setPlay(false);
    emit changed();
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
