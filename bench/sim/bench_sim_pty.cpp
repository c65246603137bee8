// How many request/answer round trips per second the simulated adapter serves over its
// pseudo-terminal, with the adapter's timing model off and on. The server runs on its own
// thread's event loop; the client side uses plain blocking POSIX calls, as a serial
// program would.
//
// bench_sim_pty [seconds per case, default 2]

#include "ptyclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

using zelcor::bench::roundTrip;
using zelcor::bench::ServerThread;

struct Case {
    const char* name;
    bool timing;
    const char* setup; // CR-separated commands
    QByteArray request;
};

void run(const Case& c, double seconds) {
    zelcor::sim::Options options;
    options.realTiming = c.timing;
    ServerThread server(options);
    const int fd = ::open(server.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        std::printf("%-44s cannot open the device\n", c.name);
        return;
    }
    for (const QByteArray& command : QByteArray(c.setup).split('\r'))
        if (!command.isEmpty() && !roundTrip(fd, command + "\r")) {
            std::printf("%-44s setup failed\n", c.name);
            ::close(fd);
            return;
        }
    QElapsedTimer timer;
    timer.start();
    int trips = 0;
    while (timer.nsecsElapsed() < qint64(seconds * 1e9)) {
        if (!roundTrip(fd, c.request)) break;
        ++trips;
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%-44s %8d %10.1f %10.3f\n", c.name, trips, trips / elapsed, elapsed * 1000 / std::max(trips, 1));
    std::fflush(stdout);
    ::close(fd);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(0.2, QByteArray(argv[1]).toDouble()) : 2.0;
    const char* canSetup = "ATE0\rATL0\rATSP6\r0100";
    const Case cases[] = {
        {"timing off: ATI", false, "ATE0\rATL0", "ATI\r"},
        {"timing off: 0100 (two controllers)", false, canSetup, "0100\r"},
        {"timing off: 010C1", false, canSetup, "010C1\r"},
        {"timing on: ATI", true, "ATE0\rATL0", "ATI\r"},
        {"timing on: 0100, AT1 (default)", true, canSetup, "0100\r"},
        {"timing on: 0100, AT0 (fixed 205 ms wait)", true, "ATE0\rATL0\rATSP6\rATAT0\r0100", "0100\r"},
        {"timing on: 0100, AT2", true, "ATE0\rATL0\rATSP6\rATAT2\r0100", "0100\r"},
        {"timing on: 010C1 (answer count)", true, canSetup, "010C1\r"},
    };
    std::printf("Round trips over the pseudo-terminal, %.1f s per case\n", seconds);
    std::printf("%-44s %8s %10s %10s\n", "case", "trips", "per s", "ms each");
    for (const Case& c : cases)
        run(c, seconds);
    return 0;
}
