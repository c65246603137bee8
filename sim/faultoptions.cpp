#include "sim/faultoptions.h"

#include <QCommandLineParser>
#include <cmath>

namespace zelcor::sim {

namespace {

// One option: a switch (`flag`), a whole number (`count`, from `least` to `most`), or a
// value read on its own (neither).
struct Fault {
    const char* name;
    const char* help;
    const char* value = nullptr; // what the value is called; none for a switch
    bool Options::*flag = nullptr;
    int Options::*count = nullptr;
    int least = 0;
    int most = 1000000;
};

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
};

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
    return true;
}

} // namespace zelcor::sim
