#include "sim/adapter.h"

#include "sim/adapterparts.h"
#include "sim/drive.h"
#include "sim/isotp.h"
#include "sim/protocol.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelcor::sim {

using namespace adapterparts;

Adapter::Adapter(Vehicle& vehicle, const Options& options, OutputQueue& output)
    : vehicle_(vehicle), options_(options), output_(output), unplugTime_(infinity), flood_{infinity, {}, 0},
      rate_(options.baud), previousRate_(options.baud) {
    output_.setLineRate(rate_);
    reset();
}

QByteArray Adapter::bannerText() const {
    if (!options_.banner.isEmpty()) return options_.banner;
    return stn() ? stnBanner : clone() ? cloneBanner : banner;
}

bool Adapter::refuses(const QByteArray& command) const {
    for (const QByteArray& name : options_.refused)
        if (isCommand(command, name.mid(2))) return true;
    if (options_.commandSet.isEmpty()) return false;
    for (const Introduced& later : laterCommands)
        if (QByteArray(later.version) > options_.commandSet)
            for (const char* name : later.names)
                if (name && isCommand(command, name)) return true;
    return false;
}

void Adapter::setLineRate(int rate, double since) {
    previousRate_ = lineRateAt(since);
    rate_ = rate;
    rateSince_ = since;
    output_.setLineRate(rate);
}

bool Adapter::takeHangUp(double now) {
    if (hangUpAt_ <= now) {
        hangUpAt_ = infinity;
        return true;
    }
    if (options_.idleHangUp > 0 && lastCharacter_ + options_.idleHangUp <= now) {
        lastCharacter_ = now; // the next client gets its own idle time
        return true;
    }
    return false;
}

double Adapter::nextHangUp() const {
    return std::min(hangUpAt_, options_.idleHangUp > 0 ? lastCharacter_ + options_.idleHangUp : infinity);
}

bool Adapter::ignitionOff(double at) const {
    const double off = keyOn_ + options_.ignitionOffAfter;
    return options_.ignitionOffAfter > 0 && at >= off && at < off + options_.ignitionOffSeconds;
}

double Adapter::sleepTime() const {
    if (options_.sleepAfter <= 0 || asleep()) return infinity;
    if (options_.sleepWhenIdle) return lastCharacter_ + options_.sleepAfter;
    return slept_ ? infinity : keyOn_ + options_.sleepAfter;
}

void Adapter::fallAsleep(double at) {
    // Whatever it was doing is cut off.
    output_.cancel(tag_, at);
    flood_.start = infinity;
    interruptible_ = false;
    rateSwitch_.deadline = infinity;
    ++tag_;
    output_.push(at, eol() + options_.sleepWord + eol());
    asleepSince_ = at;
    slept_ = true;
    readyAt_ = at;
    line_.clear();
}

void Adapter::wake(double at) {
    asleepSince_ = infinity;
    lastCharacter_ = at;
    reset();
    setLineRate(options_.baud, at);
    const double up = at + wakeTime;
    wakingUntil_ = up;
    answer({{up, eol()}, {up, eol()}, {up, bannerText() + eol()}}, up, false);
}

void Adapter::reset() {
    echo_ = true;
    linefeeds_ = options_.linefeedsByDefault;
    format_ = PrintFormat{};
    timeout_ = defaultTimeout;
    adaptive_ = 1;
    addressing_.reset();
    current_ = stored_;
    connected_ = 0;
    learned_ = -1;
    lastCommand_.clear();
}

void Adapter::receive(char c, double arrival, quint64 write) {
    pending_.push_back({c, arrival, write});
    lastCharacter_ = std::max(lastCharacter_, arrival);
}

bool Adapter::stops(const Pending& p) const {
    if (!interruptible_ || p.at >= readyAt_) return false;
    return options_.stopOnAnyCharacter || (p.write != activeWrite_ && !ignorable(p.c));
}

double Adapter::nextEventTime() const {
    double next = std::min({nextFloodPiece(), sleepTime(), rateSwitch_.deadline});
    if (!pending_.empty()) next = std::min(next, std::max(pending_.front().at, readyAt_));
    for (const Pending& p : pending_)
        if (stops(p)) return std::min(next, p.at);
    return next;
}

void Adapter::advance(double now) {
    for (;;) {
        // A character written after a running request stops it.
        const auto stopper =
            std::find_if(pending_.begin(), pending_.end(), [this](const Pending& p) { return stops(p); });
        const double stopAt = stopper != pending_.end() ? stopper->at : infinity;
        const double nextAt = pending_.empty() ? infinity : std::max(pending_.front().at, readyAt_);
        const double sleepAt = sleepTime();
        if (sleepAt <= now && sleepAt <= std::min({stopAt, nextAt, nextFloodPiece()})) {
            fallAsleep(sleepAt);
            continue;
        }
        // No carriage return at the new rate in time: back to the old one.
        if (rateSwitch_.deadline <= now && rateSwitch_.deadline < nextAt) {
            finishRateSwitch(false, rateSwitch_.deadline);
            continue;
        }
        if (nextFloodPiece() <= std::min(now, stopAt)) {
            sendFloodPiece();
            continue;
        }
        if (stopAt <= now) {
            pending_.erase(stopper);
            interrupt(stopAt);
            continue;
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
    if (asleep()) {
        // Asleep the character is lost; after the time asleep it wakes the adapter.
        if (at >= asleepSince_ + options_.asleepSeconds) wake(at);
        return;
    }
    if (pending.at < wakingUntil_) return;
    if (rateSwitch_.deadline < infinity) {
        if (c == '\r') finishRateSwitch(true, at);
        return;
    }
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
    else if (stn() && command.startsWith("ST"))
        stnCommand(command.mid(2), at);
    else
        obdRequest(command, at);
}

void Adapter::interrupt(double at) {
    output_.cancel(tag_, at);
    flood_.start = infinity;
    interruptible_ = false;
    ++tag_;
    answer({{at, "STOPPED" + eol()}}, at, false);
}

void Adapter::answer(QList<Event> events, double promptAt, bool request, double delay) {
    ++answers_;
    const bool garbage = everyNth(options_.garbageEvery, answers_);
    const bool noPrompt = everyNth(options_.missingPromptEvery, answers_);
    const bool lines = !events.isEmpty();
    if (garbage) {
        if (events.isEmpty())
            events.append({promptAt, junk});
        else
            events.first().text.prepend(junk);
    }
    // An answer held up on its way is out of the adapter: nothing withdraws it.
    const int tag = delay > 0 ? 0 : tag_;
    for (const Event& event : events)
        output_.push(event.at + delay, event.text, tag);
    if (!noPrompt) output_.push(promptAt + delay, (lines ? eol() : QByteArray()) + ">", tag);
    readyAt_ = promptAt;
    if (request && options_.unplugAfter > 0 && requests_ == options_.unplugAfter)
        unplugTime_ = std::max(output_.drainTime(), promptAt);
}

double Adapter::waitTime() const {
    if (!options_.realTiming) return 0;
    const double fixed = timeout_ * timeoutStep;
    if (adaptive_ == 0 || learned_ < 0 || clone()) return fixed;
    if (adaptive_ == 1) return std::min(fixed, std::max(2 * learned_ + 0.008, 0.020));
    return std::min(fixed, std::max(learned_ + 0.004, 0.008));
}

bool Adapter::busInit(QList<Event>& events, double& at, int protocol) {
    const bool ok = vehicle_.answersOn(protocol) && ++busInits_ > options_.busInitFailures;
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
        at += std::max(0.0, options_.searchSeconds);
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

Adapter::Damage Adapter::damageFor(const QByteArray& request) const {
    Damage damage;
    if (everyNth(options_.shortDataEvery, requests_)) damage.kept = echoedBytes(request);
    damage.oddDigits = everyNth(options_.oddDigitsEvery, requests_);
    damage.nonHex = everyNth(options_.nonHexEvery, requests_);
    return damage;
}

Misprint Adapter::misprint(const QByteArray& frame, qsizetype index, const Damage& damage) const {
    if ((!damage.oddDigits && !damage.nonHex) || index < 0 || index >= frame.size()) return {};
    QByteArray text = hexText(frame.mid(index, 1), false);
    if (damage.oddDigits) text.chop(1);
    if (damage.nonHex) {
        const qsizetype digits = std::min<qsizetype>(text.size(), std::clamp(options_.nonHexDigits, 1, 2));
        text = text.left(text.size() - digits) + QByteArray(digits, 'Z');
    }
    return {index, text};
}

void Adapter::endSegmentsEarly(QList<QByteArray>& frames, qsizetype length) const {
    const int announced = std::min(options_.segmentAnnounce, isotp::maxLength);
    if (announced > length) {
        frames.first()[0] = char(0x10 | (announced >> 8));
        frames.first()[1] = char(announced & 0xFF);
    }
    if (options_.segmentFrames > 0 && frames.size() > options_.segmentFrames) frames.resize(options_.segmentFrames);
}

QList<QByteArray> Adapter::printMessage(const ControllerDefinition& definition, const QByteArray& message,
                                        const Damage& damage) const {
    PrintFormat format = format_;
    if (options_.ignoreHeaders) format.headers = false;
    const qsizetype kept = damage.kept < 0 ? message.size() : std::min(damage.kept, message.size());
    const qsizetype last = kept - 1; // the last data byte that comes, in the message
    QList<QByteArray> texts;
    if (isCan(connected_)) {
        const bool extended = protocolInfo(connected_).bus == Bus::Can29;
        const quint32 id = extended ? (0x18DAF100u | definition.address) : definition.canId;
        QList<QByteArray> frames = isotp::segment(message, definition.padding);
        const bool segmented = frames.size() > 1;
        // The frame that carries the last data byte, and where in it.
        qsizetype carrier = 0, index = 1 + last;
        if (segmented) {
            carrier = last < 6 ? 0 : 1 + (last - 6) / 7;
            index = last < 6 ? 2 + last : 1 + (last - 6) % 7;
            endSegmentsEarly(frames, message.size());
        }
        if (kept < message.size()) frames = {frames.first().left((segmented ? 2 : 1) + kept)};
        for (qsizetype k = 0; k < frames.size(); ++k)
            texts.append(canLines(id, extended, frames[k], format, eol(),
                                  k == carrier && last >= 0 ? misprint(frames[k], index, damage) : Misprint{}));
    } else {
        QByteArray frame = legacyFrame(connected_, definition.address, message);
        if (kept < message.size()) frame = frame.left(3 + kept);
        const Misprint wrong = last >= 0 ? misprint(frame, 3 + last, damage) : Misprint{};
        texts.append(legacyLine(frame, format, wrong, kept == message.size()));
    }
    if (options_.lowercase)
        for (QByteArray& text : texts)
            text = text.toLower();
    return texts;
}

QList<Adapter::Event> Adapter::listen(const QList<Vehicle::Reply>& replies, double sent, int wanted,
                                      const Damage& damage, double* promptAt) {
    struct Arrival {
        double at;
        QByteArray text;
        bool endsMessage;
    };
    QList<Arrival> arrivals;
    const bool can = isCan(connected_);
    for (const Vehicle::Reply& reply : replies) {
        const ControllerDefinition& definition = vehicle_.controllers()[reply.controller].definition();
        if (can) {
            const bool extended = protocolInfo(connected_).bus == Bus::Can29;
            if (!addressing_.passes(extended ? (0x18DAF100u | definition.address) : definition.canId, extended))
                continue;
        }
        double at = sent + timed(reply.delay);
        for (const QByteArray& message : reply.messages) {
            const QList<QByteArray> texts = printMessage(definition, message, damage);
            for (qsizetype k = 0; k < texts.size(); ++k) {
                arrivals.append({at, texts[k] + eol(), k == texts.size() - 1});
                // A first frame waits for the adapter's flow control; a legacy message
                // takes its bus time (three header bytes and the check byte around the data).
                if (can)
                    at += timed(k == 0 && texts.size() > 1 ? 0.0015 : 0.0005);
                else
                    at += timed(messageGap(connected_, message.size() + 4));
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
    if (options_.responseCount == Options::ResponseCount::OneMore && wanted > 0) ++wanted;
    if (options_.responseCount == Options::ResponseCount::Ignored) wanted = 0;
    if (clone()) {
        wanted = 0; // it waits out its time-out all the same
        if (request.size() > 2 && quint8(request[0]) == 0x01) valid = false;
    }
    if (!valid || request.isEmpty() || request.size() > 7) {
        answer({{at, "?" + eol()}}, at, false);
        return;
    }
    ++requests_;
    vehicle_.setSilent(options_.silentVehicle || at < keyOn_ + options_.ignitionAfter || ignitionOff(at));
    QList<Event> events;
    double now = at + timed(0.001);
    if (!connected_ && !openBus(events, now)) {
        interruptible_ = true;
        answer(events, now, true);
        return;
    }
    // The request on the bus, then the controllers' answers.
    now += timed(0.0005);
    // A car that answers its vehicle information items without listing them.
    const bool unlisted = options_.unlistedVehicleInfo && request == QByteArray::fromHex("0900");
    const QList<Vehicle::Reply> replies = unlisted
                                              ? QList<Vehicle::Reply>()
                                              : vehicle_.request(request, connected_, now - keyOn_, requests_,
                                                                 [this](const ControllerDefinition& controller) {
                                                                     return addressing_.reaches(controller, connected_);
                                                                 });
    double promptAt = now;
    QList<Event> heard = listen(replies, now, wanted, damageFor(request), &promptAt);
    overflow(heard);
    if (answersWithErrorWord(request)) heard = {{heard.first().at, options_.errorWord + eol()}};
    interruptible_ = true;
    if (options_.floodKilobytes > 0 && requests_ > options_.floodAfter) {
        startFlood(events, heard);
        return;
    }
    events.append(heard);
    const bool late = everyNth(options_.lateEvery, requests_);
    answer(events, promptAt, true, late ? std::max(0.0, options_.lateSeconds) : 0);
}

// At 38400 baud or less a long answer comes from the bus faster than the line carries it:
// what fits in the adapter's buffer, then BUFFER FULL.
void Adapter::overflow(QList<Event>& heard) const {
    const int limit = stn() ? options_.bufferBytes * 8 : options_.bufferBytes;
    if (limit <= 0 || rate_ > 38400) return;
    qsizetype used = 0;
    for (qsizetype k = 0; k < heard.size(); ++k) {
        used += heard[k].text.size();
        if (used <= limit) continue;
        const double at = heard[k].at;
        heard.resize(k);
        heard.append({at, "BUFFER FULL" + eol()});
        return;
    }
}

bool Adapter::answersWithErrorWord(const QByteArray& request) const {
    if (options_.errorWord.isEmpty() || requests_ <= options_.errorAfter) return false;
    const quint8 service = quint8(request[0]);
    return options_.errorOnAll || service == 0x02 || service == 0x03 || service == 0x07;
}

void Adapter::startFlood(const QList<Event>& before, const QList<Event>& heard) {
    ++answers_;
    for (const Event& event : before)
        output_.push(event.at, event.text, tag_);
    flood_.lines.clear();
    for (const Event& event : heard)
        flood_.lines += event.text;
    flood_.start = heard.first().at;
    flood_.pieces = 0;
    readyAt_ = infinity; // only a character from the client ends it
}

double Adapter::nextFloodPiece() const {
    if (flood_.start == infinity || options_.floodKilobytes <= 0) return infinity;
    return flood_.start + double(flood_.pieces) * floodStep;
}

void Adapter::sendFloodPiece() {
    const double at = nextFloodPiece();
    const qsizetype size = qsizetype(options_.floodKilobytes) * qsizetype(1000 * floodStep);
    qsizetype offset = qsizetype((flood_.pieces * size) % flood_.lines.size());
    ++flood_.pieces;
    // While the line still carries earlier pieces the adapter's buffer is full: this one is lost.
    if (output_.lineBusyUntil() > at) return;
    QByteArray piece;
    while (piece.size() < size) {
        piece += flood_.lines.mid(offset, size - piece.size());
        offset = 0;
    }
    output_.push(at, piece, tag_);
}

} // namespace zelcor::sim
