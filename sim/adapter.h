#pragma once
// The ELM327 command interpreter: takes characters off the serial line, answers AT
// commands, sends OBD requests to the vehicle (searching for its protocol first when
// told to) and prints the controllers' answers as the adapter prints them, each answer
// closed by the ">" prompt. Times are seconds on the caller's clock.

#include "sim/addressing.h"
#include "sim/framer.h"
#include "sim/options.h"
#include "sim/outputqueue.h"
#include "sim/vehicle.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <deque>
#include <limits>

namespace zelcor::sim {

class Adapter {
public:
    Adapter(Vehicle& vehicle, const Options& options, OutputQueue& output);

    // One character off the serial line, arrived at `arrival`. `write` numbers the
    // client's writes: what was written together with a request is typed ahead and waits
    // for the prompt; a character written later, while a request is still running,
    // stops that request.
    void receive(char c, double arrival, quint64 write);
    // Handles everything that is due by `now`.
    void advance(double now);
    // The earliest time at which advance() has work to do (+infinity: none).
    double nextEventTime() const;

    // The ignition was switched on at `time`: the drive simulation starts there.
    void setKeyOnTime(double time) { keyOn_ = lastCharacter_ = time; }
    int requestCount() const { return requests_; }
    // When the device goes away (unplug fault); +infinity while it stays.
    double unplugTime() const { return unplugTime_; }

    // The line rate the adapter listens and talks at, at `time` (baud).
    int lineRateAt(double time) const { return time >= rateSince_ ? rate_ : previousRate_; }
    // A client connected at `time`: its idle time starts.
    void clientConnected(double time) { lastCharacter_ = std::max(lastCharacter_, time); }
    // The adapter dropped its TCP client by `now` (reset or idle): true once per drop.
    bool takeHangUp(double now);
    // When the next drop is due; +infinity when none is.
    double nextHangUp() const;
    bool asleep() const { return asleepSince_ < std::numeric_limits<double>::infinity(); }

    // The protocol of the open bus connection (0: none yet) and the adapter's settings.
    int connectedProtocol() const { return connected_; }
    bool echo() const { return echo_; }
    bool linefeeds() const { return linefeeds_; }
    PrintFormat format() const { return format_; }

private:
    struct Pending {
        char c;
        double at;
        quint64 write;
    };
    struct Event {
        double at;
        QByteArray text;
    };
    struct ProtocolChoice {
        int number = 0;
        bool automatic = true;
    };

    // How the faults switched on damage each message of one answer.
    struct Damage {
        qsizetype kept = -1; // short data: the message's bytes that still come (-1: all)
        bool oddDigits = false;
        bool nonHex = false;
    };
    // A stream without a prompt (the flood fault).
    struct Flood {
        double start;     // +infinity: none running
        QByteArray lines; // sent over and over
        qint64 pieces = 0;
    };

    // A rate switch (AT BRD, ST BR) waiting for the client's carriage return at the new rate.
    struct RateSwitch {
        double deadline;
        int fallback = 0;
    };

    void handle(const Pending& pending, double at);
    bool stops(const Pending& pending) const;
    bool refuses(const QByteArray& command) const;
    void resetCommand(const QByteArray& command, double at);
    void stnCommand(const QByteArray& command, double at);
    void switchRate(int rate, const QByteArray& identity, double at);
    void finishRateSwitch(bool confirmed, double at);
    void setLineRate(int rate, double since);
    double sleepTime() const;
    // The car is switched off for a while in the middle of the drive.
    bool ignitionOff(double at) const;
    void fallAsleep(double at);
    void wake(double at);
    void overflow(QList<Event>& heard) const;
    QByteArray bannerText() const;
    void execute(const QByteArray& typed, double at, quint64 write);
    void interrupt(double at);
    // `delay` holds the answer up on its way (late answers): the adapter is ready anyway.
    void answer(QList<Event> events, double promptAt, bool request, double delay = 0);
    void atCommand(const QByteArray& command, double at);
    void obdRequest(QByteArray command, double at);
    bool openBus(QList<Event>& events, double& at);
    bool busInit(QList<Event>& events, double& at, int protocol);
    QList<Event> listen(const QList<Vehicle::Reply>& replies, double sent, int wanted, const Damage& damage,
                        double* promptAt);
    // The printed frames of one message, one text each (no line end).
    QList<QByteArray> printMessage(const ControllerDefinition& definition, const QByteArray& message,
                                   const Damage& damage) const;
    Damage damageFor(const QByteArray& request) const;
    Misprint misprint(const QByteArray& frame, qsizetype index, const Damage& damage) const;
    void endSegmentsEarly(QList<QByteArray>& frames, qsizetype length) const;
    bool answersWithErrorWord(const QByteArray& request) const;
    void startFlood(const QList<Event>& before, const QList<Event>& heard);
    double nextFloodPiece() const;
    void sendFloodPiece();
    bool setProtocol(const QByteArray& argument, bool store);
    QByteArray describeProtocol(bool numeric) const;
    void reset();
    double waitTime() const;
    double timed(double seconds) const { return options_.realTiming ? seconds : 0; }
    bool clone() const { return vehicle_.profile().cloneAdapter; }
    bool stn() const { return vehicle_.profile().stnAdapter; }
    QByteArray eol() const { return linefeeds_ ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r"); }

    Vehicle& vehicle_;
    const Options& options_;
    OutputQueue& output_;

    // Settings (back to defaults on ATZ, ATWS, ATD).
    bool echo_ = true;
    bool linefeeds_ = true;
    PrintFormat format_;
    int timeout_ = 0x32; // ATST, in steps of 4.096 ms
    int adaptive_ = 1;   // ATAT
    CanAddressing addressing_;
    ProtocolChoice current_;
    // Kept across resets (ATSP stores its protocol in the adapter's memory).
    ProtocolChoice stored_;

    int connected_ = 0;   // protocol of the open bus connection
    double learned_ = -1; // adaptive timing: longest answer gap seen lately (-1: none)
    QByteArray line_;     // command being typed
    QByteArray lastCommand_;
    std::deque<Pending> pending_;
    double readyAt_ = -1e300; // the adapter takes the next character from this time on
    bool interruptible_ = false;
    quint64 activeWrite_ = 0;
    int tag_ = 0;
    int answers_ = 0;
    int requests_ = 0;
    double keyOn_ = 0;
    double unplugTime_;
    Flood flood_;
    int busInits_ = 0;
    int rate_;
    int previousRate_;
    double rateSince_ = -std::numeric_limits<double>::infinity();
    RateSwitch rateSwitch_{std::numeric_limits<double>::infinity()};
    double lastCharacter_ = 0;
    double asleepSince_ = std::numeric_limits<double>::infinity();
    double wakingUntil_ = -std::numeric_limits<double>::infinity(); // characters before are lost
    bool slept_ = false;
    double hangUpAt_ = std::numeric_limits<double>::infinity();
};

} // namespace zelcor::sim
