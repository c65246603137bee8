#include "link/adapterprobe.h"

#include "config/adaptermemory.h"
#include "link/linerate.h"
#include "link/link.h"

#include <QRegularExpression>

namespace zelcor {

namespace {

// Each doubtful command in a form that sets what the adapter's reset set already.
struct Trial {
    AdapterCommand command;
    const char* text;
};
const Trial kTrials[] = {
    {AdapterCommand::AdaptiveTiming, "ATAT1"}, {AdapterCommand::Timeout, "ATST32"},
    {AdapterCommand::ReceiveFilter, "ATCRA"},  {AdapterCommand::CanFormatting, "ATCAF1"},
    {AdapterCommand::Spaces, "ATS1"},          {AdapterCommand::ProtocolNumber, "ATDPN"},
};

// The chip version that brought each command (of those the probe tries).
double introducedIn(AdapterCommand command) {
    switch (command) {
    case AdapterCommand::AdaptiveTiming:
    case AdapterCommand::RateDivisor:
        return 1.2;
    case AdapterCommand::ReceiveFilter:
    case AdapterCommand::Spaces:
        return 1.3;
    default:
        return 1.0;
    }
}

QStringList linesOf(const QString& text) {
    static const QRegularExpression ends(QStringLiteral("[\r\n>]+"));
    QStringList lines;
    for (const QString& line : text.split(ends, Qt::SkipEmptyParts))
        if (!line.trimmed().isEmpty()) lines.append(line.trimmed());
    return lines;
}

// STI names an STN chip and its version; any other adapter refuses it (the banner's chip
// and version stand then).
void recogniseChip(Link& link, AdapterReport& adapter) {
    link.send(QStringLiteral("STI"));
    const QString said = link.takeReceived();
    if (said.startsWith(QLatin1String("STI"))) adapter.addQuirk(QStringLiteral("echo stays on"));
    if (said.contains(QLatin1Char('\n'))) adapter.addQuirk(QStringLiteral("line feeds stay on"));
    for (const QString& line : linesOf(said)) {
        if (!line.startsWith(QLatin1String("STN"))) continue;
        adapter.chip = AdapterChip::Stn;
        adapter.firmware = line;
        link.send(QStringLiteral("STDI"));
        for (const QString& device : linesOf(link.takeReceived()))
            if (device != QLatin1String("STDI") && device != QLatin1String("?")) adapter.chipDevice = device;
        return;
    }
}

// A banner that claims a later version than the commands refused.
void noteLyingBanner(AdapterReport& adapter) {
    const double claimed = bannerVersion(adapter.banner);
    if (adapter.chip != AdapterChip::Elm327 || claimed <= 0) return;
    for (const AdapterCommand command : kAdapterCommands)
        if (adapter.refuses(command) && introducedIn(command) > 1.0 && claimed >= introducedIn(command)) {
            adapter.addQuirk(QStringLiteral("the banner claims %1 but commands of %2 are refused")
                                 .arg(adapter.firmware)
                                 .arg(introducedIn(command), 0, 'f', 1));
            return;
        }
}

} // namespace

void probeAdapter(Link& link, int fasterRate) {
    AdapterReport& adapter = link.adapter();
    const double start = link.clock().now();
    const QString folder = link.programFolder();
    const QString before = rememberedBanner(folder, adapter.device);
    if (!before.isEmpty() && before != adapter.banner)
        adapter.addQuirk(
            QStringLiteral("the banner changed since the last connection (it said \"%1\"): probed afresh").arg(before));
    if (const std::optional<RememberedAdapter> known = loadRememberedAdapter(folder, adapter.device, adapter.banner)) {
        adapter.remembered = true;
        for (const QString& name : known->refused)
            if (const std::optional<AdapterCommand> command = commandNamed(name)) adapter.note(*command, false);
    }
    {
        TracePause pause(link);
        recogniseChip(link, adapter);
        for (const Trial& trial : kTrials) {
            if (adapter.refuses(trial.command)) continue;
            link.send(QLatin1String(trial.text));
            link.takeReceived();
        }
    }
    noteLyingBanner(adapter);
    if (fasterRate > 0 && adapter.lineRate > 0 && fasterRate > adapter.lineRate) switchLineRate(link, fasterRate);
    adapter.probeSeconds = link.clock().now() - start;
    rememberAdapterReport(link);
}

void rememberAdapterReport(const Link& link) {
    const AdapterReport& adapter = link.adapter();
    if (!adapter.known()) return;
    RememberedAdapter kept;
    kept.banner = adapter.banner;
    kept.chip = adapter.chipName();
    kept.firmware = adapter.firmware;
    kept.works = adapter.namesIn(CommandState::Works);
    kept.refused = adapter.namesIn(CommandState::Refused);
    rememberAdapter(link.programFolder(), adapter.device, kept);
}

} // namespace zelcor
