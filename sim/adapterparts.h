#pragma once
// What the adapter's parts share: its texts, its timing constants and the small rules of
// reading commands and requests.

#include "sim/protocol.h"

#include <QByteArray>
#include <limits>

namespace zelcor::sim::adapterparts {

inline constexpr double infinity = std::numeric_limits<double>::infinity();
inline constexpr double timeoutStep = 0.004096; // ATST counts in these
inline constexpr int defaultTimeout = 0x32;
inline constexpr int longestLine = 255;
inline const QByteArray banner = QByteArrayLiteral("ELM327 v1.5");
inline const QByteArray cloneBanner = QByteArrayLiteral("ELM327 v2.1");
inline const QByteArray stnBanner = QByteArrayLiteral("ELM327 v1.4b"); // what an STN chip says to AT I
inline const QByteArray stnIdentity = QByteArrayLiteral("STN1110 v4.2.7");
inline const QByteArray stnDevice = QByteArrayLiteral("Serial OBD interface r1.2");
inline constexpr double rateSwitchWait = 0.075; // AT BRT's default: the new rate's carriage return must come by then
inline constexpr double rateSwitchTime = 0.005; // from the OK of a rate switch to the new rate
inline constexpr double wakeTime = 0.5;         // from the waking character to the banner
inline const QByteArray junk("\xFF\x00\x8A\x7F#\xC3", 6);
inline constexpr double floodStep = 0.01; // a flood comes in pieces this often

// Faults that hit every n-th of something (0 = never).
inline bool everyNth(int every, int count) {
    return every > 0 && count % every == 0;
}

// The bytes of an answer that repeat the request: the service, then the parameter of
// services 01, 06 and 09, and the parameter and frame number of service 02.
inline qsizetype echoedBytes(const QByteArray& request) {
    const quint8 service = quint8(request[0]);
    const qsizetype echoed = service == 0x02 ? 3 : (service == 0x01 || service == 0x06 || service == 0x09) ? 2 : 1;
    return std::min(echoed, request.size());
}

// Control characters other than CR and backspace are ignored, line feeds included.
inline bool ignorable(char c) {
    return c != '\r' && c != '\b' && quint8(c) < 0x20;
}

inline int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

inline bool allHex(const QByteArray& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return hexDigit(c) >= 0; });
}

// AT commands of later chip versions, by the version that brought them (of those this
// adapter knows).
struct Introduced {
    const char* version;
    const char* names[3];
};
inline const Introduced laterCommands[] = {{"1.2", {"AT", "BRD"}}, {"1.3", {"S", "CRA"}}};

// `command` (without AT) is the command `name` (without AT) with a hex argument or none;
// "SH3" is the header of three bytes.
inline bool isCommand(const QByteArray& command, const QByteArray& name) {
    if (name == "SH3") return command.size() == 8 && command.startsWith("SH") && allHex(command.mid(2));
    return command.startsWith(name) && allHex(command.mid(name.size()));
}

// Time the adapter spends on a protocol of the search that finds no car there.
inline double searchCost(int protocol) {
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
inline double messageGap(int protocol, qsizetype bytes) {
    switch (protocolInfo(protocol).bus) {
    case Bus::J1850Pwm:
        return double(bytes) * 0.0002 + 0.001;
    case Bus::J1850Vpw:
        return double(bytes) * 0.0008 + 0.001;
    default:
        return double(bytes) * 0.0015 + 0.025;
    }
}

} // namespace zelcor::sim::adapterparts
