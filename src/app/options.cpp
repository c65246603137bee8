#include "app/options.h"

#include "sim/profiles.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zelcor {

namespace {

// `words` filled into lines of at most `width` characters, each but the first indented to `indent`.
QString wrapped(const QStringList& words, qsizetype indent, qsizetype width) {
    QString text;
    qsizetype column = indent;
    for (const QString& word : words) {
        if (column > indent && column + 1 + word.size() > width) {
            text += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += word;
        column += word.size();
    }
    return text;
}

// The parser's help with --simulate among the options: its value is optional
// ("--simulate" or "--simulate=NAME"), which the parser cannot express, so it is read before
// the parser and described here, aligned with the parser's own lines. The profiles come from
// the simulator's list.
QString helpText(const QCommandLineParser& parser) {
    QStringList lines = parser.helpText().split(QLatin1Char('\n'));
    const auto scanLine = std::find_if(lines.begin(), lines.end(),
                                       [](const QString& line) { return line.startsWith(QLatin1String("  --scan ")); });
    if (scanLine == lines.end()) return parser.helpText();
    const qsizetype column = scanLine->indexOf(QLatin1String("Connect"));
    QStringList words = QStringLiteral("Use the built-in simulated adapter and car as port 1; PROFILE is one of:")
                            .split(QLatin1Char(' '));
    const QStringList names = sim::profileNames();
    for (const QString& name : names)
        words << name + QLatin1Char(name == names.last() ? ' ' : ',');
    words.last() += QStringLiteral("(default can11).");
    const QString option = QStringLiteral("  --simulate[=PROFILE]");
    // Longer than the parser's column: the description starts on the next line.
    const QString lead = option.size() < column ? option.leftJustified(column, QLatin1Char(' '))
                                                : option + QLatin1Char('\n') + QString(column, QLatin1Char(' '));
    lines.insert(scanLine, lead + wrapped(words, column, 79));
    return lines.join(QLatin1Char('\n'));
}

[[noreturn]] void fail(QCommandLineParser& parser, const QString& message) {
    std::fprintf(stderr, "zelcor: %s\n\n%s", qPrintable(message), qPrintable(helpText(parser)));
    std::exit(1);
}

// The window system's options with a value, and those without one.
const QStringList kWindowOptionsWithValue{"-platform", "-platformpluginpath", "-platformtheme", "-display",
                                          "-geometry", "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon",
                                          "-style",    "-stylesheet",         "-session",       "-name",
                                          "-title"};
const QStringList kWindowFlags{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

} // namespace

AppOptions parseOptions(const QStringList& arguments) {
    // "--simulate" may stand alone or carry a profile as "--simulate=NAME".
    QStringList args;
    AppOptions options;
    bool skipValue = false;
    for (const QString& a : arguments) {
        if (skipValue) {
            skipValue = false;
        } else if (args.isEmpty()) {
            args << a; // the program name
        } else if (kWindowOptionsWithValue.contains(a)) {
            skipValue = true;
        } else if (kWindowFlags.contains(a)) {
            continue;
        } else if (a == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            options.simulate = true;
            options.simulateProfile = a.mid(11);
        } else {
            args << a;
        }
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("OBD-II diagnostics for ELM327 adapters."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep setup.cfg, log.txt and codes.dat in <dir>."),
                                     QStringLiteral("dir"));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Use <dev> as port 1: a serial device or host:port of a Wi-Fi "
                                                   "adapter (default port 35000)."),
                                    QStringLiteral("dev"));
    const QCommandLineOption scan(QStringLiteral("scan"),
                                  QStringLiteral("Connect, read the car and print a report without a window."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("With --scan: print the report as JSON."));
    const QCommandLineOption live(QStringLiteral("live"),
                                  QStringLiteral("With --scan: poll the live channels for <seconds>."),
                                  QStringLiteral("seconds"));
    const QCommandLineOption modules(QStringLiteral("modules"),
                                     QStringLiteral("With --scan: read the trouble codes of every module of the car."));
    const QCommandLineOption checkParameters(
        QStringLiteral("check-parameters"),
        QStringLiteral("Check the parameter definition files named after the options: print every line's verdict."));
    const QCommandLineOption parameters(
        QStringLiteral("parameters"),
        QStringLiteral("Read the manufacturer parameters defined in <file> too, for this run (repeatable)."),
        QStringLiteral("file"));
    parser.addOptions({dataDir, device, scan, json, live, modules, parameters, checkParameters});
    if (!parser.parse(args)) fail(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(helpText(parser)), stdout);
        std::exit(0);
    }
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    if (parser.isSet(checkParameters)) {
        options.parameterFilesToCheck = parser.positionalArguments();
        if (options.parameterFilesToCheck.isEmpty()) fail(parser, QStringLiteral("--check-parameters needs files"));
        if (parser.isSet(scan) || options.simulate)
            fail(parser, QStringLiteral("--check-parameters goes without --scan and --simulate"));
    } else if (!parser.positionalArguments().isEmpty()) {
        fail(parser, QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
    }

    options.dataDir = parser.value(dataDir);
    options.device = parser.value(device);
    options.scan = parser.isSet(scan);
    options.json = parser.isSet(json);
    options.modules = parser.isSet(modules);
    options.parameterFiles = parser.values(parameters);
    if (parser.isSet(live)) {
        bool ok = false;
        options.liveSeconds = parser.value(live).toDouble(&ok);
        // toDouble accepts "inf" and "nan": neither is a time to poll for.
        if (!ok || !(options.liveSeconds > 0 && options.liveSeconds <= kMaxLiveSeconds))
            fail(parser, QStringLiteral("--live needs a number of seconds above 0, at most %1").arg(kMaxLiveSeconds));
    }
    if (options.simulate && !options.device.isEmpty())
        fail(parser, QStringLiteral("--simulate and --device cannot be used together"));
    if ((options.json || parser.isSet(live)) && !options.scan)
        fail(parser, QStringLiteral("--json and --live go with --scan"));
    if (options.modules && !options.scan) fail(parser, QStringLiteral("--modules goes with --scan"));
    return options;
}

} // namespace zelcor
