#include "app/options.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace zelcor {

namespace {

[[noreturn]] void fail(QCommandLineParser& parser, const QString& message) {
    std::fprintf(stderr, "zelcor: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
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
    parser.setApplicationDescription(
        QStringLiteral("OBD-II diagnostics for ELM327 adapters.\n\n"
                       "  --simulate[=PROFILE]     use the built-in simulated adapter and car as port 1\n"
                       "                           (profiles: can11, can29, legacy, manycodes, nofreeze,\n"
                       "                           clean, nocar; default can11)"));
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
    parser.addOptions({dataDir, device, scan, json, live});
    if (!parser.parse(args)) fail(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        fail(parser, QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));

    options.dataDir = parser.value(dataDir);
    options.device = parser.value(device);
    options.scan = parser.isSet(scan);
    options.json = parser.isSet(json);
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
    return options;
}

} // namespace zelcor
