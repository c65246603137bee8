#pragma once
// What the program learns about the adapter on one connection: its banner and chip, the
// line rate in use, which of the commands that cheap copies lack it takes and which it
// refused ("?"), and the quirks met on the way. A refused command is not sent again on the
// same connection: the link answers it "?" itself.

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

// Adapter commands that copies of the chip often lack, with the names zelcor.ini keeps.
enum class AdapterCommand {
    AdaptiveTiming, // ATAT0/1/2
    Timeout,        // ATST hh
    ReceiveFilter,  // ATCRA
    LongHeader,     // ATSH with three bytes
    ProtocolNumber, // ATDPN
    RateDivisor,    // ATBRD hh, or STBR on an STN chip
    CanFormatting,  // ATCAF0/1
    Spaces,         // ATS0/1
    ResponseCount,  // the digit after a request that ends the wait
};
inline constexpr AdapterCommand kAdapterCommands[] = {
    AdapterCommand::AdaptiveTiming, AdapterCommand::Timeout,        AdapterCommand::ReceiveFilter,
    AdapterCommand::LongHeader,     AdapterCommand::ProtocolNumber, AdapterCommand::RateDivisor,
    AdapterCommand::CanFormatting,  AdapterCommand::Spaces,         AdapterCommand::ResponseCount};

// "ATAT", "ATSH3" (the three-byte header), "count" (the response count).
QString commandName(AdapterCommand command);
std::optional<AdapterCommand> commandNamed(const QString& name);
// The doubtful command that `command` ("ATAT2", "ATSHDB33F1") is; none for any other.
std::optional<AdapterCommand> doubtfulCommand(const QString& command);

enum class CommandState { Untried, Works, Refused };

enum class AdapterChip { Unknown, Elm327, Stn };

struct AdapterReport {
    QString device; // where it was found ("/dev/ttyUSB0", "192.168.0.10:35000")
    QString banner; // what it says to a reset ("ELM327 v1.5")
    AdapterChip chip = AdapterChip::Unknown;
    QString firmware;       // "v1.5"; an STN chip's own version ("STN1110 v4.2.7")
    QString chipDevice;     // what an STN chip says it is built into (STDI)
    int baseRate = 0;       // the rate it answered at (baud); 0 on a link without one
    int lineRate = 0;       // the rate in use now
    QList<int> failedRates; // rates the adapter took that the line did not carry
    QStringList quirks;     // what it does differently from the chip it claims to be
    QMap<AdapterCommand, CommandState> commands;
    double probeSeconds = -1; // how long the probe took; -1 before it ran
    bool remembered = false;  // the probe started from what the last connection learned

    bool known() const { return !banner.isEmpty(); }
    CommandState state(AdapterCommand command) const { return commands.value(command, CommandState::Untried); }
    bool refuses(AdapterCommand command) const { return state(command) == CommandState::Refused; }
    void note(AdapterCommand command, bool works) {
        commands[command] = works ? CommandState::Works : CommandState::Refused;
    }
    void addQuirk(const QString& quirk) {
        if (!quirks.contains(quirk)) quirks.append(quirk);
    }
    QStringList namesIn(CommandState state) const;
    QString chipName() const;

    // The "Adapter" section of a report, one line each.
    QString text() const;
    QJsonObject json() const;
};

// The chip version a banner claims ("ELM327 v2.1" -> 2.1); 0 when it names none.
double bannerVersion(const QString& banner);

} // namespace zelcor
