// The adapter's own commands: AT settings, resets, the rate switch and the STN commands.

#include "sim/adapter.h"
#include "sim/adapterparts.h"
#include "sim/protocol.h"

#include <algorithm>
#include <cmath>

namespace zelcor::sim {

using namespace adapterparts;

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
    bool handled = !refuses(command);
    if (!handled) {
    } else if (command == "Z" || command == "WS") {
        resetCommand(command, at);
        return;
    } else if (command == "D") {
        reset();
    } else if (flag("E", echo_) || flag("L", linefeeds_) || flag("H", format_.headers)) {
        if (options_.stickyEcho) echo_ = true;
        if (options_.stickyLinefeeds) linefeeds_ = true;
        if (options_.silentSettings) lines = {""};
    } else if (flag("S", format_.spaces)) {
    } else if (command.startsWith("BRD") && command.size() == 5 && allHex(command.mid(3))) {
        const int divisor = command.mid(3).toInt(nullptr, 16);
        handled = divisor >= 8; // 500 kbaud at most
        if (handled) {
            switchRate(4000000 / divisor, bannerText(), at);
            return;
        }
    } else if (command.startsWith("SP") || command.startsWith("TP")) {
        handled = setProtocol(command.mid(2), command.startsWith("SP"));
    } else if (command == "DP" || command == "DPN") {
        lines = {describeProtocol(command == "DPN")};
    } else if (command == "RV") {
        const double volts = vehicle_.protocol() == 0 ? 12.4 : driveAt(at - keyOn_).voltage;
        lines = {QByteArray::number(volts, 'f', 1) + "V"};
    } else if (command == "I") {
        lines = {bannerText()};
    } else if (command == "@1") {
        lines = {"OBDII to RS232 Interpreter"};
    } else if (command.startsWith("ST") && command.size() == 4 && allHex(command.mid(2))) {
        const int value = command.mid(2).toInt(nullptr, 16);
        timeout_ = value == 0 ? defaultTimeout : value;
    } else if (command.startsWith("SH")) {
        handled = addressing_.setHeader(command.mid(2));
    } else if (command.startsWith("CRA")) {
        handled = addressing_.setFilter(command.mid(3));
    } else if (command.size() == 3 && command.startsWith("AT") && command[2] >= '0' && command[2] <= '2' && !clone()) {
        adaptive_ = command[2] - '0';
    } else if (command == "PC") {
        connected_ = 0;
    } else if (command.startsWith("CAF") && command.size() == 4 && (command[3] == '0' || command[3] == '1')) {
    } else {
        handled = false;
    }
    if (!handled) lines = {"?"};
    QList<Event> events;
    for (const QByteArray& line : lines)
        events.append({at + delay, line + eol()});
    answer(events, at + delay, false);
}

void Adapter::resetCommand(const QByteArray& command, double at) {
    // Full reset (with the lamp test) or warm start: settings back to defaults; the full
    // reset also forgets the rate AT BRD chose.
    const bool full = command == "Z";
    reset();
    const double done = at + timed(full ? 0.6 : 0.05) + (full ? std::max(0.0, options_.resetSilence) : 0);
    if (full) {
        setLineRate(options_.baud, at);
        if (options_.resetHangsUp) hangUpAt_ = at;
    }
    answer({{done, eol()},
            {done, eol()},
            {done, options_.strayBeforeBanner + bannerText() + eol() + options_.strayAfterBanner}},
           done, false);
}

// The new rate: "OK" at the old one, then the chip's identity at the new one; the client
// confirms with a carriage return at the new rate, or the adapter falls back.
void Adapter::switchRate(int rate, const QByteArray& identity, double at) {
    const double ok = at + timed(0.002);
    output_.push(ok, "OK" + eol(), tag_);
    // The chip changes its rate once the OK has left, which takes it a moment even without
    // the line's own timing: a client reads the OK at the old rate before the identity comes.
    const double switched = std::max(ok, output_.lineBusyUntil()) + rateSwitchTime;
    setLineRate(rate, switched);
    output_.push(switched, identity + eol(), tag_);
    rateSwitch_ = {std::max(switched, output_.lineBusyUntil()) + rateSwitchWait, previousRate_};
    readyAt_ = switched;
}

void Adapter::finishRateSwitch(bool confirmed, double at) {
    const int fallback = rateSwitch_.fallback;
    rateSwitch_.deadline = infinity;
    if (!confirmed) setLineRate(fallback, at);
    answer({}, at, false);
}

void Adapter::stnCommand(const QByteArray& command, double at) {
    QByteArray line = "?";
    if (command == "I") {
        line = stnIdentity;
    } else if (command == "DI") {
        line = stnDevice;
    } else if (command.startsWith("BR")) {
        bool ok = false;
        const int rate = command.mid(2).toInt(&ok);
        if (ok && rate >= 9600 && rate <= 2000000) {
            switchRate(rate, stnIdentity, at);
            return;
        }
    } else if (command.startsWith("PX")) {
        // ST PX H:7E0, D:010C, R:1: one request with its own header and answer count.
        QByteArray header, data, count;
        for (const QByteArray& field : command.mid(2).split(',')) {
            if (field.startsWith("H:")) header = field.mid(2);
            if (field.startsWith("D:")) data = field.mid(2);
            if (field.startsWith("R:")) count = field.mid(2);
        }
        const CanAddressing kept = addressing_;
        if (!data.isEmpty() && allHex(data) && data.size() % 2 == 0 &&
            (header.isEmpty() || addressing_.setHeader(header)) &&
            (count.isEmpty() || (count.size() == 1 && hexDigit(count[0]) > 0))) {
            obdRequest(data + count, at);
            addressing_ = kept;
            return;
        }
        addressing_ = kept;
    }
    answer({{at, line + eol()}}, at, false);
}

} // namespace zelcor::sim
