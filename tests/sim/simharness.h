#pragma once
// Talks to an in-process simulated adapter on made-up time, for the simulator's own tests.

#include "sim/faultoptions.h"
#include "sim/simulator.h"
#include "simport.h"

#include <QCommandLineParser>

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace zelcor::test {

inline sim::Options simOptions(const QString& profile, int protocol = 0, bool realTiming = false) {
    sim::Options options;
    options.profile = profile;
    options.protocol = protocol;
    options.realTiming = realTiming;
    return options;
}

// The options zelcor-sim makes of `arguments`; *error set when it refuses them.
inline sim::Options parsed(const QString& profile, const QStringList& arguments, QString* error = nullptr) {
    return withSwitches(simOptions(profile), arguments, error);
}

struct Answer {
    QByteArray text;
    double sent = 0;     // when the command was written
    double finished = 0; // when the last byte (the prompt) arrived
    double first = 0;    // when the first byte arrived
    double took() const { return finished - sent; }
};

// Sends a command and collects the answer up to the prompt, moving time on to each output
// as it falls due.
class SimHarness {
public:
    explicit SimHarness(const sim::Options& options = {}) : sim(options) {}

    // Writes `bytes` now and reads until the prompt or until `limit` seconds have passed.
    Answer exchange(const QByteArray& bytes, double limit = 30) {
        Answer answer;
        answer.sent = now;
        sim.input(bytes, now);
        const double end = now + limit;
        while (!answer.text.endsWith('>')) {
            const double next = sim.nextOutputTime();
            if (next > end) break;
            now = std::max(now, next);
            const QByteArray got = sim.output(now);
            if (!got.isEmpty() && answer.text.isEmpty()) answer.first = now;
            answer.text += got;
        }
        answer.finished = now;
        return answer;
    }
    // One command (CR added); the answer text.
    QByteArray ask(const QByteArray& command, double limit = 30) { return exchange(command + "\r", limit).text; }
    // Several commands, answers dropped: "ATE0 ATL0 ATH1".
    void setup(const QString& commands) {
        for (const QString& command : commands.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            ask(command.toLatin1());
    }
    // Writes `bytes` now; everything that comes in the next `seconds`, a second at a time.
    QByteArray writeAndCollect(const QByteArray& bytes, int seconds = 20) {
        sim.input(bytes, now);
        QByteArray got;
        for (int i = 0; i < seconds; ++i)
            got += sim.output(now += 1);
        return got;
    }
    void wait(double seconds) {
        now += seconds;
        sim.output(now);
    }

    sim::Simulator sim;
    double now = 100;
};

} // namespace zelcor::test
