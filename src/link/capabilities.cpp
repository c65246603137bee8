#include "link/capabilities.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace zelcor {

namespace {

struct CommandForm {
    AdapterCommand command;
    const char* name;
    const char* pattern; // what the command looks like, arguments included
};

const CommandForm kForms[] = {
    {AdapterCommand::AdaptiveTiming, "ATAT", "^ATAT[0-2]$"},
    {AdapterCommand::Timeout, "ATST", "^ATST[0-9A-F]{2}$"},
    {AdapterCommand::ReceiveFilter, "ATCRA", "^ATCRA([0-9A-FX]{3}|[0-9A-FX]{8})?$"},
    {AdapterCommand::LongHeader, "ATSH3", "^ATSH[0-9A-F]{6}$"},
    {AdapterCommand::ProtocolNumber, "ATDPN", "^ATDPN$"},
    {AdapterCommand::RateDivisor, "ATBRD", "^(ATBRD[0-9A-F]{2}|STBR[0-9]+)$"},
    {AdapterCommand::CanFormatting, "ATCAF", "^ATCAF[01]$"},
    {AdapterCommand::Spaces, "ATS", "^ATS[01]$"},
    {AdapterCommand::ResponseCount, "count", nullptr},
};

const CommandForm& formOf(AdapterCommand command) {
    for (const CommandForm& form : kForms)
        if (form.command == command) return form;
    Q_ASSERT(false);
    return kForms[0];
}

QString stateName(CommandState state) {
    return state == CommandState::Works ? QStringLiteral("works") : QStringLiteral("refused");
}

} // namespace

QString commandName(AdapterCommand command) {
    return QLatin1String(formOf(command).name);
}

std::optional<AdapterCommand> commandNamed(const QString& name) {
    for (const CommandForm& form : kForms)
        if (name == QLatin1String(form.name)) return form.command;
    return std::nullopt;
}

std::optional<AdapterCommand> doubtfulCommand(const QString& command) {
    if (!command.startsWith(QLatin1String("AT")) && !command.startsWith(QLatin1String("ST"))) return std::nullopt;
    static const QList<QPair<AdapterCommand, QRegularExpression>> expressions = [] {
        QList<QPair<AdapterCommand, QRegularExpression>> made;
        for (const CommandForm& form : kForms)
            if (form.pattern) made.append({form.command, QRegularExpression(QLatin1String(form.pattern))});
        return made;
    }();
    const QString upper = command.toUpper().remove(QLatin1Char(' '));
    for (const auto& [doubtful, expression] : expressions)
        if (expression.match(upper).hasMatch()) return doubtful;
    return std::nullopt;
}

QStringList AdapterReport::namesIn(CommandState wanted) const {
    QStringList names;
    for (const AdapterCommand command : kAdapterCommands)
        if (state(command) == wanted) names.append(commandName(command));
    return names;
}

QString AdapterReport::chipName() const {
    switch (chip) {
    case AdapterChip::Elm327:
        return QStringLiteral("ELM327");
    case AdapterChip::Stn:
        return QStringLiteral("STN");
    case AdapterChip::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

QString AdapterReport::text() const {
    const QString nl = QStringLiteral("\n");
    auto listed = [](const QStringList& items) {
        return items.isEmpty() ? QStringLiteral("none") : items.join(QStringLiteral(", "));
    };
    auto rate = [](int baud) {
        return baud > 0 ? QStringLiteral("%1 baud").arg(baud) : QStringLiteral("none (network)");
    };
    QString out = QStringLiteral("Adapter") + nl;
    out += QStringLiteral("Banner: ") + banner + nl;
    out += QStringLiteral("Chip: ") + chipName() + nl;
    out += QStringLiteral("Firmware: ") + (firmware.isEmpty() ? QStringLiteral("unknown") : firmware) + nl;
    if (!chipDevice.isEmpty()) out += QStringLiteral("Device: ") + chipDevice + nl;
    out += QStringLiteral("Baud rate: ") + rate(lineRate);
    if (lineRate != baseRate) out += QStringLiteral(" (found at %1)").arg(rate(baseRate));
    out += nl;
    out += QStringLiteral("Quirks found: ") + listed(quirks) + nl;
    out += QStringLiteral("Commands refused: ") + listed(namesIn(CommandState::Refused)) + nl;
    if (probeSeconds >= 0)
        out += QStringLiteral("Probe time: %1 s%2")
                   .arg(probeSeconds, 0, 'f', 2)
                   .arg(remembered ? QStringLiteral(" (confirming what the last connection learned)") : QString()) +
               nl;
    return out;
}

QJsonObject AdapterReport::json() const {
    QJsonObject commandStates;
    for (const AdapterCommand command : kAdapterCommands)
        if (state(command) != CommandState::Untried) commandStates[commandName(command)] = stateName(state(command));
    QJsonObject out{{QStringLiteral("banner"), banner},
                    {QStringLiteral("chip"), chipName()},
                    {QStringLiteral("firmware"), firmware},
                    {QStringLiteral("baud_rate"), lineRate},
                    {QStringLiteral("found_at_baud_rate"), baseRate},
                    {QStringLiteral("quirks"), QJsonArray::fromStringList(quirks)},
                    {QStringLiteral("refused"), QJsonArray::fromStringList(namesIn(CommandState::Refused))},
                    {QStringLiteral("commands"), commandStates},
                    {QStringLiteral("remembered"), remembered}};
    if (!chipDevice.isEmpty()) out[QStringLiteral("device")] = chipDevice;
    if (probeSeconds >= 0) out[QStringLiteral("probe_seconds")] = qRound(probeSeconds * 1000) / 1000.0;
    return out;
}

double bannerVersion(const QString& banner) {
    static const QRegularExpression version(QStringLiteral("\\bv(\\d+\\.\\d+)"));
    const QRegularExpressionMatch m = version.match(banner);
    return m.hasMatch() ? m.captured(1).toDouble() : 0;
}

} // namespace zelcor
