// zelcor-sim: the simulated adapter and car behind a pseudo-terminal (and optionally a
// TCP port), for the program and for anyone with a terminal program.

#include "sim/faultoptions.h"
#include "sim/ptyserver.h"
#include "sim/simulator.h"
#include "sim/tcpserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

// SIGINT and SIGTERM end the event loop, so that everything is closed in order.
bool quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        app.quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zelcor-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated OBD-II adapter and car. Prints the pseudo-terminal device as its first line "
                       "and serves it until stopped (Ctrl+C)."));
    parser.addHelpOption();
    const QCommandLineOption profileOption(QStringLiteral("profile"), QStringLiteral("Vehicle profile."),
                                           QStringLiteral("name"), QStringLiteral("can11"));
    const QCommandLineOption protocolOption(QStringLiteral("protocol"),
                                            QStringLiteral("Protocol the car speaks, 1-9 (0: the profile's own)."),
                                            QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Extra delay on everything the adapter sends."),
                                           QStringLiteral("ms"), QStringLiteral("0"));
    const QCommandLineOption noTimingOption(QStringLiteral("no-timing"),
                                            QStringLiteral("Answer at once (no adapter or bus timing)."));
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
                                       QStringLiteral("Also serve a second adapter on 127.0.0.1:port."),
                                       QStringLiteral("port"));
    const QCommandLineOption listOption(QStringLiteral("list-profiles"), QStringLiteral("List the profiles."));
    parser.addOptions({profileOption, protocolOption, latencyOption, noTimingOption, tcpOption, listOption});
    zelcor::sim::addFaultOptions(parser);
    parser.process(app);

    if (parser.isSet(listOption)) {
        for (const QString& name : zelcor::sim::Simulator::profiles())
            say(name.leftJustified(11) + zelcor::sim::Simulator::profileDescription(name));
        return 0;
    }
    zelcor::sim::Options options = zelcor::sim::realTimeOptions(parser.value(profileOption));
    if (!zelcor::sim::Simulator::isProfile(options.profile)) {
        std::fprintf(stderr, "zelcor-sim: unknown profile \"%s\" (see --list-profiles)\n", qPrintable(options.profile));
        return 2;
    }
    bool ok = true;
    options.protocol = parser.value(protocolOption).toInt(&ok);
    if (!ok || options.protocol < 0 || options.protocol > 9) {
        std::fprintf(stderr, "zelcor-sim: --protocol takes 0 to 9\n");
        return 2;
    }
    options.latencyMs = parser.value(latencyOption).toDouble(&ok);
    if (!ok || options.latencyMs < 0) {
        std::fprintf(stderr, "zelcor-sim: --latency takes milliseconds\n");
        return 2;
    }
    options.realTiming = !parser.isSet(noTimingOption);
    QString error;
    if (!zelcor::sim::readFaultOptions(parser, options, &error)) {
        std::fprintf(stderr, "zelcor-sim: %s\n", qPrintable(error));
        return 2;
    }

    if (!quitOnSignals(app)) {
        std::fprintf(stderr, "zelcor-sim: cannot handle signals\n");
        return 1;
    }
    zelcor::sim::PtyServer pty(options);
    if (!pty.start(&error)) {
        std::fprintf(stderr, "zelcor-sim: %s\n", qPrintable(error));
        return 1;
    }
    say(pty.devicePath());
    QObject::connect(&pty, &zelcor::sim::PtyServer::unplugged, &app, [] { say(QStringLiteral("unplugged")); });

    std::unique_ptr<zelcor::sim::TcpServer> tcp;
    if (parser.isSet(tcpOption)) {
        const int port = parser.value(tcpOption).toInt(&ok);
        tcp = std::make_unique<zelcor::sim::TcpServer>(options);
        if (!ok || port < 0 || port > 65535 || !tcp->listen(quint16(port), &error)) {
            std::fprintf(stderr, "zelcor-sim: cannot listen on TCP port %s: %s\n", qPrintable(parser.value(tcpOption)),
                         qPrintable(error));
            return 1;
        }
        say(QStringLiteral("tcp 127.0.0.1:%1").arg(tcp->port()));
    }
    return app.exec();
}
