#include "sim/adapter.h"

#include "sim/drive.h"
#include "sim/isotp.h"
#include "sim/protocol.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelcor::sim {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double timeoutStep = 0.004096; // ATST counts in these
constexpr int defaultTimeout = 0x32;
constexpr int longestLine = 255;
const QByteArray banner = QByteArrayLiteral("ELM327 v1.5");
const QByteArray junk("\xFF\x00\x8A\x7F#\xC3", 6);

// Control characters other than CR and backspace are ignored, line feeds included.
bool ignorable(char c) {
    return c != '\r' && c != '\b' && quint8(c) < 0x20;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool allHex(const QByteArray& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return hexDigit(c) >= 0; });
}

// Time the adapter spends on a protocol of the search that finds no car there.
double searchCost(int protocol) {
    switch (protocolInfo(protocol).bus) {
    case Bus::J1850Pwm:
    case Bus::J1850Vpw:
        return 0.25;
    case Bus::Iso9141:
    case Bus::Kwp:
        return protocolInfo(protocol).slowInit ? 2.7 : 0.45;
    default:
        return 0.12;
    }
}

// Bus time of one legacy message and the pause before the next one.
double messageGap(int protocol, qsizetype bytes) {
    switch (protocolInfo(protocol).bus) {
    case Bus::J1850Pwm:
        return double(bytes) * 0.0002 + 0.001;
    case Bus::J1850Vpw:
        return double(bytes) * 0.0008 + 0.001;
    default:
        return double(bytes) * 0.0015 + 0.025;
    }
}

} // namespace

Adapter::Adapter(Vehicle& vehicle, const Options& options, OutputQueue& output)
    : vehicle_(vehicle), options_(options), output_(output), unplugTime_(infinity) {
    reset();
}

void Adapter::reset() {
    echo_ = true;
    linefeeds_ = options_.linefeedsByDefault;
    format_ = PrintFormat{};
    timeout_ = defaultTimeout;
    adaptive_ = 1;
    current_ = stored_;
    connected_ = 0;
    learned_ = -1;
    lastCommand_.clear();
}

void Adapter::receive(char c, double arrival, quint64 write) {
    pending_.push_back({c, arrival, write});
}

double Adapter::nextEventTime() const {
    double next = infinity;
    if (!pending_.empty()) next = std::max(pending_.front().at, readyAt_);
    if (interruptible_)
        for (const Pending& p : pending_)
            if (p.write != activeWrite_ && !ignorable(p.c) && p.at < readyAt_) return std::min(next, p.at);
    return next;
}

void Adapter::advance(double now) {
    for (;;) {
        if (interruptible_) {
            // A character written after a running request stops it.
            const auto stopper = std::find_if(pending_.begin(), pending_.end(), [this](const Pending& p) {
                return p.write != activeWrite_ && !ignorable(p.c) && p.at < readyAt_;
            });
            if (stopper != pending_.end() && stopper->at <= now) {
                const double at = stopper->at;
                pending_.erase(stopper);
                interrupt(at);
                continue;
            }
        }
        if (pending_.empty()) return;
        const Pending next = pending_.front();
        const double at = std::max(next.at, readyAt_);
        if (at > now) return;
        pending_.pop_front();
        interruptible_ = false;
        handle(next, at);
    }
}

void Adapter::handle(const Pending& pending, double at) {
    if (options_.silentAdapter) return;
    const char c = pending.c;
    if (ignorable(c)) return;
    if (c == '\r') {
        if (echo_) output_.push(at, eol());
        const QByteArray typed = line_;
        line_.clear();
        execute(typed, at, pending.write);
        return;
    }
    if (c == '\b') {
        line_.chop(1);
    } else if (line_.size() < longestLine) {
        line_.append(c);
    }
    if (echo_) output_.push(at, QByteArray(1, c));
}

void Adapter::execute(const QByteArray& typed, double at, quint64 write) {
    QByteArray command;
    for (const char c : typed)
        if (c != ' ') command.append(char(std::toupper(quint8(c))));
    // A bare carriage return repeats the last command.
    if (command.isEmpty()) command = lastCommand_;
    ++tag_;
    activeWrite_ = write;
    if (command.isEmpty()) {
        answer({}, at, false);
        return;
    }
    lastCommand_ = command;
    if (command.startsWith("AT"))
        atCommand(command.mid(2), at);
    else
        obdRequest(command, at);
}

void Adapter::interrupt(double at) {
    output_.cancel(tag_, at);
    interruptible_ = false;
    ++tag_;
    answer({{at, "STOPPED" + eol()}}, at, false);
}

void Adapter::answer(QList<Event> events, double promptAt, bool request) {
    ++answers_;
    const bool garbage = options_.garbageEvery > 0 && answers_ % options_.garbageEvery == 0;
    const bool noPrompt = options_.missingPromptEvery > 0 && answers_ % options_.missingPromptEvery == 0;
    const bool lines = !events.isEmpty();
    if (garbage) {
        if (events.isEmpty())
            events.append({promptAt, junk});
        else
            events.first().text.prepend(junk);
    }
    for (const Event& event : events)
        output_.push(event.at, event.text, tag_);
    if (!noPrompt) output_.push(promptAt, (lines ? eol() : QByteArray()) + ">", tag_);
    readyAt_ = promptAt;
    if (request && options_.unplugAfter > 0 && requests_ == options_.unplugAfter)
        unplugTime_ = std::max(output_.drainTime(), promptAt);
}

bool Adapter::setProtocol(const QByteArray& argument, bool store) {
    ProtocolChoice choice;
    if (argument.size() == 1 && hexDigit(argument[0]) >= 0) {
        choice.number = hexDigit(argument[0]);
        choice.automatic = choice.number == 0;
    } else if (argument.size() == 2 && argument[0] == 'A' && hexDigit(argument[1]) >= 0) {
        choice.number = hexDigit(argument[1]);
        choice.automatic = true;
    } else {
        return false;
    }
    if (choice.number > 12) return false;
    current_ = choice;
    if (store) stored_ = choice;
    connected_ = 0;
    learned_ = -1;
    return true;
}

QByteArray Adapter::describeProtocol(bool numeric) const {
    const int number = connected_ ? connected_ : current_.number;
    if (numeric)
        return (current_.automatic ? QByteArray("A") : QByteArray()) + QByteArray::number(number, 16).toUpper();
    const QByteArray name = protocolInfo(number).name;
    if (!current_.automatic) return name;
    return number ? "AUTO, " + name : QByteArray("AUTO");
}

void Adapter::atCommand(const QByteArray& command, double at) {
    QList<QByteArray> lines{"OK"};
    double delay = timed(0.002);
    auto flag = [&command](const char* name, bool& setting) {
        const QByteArray prefix(name);
        if (command.size() != prefix.size() + 1 || !command.startsWith(prefix)) return false;
        const char value = command.back();
        if (value != '0' && value != '1') return false;
        setting = value == '1';
        return true;
    };
    bool handled = true;
    if (command == "Z" || command == "WS") {
        // Full reset (with the lamp test) or warm start: settings back to defaults.
        reset();
        delay = timed(command == "Z" ? 0.6 : 0.05);
        lines = {"", "", banner};
    } else if (command == "D") {
        reset();
    } else if (flag("E", echo_) || flag("L", linefeeds_) || flag("H", format_.headers) || flag("S", format_.spaces)) {
    } else if (command.startsWith("SP") || command.startsWith("TP")) {
        handled = setProtocol(command.mid(2), command.startsWith("SP"));
    } else if (command == "DP" || command == "DPN") {
        lines = {describeProtocol(command == "DPN")};
    } else if (command == "RV") {
        const double volts = vehicle_.protocol() == 0 ? 12.4 : driveAt(at - keyOn_).voltage;
        lines = {QByteArray::number(volts, 'f', 1) + "V"};
    } else if (command == "I") {
        lines = {banner};
    } else if (command == "@1") {
        lines = {"OBDII to RS232 Interpreter"};
    } else if (command.startsWith("ST") && command.size() == 4 && allHex(command.mid(2))) {
        const int value = command.mid(2).toInt(nullptr, 16);
        timeout_ = value == 0 ? defaultTimeout : value;
    } else if (command.size() == 3 && command.startsWith("AT") && command[2] >= '0' && command[2] <= '2') {
        adaptive_ = command[2] - '0';
    } else if (command == "PC") {
        connected_ = 0;
    } else {
        handled = false;
    }
    if (!handled) lines = {"?"};
    QList<Event> events;
    for (const QByteArray& line : lines)
        events.append({at + delay, line + eol()});
    answer(events, at + delay, false);
}

double Adapter::waitTime() const {
    if (!options_.realTiming) return 0;
    const double fixed = timeout_ * timeoutStep;
    if (adaptive_ == 0 || learned_ < 0) return fixed;
    if (adaptive_ == 1) return std::min(fixed, std::max(2 * learned_ + 0.008, 0.020));
    return std::min(fixed, std::max(learned_ + 0.004, 0.008));
}

bool Adapter::busInit(QList<Event>& events, double& at, int protocol) {
    const bool ok = vehicle_.answersOn(protocol);
    const double duration = timed(protocolInfo(protocol).slowInit ? 2.3 : 0.35);
    events.append({at, "BUS INIT: "});
    for (int dot = 1; dot <= 3; ++dot)
        events.append({at + duration * dot / 4, "."});
    at += duration;
    events.append({at, (ok ? "OK" : "ERROR") + eol()});
    if (ok) connected_ = protocol;
    return ok;
}

bool Adapter::openBus(QList<Event>& events, double& at) {
    if (current_.automatic) {
        events.append({at, "SEARCHING..." + eol()});
        QList<int> order;
        if (current_.number >= firstVehicleProtocol && current_.number <= lastVehicleProtocol)
            order.append(current_.number);
        for (int p = firstVehicleProtocol; p <= lastVehicleProtocol; ++p)
            if (!order.contains(p)) order.append(p);
        for (const int p : order) {
            if (vehicle_.answersOn(p)) {
                if (needsBusInit(p)) return busInit(events, at, p);
                connected_ = p;
                return true;
            }
            at += timed(searchCost(p));
        }
        events.append({at, "UNABLE TO CONNECT" + eol()});
        return false;
    }
    const int p = current_.number;
    if (needsBusInit(p)) return busInit(events, at, p);
    if (isCan(p) && !vehicle_.canTrafficAt(p)) {
        at += timed(0.05);
        events.append({at, "CAN ERROR" + eol()});
        return false;
    }
    connected_ = p;
    return true;
}

QList<Adapter::Event> Adapter::listen(const QList<Vehicle::Reply>& replies, double sent, int wanted, double* promptAt) {
    struct Arrival {
        double at;
        QByteArray text;
        bool endsMessage;
    };
    QList<Arrival> arrivals;
    const bool can = isCan(connected_);
    const bool extended = protocolInfo(connected_).bus == Bus::Can29;
    for (const Vehicle::Reply& reply : replies) {
        const ControllerDefinition& definition = vehicle_.controllers()[reply.controller].definition();
        double at = sent + timed(reply.delay);
        for (const QByteArray& message : reply.messages) {
            if (can) {
                const quint32 id = extended ? (0x18DAF100u | definition.address) : definition.canId;
                const QList<QByteArray> frames = isotp::segment(message, definition.padding);
                for (qsizetype k = 0; k < frames.size(); ++k) {
                    arrivals.append(
                        {at, canLines(id, extended, frames[k], format_, eol()) + eol(), k == frames.size() - 1});
                    // The first frame waits for the adapter's flow control.
                    at += timed(k == 0 && frames.size() > 1 ? 0.0015 : 0.0005);
                }
            } else {
                const QByteArray frame = legacyFrame(connected_, definition.address, message);
                arrivals.append({at, legacyLine(frame, format_) + eol(), true});
                at += timed(messageGap(connected_, frame.size()));
            }
        }
    }
    std::stable_sort(arrivals.begin(), arrivals.end(), [](const Arrival& a, const Arrival& b) { return a.at < b.at; });

    const double wait = waitTime();
    QList<Event> heard;
    double last = sent;
    double longestGap = 0;
    int complete = 0;
    bool enough = false;
    for (const Arrival& arrival : arrivals) {
        if (options_.realTiming && arrival.at > last + wait)
            break; // the adapter stopped listening before this one came
        longestGap = std::max(longestGap, arrival.at - last);
        heard.append({arrival.at, arrival.text});
        last = arrival.at;
        if (arrival.endsMessage && wanted > 0 && ++complete >= wanted) {
            enough = true;
            break;
        }
    }
    if (heard.isEmpty()) {
        *promptAt = sent + wait;
        heard.append({*promptAt, "NO DATA" + eol()});
        learned_ = -1;
        return heard;
    }
    *promptAt = enough ? last : last + wait;
    if (options_.realTiming)
        learned_ = learned_ < 0 ? longestGap : std::max(longestGap, learned_ - (learned_ - longestGap) / 4);
    return heard;
}

void Adapter::obdRequest(QByteArray command, double at) {
    int wanted = 0;
    bool valid = allHex(command);
    if (valid && command.size() % 2 == 1) {
        // A last odd digit is the number of answers to wait for.
        wanted = hexDigit(command.back());
        command.chop(1);
        valid = wanted > 0 && !command.isEmpty();
    }
    const QByteArray request = QByteArray::fromHex(command);
    if (!valid || request.isEmpty() || request.size() > 7) {
        answer({{at, "?" + eol()}}, at, false);
        return;
    }
    ++requests_;
    vehicle_.setSilent(options_.silentVehicle);
    QList<Event> events;
    double now = at + timed(0.001);
    if (!connected_ && !openBus(events, now)) {
        interruptible_ = true;
        answer(events, now, true);
        return;
    }
    // The request on the bus, then the controllers' answers.
    now += timed(0.0005);
    const QList<Vehicle::Reply> replies = vehicle_.request(request, connected_, now - keyOn_, requests_);
    double promptAt = now;
    events.append(listen(replies, now, wanted, &promptAt));
    interruptible_ = true;
    answer(events, promptAt, true);
}

} // namespace zelcor::sim
