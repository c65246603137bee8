#pragma once
// The shortest time the serial line, the adapter and the controller allow for the requests
// of a live pass: every character both ways takes ten bits at the line rate, the adapter
// spends its own time on each command, and the controller answers each request after the
// shortest delay measured for it on this connection (on the slower buses the time its
// answer takes there, too). A pass that took about this long runs at the adapter's limit.

#include <QHash>
#include <QMap>
#include <QString>
#include <optional>

namespace zelcor {

// The rate the adapter's line runs at unless the connection moved it.
inline constexpr int kDefaultLineRate = 38400;

// What the requests of one pass put on the line.
struct PassLoad {
    double lineSeconds = 0;      // the characters of the requests and their replies
    QMap<QString, int> requests; // how often each command went out (in order: the same sum every run)

    PassLoad& operator+=(const PassLoad& other) {
        lineSeconds += other.lineSeconds;
        for (auto it = other.requests.constBegin(); it != other.requests.constEnd(); ++it)
            requests[it.key()] += it.value();
        return *this;
    }
};

class PassBound {
public:
    // The line rate in baud (a faster line after a rate switch); 0 or less: no serial line,
    // no bound.
    void setLineRate(int baud);
    int lineRate() const { return baud_; }
    // A new connection: nothing measured yet.
    void reset();

    // The time `characters` take on the line, ten bits each.
    double lineSeconds(qsizetype characters) const;

    // A pass begins; its requests are counted from here.
    void beginPass() { current_ = PassLoad{}; }
    // One request of the pass: `command` sent (and its carriage return), `replyCharacters`
    // received up to the prompt, `took` seconds from writing the command to the prompt.
    void noteRequest(const QString& command, qsizetype replyCharacters, double took);
    // The requests noted since the pass began.
    const PassLoad& currentPass() const { return current_; }

    // The shortest time seen for `command` (seconds) beyond its characters on the line: the
    // adapter's own time and the controller's answer; none before it was measured.
    std::optional<double> answerTime(const QString& command) const;
    // The shortest time `load` can take; none while a command of it was not measured, or
    // when a request took less than its characters need (the line is not a serial line at
    // this rate: a network adapter, a link without line timing).
    std::optional<double> shortest(const PassLoad& load) const;

private:
    int baud_ = kDefaultLineRate;
    PassLoad current_;
    QHash<QString, double> answerTimes_;
    bool fasterThanLine_ = false;
};

// "13.2 /sec", with the share of the bound when one is known ("13.2 /sec, 94 %").
QString passRateText(double passesPerSecond, std::optional<double> boundPassesPerSecond);

} // namespace zelcor
