#include "sim/faultoptions.h"

#include <QCommandLineParser>
#include <cmath>

namespace zelcor::sim {

namespace {

// One option: a switch (`flag`), a whole number (`count`, from `least` to `most`),
// seconds (`seconds`, 0 to an hour), or a value read on its own (none of them).
struct Fault {
    const char* name;
    const char* help;
    const char* value = nullptr; // what the value is called; none for a switch
    bool Options::*flag = nullptr;
    int Options::*count = nullptr;
    int least = 0;
    int most = 1000000;
    double Options::*seconds = nullptr;
};

constexpr double longestSeconds = 3600;

const Fault faults[] = {
    {"silent-adapter", "reads commands, never answers", nullptr, &Options::silentAdapter},
    {"silent-vehicle", "no controller ever answers", nullptr, &Options::silentVehicle},
    {"unplug-after", "the device goes away after n OBD requests", "n", nullptr, &Options::unplugAfter},
    {"garbage-every", "every n-th answer starts with junk bytes", "n", nullptr, &Options::garbageEvery},
    {"missing-prompt-every", "every n-th answer lacks its prompt", "n", nullptr, &Options::missingPromptEvery},
    {"short-data-every", "every n-th OBD answer loses the bytes after service and parameter", "n", nullptr,
     &Options::shortDataEvery},
    {"odd-digits-every", "every n-th OBD answer's last data byte loses a digit", "n", nullptr,
     &Options::oddDigitsEvery},
    {"non-hex-every", "every n-th OBD answer's last data byte ends in Z", "n", nullptr, &Options::nonHexEvery},
    {"non-hex-digits", "digits that become Z with --non-hex-every (1 or 2)", "n", nullptr, &Options::nonHexDigits, 1,
     2},
    {"lowercase", "hex in lower case, headers included", nullptr, &Options::lowercase},
    {"ignore-headers", "ATH1 acknowledged, answers still without headers", nullptr, &Options::ignoreHeaders},
    {"late-every", "every n-th OBD answer arrives --late-seconds late", "n", nullptr, &Options::lateEvery},
    {"late-seconds", "how late --late-every answers are (default 10)", "s"},
    {"error-word", "the answer to 03, 07 and 02 after --error-after requests, e.g. \"CAN ERROR\"", "word"},
    {"error-after", "OBD requests answered before the error word comes", "n", nullptr, &Options::errorAfter},
    {"error-on-all", "the error word answers every OBD request", nullptr, &Options::errorOnAll},
    {"segment-announce", "first frames of segmented answers announce n bytes (up to 4095)", "n", nullptr,
     &Options::segmentAnnounce, 0, 4095},
    {"segment-frames", "segmented answers stop after n frames", "n", nullptr, &Options::segmentFrames},
    {"flood", "OBD answers stream n kB per second without a prompt", "n", nullptr, &Options::floodKilobytes, 0, 100000},
    {"flood-after", "OBD requests answered before the flood starts", "n", nullptr, &Options::floodAfter},
    {"flood-garbage", "random bytes without end, with a banner, an answer and a prompt every 64 KiB", nullptr,
     &Options::garbageFlood},
    // Adapters as they are sold.
    {"banner", "what ATZ, ATWS and ATI print, e.g. \"ELM327 v2.2\"", "text"},
    {"command-set", "the commands of this chip version alone (1.0 to 1.4), whatever the banner says", "version"},
    {"refuse", "AT commands answered \"?\", e.g. ATAT,ATST,ATCRA,ATSH3,ATDPN,ATBRD,ATCAF (ATSH3: three bytes)", "list"},
    {"stray-before", "bytes a reset sends ahead of its banner (\\xFC, \\r, \\n escapes)", "text"},
    {"stray-after", "bytes a reset sends right after its banner", "text"},
    {"reset-silence", "ATZ stays silent this long before its banner", "s", nullptr, nullptr, 0, 0,
     &Options::resetSilence},
    {"reset-hangs-up", "ATZ drops the TCP client", nullptr, &Options::resetHangsUp},
    {"silent-settings", "ATE, ATL and ATH answered with an empty line, no OK", nullptr, &Options::silentSettings},
    {"sticky-echo", "ATE0 acknowledged, the echo stays", nullptr, &Options::stickyEcho},
    {"sticky-linefeeds", "ATL0 acknowledged, the line feeds stay", nullptr, &Options::stickyLinefeeds},
    {"response-count", "the digit after a request: honoured, ignored or one-more", "how"},
    {"search-seconds", "the automatic search shows SEARCHING... this long", "s", nullptr, nullptr, 0, 0,
     &Options::searchSeconds},
    {"bus-init-failures", "the first n K-line initialisations end in BUS INIT: ...ERROR", "n", nullptr,
     &Options::busInitFailures},
    {"stop-on-any", "any character during a request stops it, a line feed after its CR too", nullptr,
     &Options::stopOnAnyCharacter},
    {"buffer-full", "answers longer than n characters end in BUFFER FULL at 38400 baud or less", "n", nullptr,
     &Options::bufferBytes},
    {"sleep-after", "the adapter falls asleep this long after the start", "s", nullptr, nullptr, 0, 0,
     &Options::sleepAfter},
    {"sleep-when-idle", "--sleep-after counts from the client's last character", nullptr, &Options::sleepWhenIdle},
    {"asleep-seconds", "asleep, characters are lost this long; the next one wakes it", "s", nullptr, nullptr, 0, 0,
     &Options::asleepSeconds},
    {"sleep-word", "what the adapter says as it falls asleep (LP ALERT, ACT ALERT, LV RESET)", "word"},
    {"ignition-after", "the car answers only from this long after the start", "s", nullptr, nullptr, 0, 0,
     &Options::ignitionAfter},
    {"ignition-off-after", "the car stops answering this long after the start", "s", nullptr, nullptr, 0, 0,
     &Options::ignitionOffAfter},
    {"ignition-off-seconds", "how long the car stays silent after --ignition-off-after", "s", nullptr, nullptr, 0, 0,
     &Options::ignitionOffSeconds},
    {"unlisted-vehicle-info", "09 00 goes unanswered, the vehicle information items are answered", nullptr,
     &Options::unlistedVehicleInfo},
    {"idle-hang-up", "a TCP client is dropped after this long without a character", "s", nullptr, nullptr, 0, 0,
     &Options::idleHangUp},
    {"baud", "the adapter's line rate; a client at another rate reads junk", "n", nullptr, &Options::baud, 9600,
     2000000},
    {"line-fails-above", "above this rate the banner comes through, longer answers arrive as junk", "n", nullptr,
     &Options::lineFailsAbove, 0, 2000000},
};

// Text with \xHH, \r, \n and \\ escapes as bytes.
QByteArray unescaped(const QString& text) {
    const QByteArray in = text.toLatin1();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out.append(in[i]);
            continue;
        }
        const char kind = in[++i];
        if (kind == 'x' && i + 2 < in.size()) {
            bool ok = false;
            const int value = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 2;
                continue;
            }
        }
        out.append(kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind);
    }
    return out;
}

template <typename Fail> bool readQuirks(const QCommandLineParser& parser, Options& options, Fail fail) {
    auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
    auto isSet = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
    if (isSet("banner")) options.banner = value("banner").toLatin1();
    if (isSet("command-set")) {
        const QByteArray version = value("command-set").toLatin1();
        if (!QByteArrayList{"1.0", "1.1", "1.2", "1.3", "1.4"}.contains(version))
            return fail(QStringLiteral("--command-set takes a version from 1.0 to 1.4"));
        options.commandSet = version;
    }
    if (isSet("refuse")) {
        options.refused.clear();
        for (const QByteArray& name : value("refuse").toLatin1().toUpper().split(',')) {
            const QByteArray command = name.trimmed();
            if (command.size() < 3 || !command.startsWith("AT"))
                return fail(QStringLiteral("--refuse takes AT commands, e.g. ATAT,ATCAF"));
            options.refused.append(command);
        }
    }
    if (isSet("stray-before")) options.strayBeforeBanner = unescaped(value("stray-before"));
    if (isSet("stray-after")) options.strayAfterBanner = unescaped(value("stray-after"));
    if (isSet("response-count")) {
        const QString how = value("response-count");
        if (how == QLatin1String("honoured"))
            options.responseCount = Options::ResponseCount::Honoured;
        else if (how == QLatin1String("ignored"))
            options.responseCount = Options::ResponseCount::Ignored;
        else if (how == QLatin1String("one-more"))
            options.responseCount = Options::ResponseCount::OneMore;
        else
            return fail(QStringLiteral("--response-count takes honoured, ignored or one-more"));
    }
    if (isSet("sleep-word")) {
        const QByteArray word = value("sleep-word").toLatin1().trimmed().toUpper();
        if (!sleepWords().contains(word))
            return fail(QStringLiteral("--sleep-word takes one of: %1")
                            .arg(QString::fromLatin1(sleepWords().join(QByteArrayLiteral(", ")))));
        options.sleepWord = word;
    }
    return true;
}

} // namespace

void addFaultOptions(QCommandLineParser& parser) {
    for (const Fault& fault : faults)
        parser.addOption({QLatin1String(fault.name), QStringLiteral("Fault: %1.").arg(QLatin1String(fault.help)),
                          QLatin1String(fault.value)});
}

bool readFaultOptions(const QCommandLineParser& parser, Options& options, QString* error) {
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return false;
    };
    for (const Fault& fault : faults) {
        const QString name = QLatin1String(fault.name);
        if (!parser.isSet(name)) continue;
        if (fault.flag) options.*fault.flag = true;
        if (fault.seconds) {
            bool ok = false;
            const double seconds = parser.value(name).toDouble(&ok);
            if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > longestSeconds)
                return fail(QStringLiteral("--%1 takes seconds from 0 to 3600").arg(name));
            options.*fault.seconds = seconds;
        }
        if (!fault.count) continue;
        bool ok = false;
        const int value = parser.value(name).toInt(&ok);
        if (!ok || value < fault.least || value > fault.most)
            return fail(
                QStringLiteral("--%1 takes a whole number from %2 to %3").arg(name).arg(fault.least).arg(fault.most));
        options.*fault.count = value;
    }
    if (parser.isSet(QStringLiteral("late-seconds"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("late-seconds")).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 3600)
            return fail(QStringLiteral("--late-seconds takes seconds from 0 to 3600"));
        options.lateSeconds = seconds;
    }
    if (parser.isSet(QStringLiteral("error-word"))) {
        const QByteArray word = parser.value(QStringLiteral("error-word")).toLatin1().trimmed().toUpper();
        if (!errorWords().contains(word))
            return fail(QStringLiteral("--error-word takes one of: %1")
                            .arg(QString::fromLatin1(errorWords().join(QByteArrayLiteral(", ")))));
        options.errorWord = word;
    }
    return readQuirks(parser, options, fail);
}

} // namespace zelcor::sim
