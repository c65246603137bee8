// How much time the program adds to each live-data request. Against the simulated
// adapter with zero latency on a pseudo-terminal, in the same run:
//   (a) a bare client that writes a request and reads up to the prompt,
//   (a') the same through QSerialPort on Qt's event loop, without any program logic,
//   (b) `zelcor --scan --live` polling ten channels, headless, and (b') the same scan
//       inside this process,
//   (c) the live-data panel in the main window, ten channels with ten gauges open.
// Program time per request = 1/(b) - 1/(a), and 1/(c) - 1/(a). (b') and (c) ask every row
// on every pass; (b) leaves the rows to their own rates, so its readings per second count
// the rows' values shown, some of them not asked on that pass.
// Under fast polling one request carries several rows, so a reading is not a request: the
// second table counts the requests (b') and (c) sent, against (a'') a bare client that
// sends the same requests (six PIDs and the response count, one controller, no blanks, no
// headers): program time per request = 1/(b') - 1/(a'').
//
// bench_live [seconds per run, default 2] [--repeats N, default 3] [--no-window]
// Each case is run N times; the best wall rate and the least CPU time are shown. "cpu us"
// is the CPU time of the client's thread per request (where the client runs in here).
// Case (c) needs a display (run it under xvfb-run) or QT_QPA_PLATFORM=offscreen.

#include "base/clock.h"
#include "core/session.h"
#include "link/pidgroups.h"
#include "link/systemport.h"
#include "ptyclient.h"
#include "sim/ptyserver.h"
#include "ui/main/mainwindow.h"
#include "ui/main/qthost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <unistd.h>

using namespace zelcor;

namespace {

using bench::roundTrip;
using bench::ServerThread;

// The channels the scan polls on the default car: its first ten list entries.
const QList<QByteArray> kRequests{"0111", "0110", "010F", "010E", "010D", "010C", "0103", "0104", "0105", "0106"};

// CPU time of the calling thread, in seconds.
double threadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// What a case measured: requests per second of wall time and, where the client runs on
// this thread, its CPU time per request.
struct Rate {
    double perSecond = 0;
    double cpuMicros = -1;
    double requestsPerSecond = 0; // requests sent, where a request carries several readings
};

// Times requests over `seconds`; `request` makes one and says whether it worked.
template <typename Request> Rate timed(double seconds, Request request) {
    QElapsedTimer timer;
    timer.start();
    const double cpu = threadCpu();
    qint64 requests = 0;
    while (timer.nsecsElapsed() < qint64(seconds * 1e9) && request(requests))
        ++requests;
    const double elapsed = double(timer.nsecsElapsed()) / 1e9;
    return Rate{double(requests) / elapsed, requests > 0 ? (threadCpu() - cpu) * 1e6 / double(requests) : -1};
}

const char* const kSetup[] = {"ATZ\r", "ATE0\r", "ATL0\r", "ATH1\r", "ATSP6\r", "0100\r"};
// As the program sets the adapter up for fast polling of the engine controller.
const char* const kFastSetup[] = {"ATZ\r",     "ATE0\r",     "ATL0\r", "ATH1\r", "ATSP6\r", "0100\r",
                                  "ATSH7E0\r", "ATCRA7E8\r", "ATS0\r", "ATH0\r", "ATAT2\r"};

// (a'') The requests the program sends for the ten channels, from a client that does nothing else.
Rate bareFastClient(const QString& device, double seconds) {
    QList<int> pids;
    for (const QByteArray& request : kRequests)
        pids.append(request.mid(2).toInt(nullptr, 16));
    QList<QByteArray> requests;
    for (const QList<int>& group : fewestFrameGroups(pids, 6)) {
        QByteArray request = "01";
        for (const int pid : group)
            request += QByteArray::number(pid, 16).rightJustified(2, '0').toUpper();
        requests.append(request + "1\r");
    }
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) return {};
    for (const char* setup : kFastSetup)
        roundTrip(fd, setup);
    Rate rate = timed(seconds, [&](qint64 n) { return roundTrip(fd, requests.at(int(n % requests.size()))); });
    ::close(fd);
    rate.requestsPerSecond = rate.perSecond;
    return rate;
}

// (a) A client that does nothing else: write, read to the prompt.
Rate bareClient(const QString& device, double seconds) {
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) return {};
    for (const char* setup : kSetup)
        roundTrip(fd, setup);
    const Rate rate =
        timed(seconds, [fd](qint64 n) { return roundTrip(fd, kRequests.at(int(n % kRequests.size())) + "\r"); });
    ::close(fd);
    return rate;
}

// (a') The same requests through QSerialPort on Qt's event loop, without any program
// logic: the floor of a client built on the event loop.
Rate eventLoopClient(const QString& device, double seconds) {
    QSerialPort serial;
    serial.setPortName(device);
    serial.setBaudRate(QSerialPort::Baud38400);
    if (!serial.open(QIODevice::ReadWrite)) return {};
    for (const char* setup : kSetup) {
        serial.write(setup);
        serial.flush();
        serial.waitForReadyRead(2000);
        while (serial.waitForReadyRead(50)) {
        }
        serial.readAll();
    }
    QByteArray answer;
    bool answered = false;
    QObject::connect(&serial, &QSerialPort::readyRead, [&] {
        answer += serial.readAll();
        answered = answer.endsWith('>');
    });
    return timed(seconds, [&](qint64 n) {
        answer.clear();
        answered = false;
        serial.write(kRequests.at(int(n % kRequests.size())) + "\r\n");
        serial.flush();
        QElapsedTimer limit;
        limit.start();
        while (!answered && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return answered;
    });
}

QString codesFile() {
    return QFileInfo(QStringLiteral(ZELCOR_PROGRAM)).dir().filePath(QStringLiteral("codes.dat"));
}

// (b) The program's headless live scan; requests per second from its pass rate.
Rate headlessScan(const QString& device, double seconds, int* channels) {
    QTemporaryDir folder;
    QFile::copy(codesFile(), folder.filePath(QStringLiteral("codes.dat")));
    QProcess program;
    program.start(QStringLiteral(ZELCOR_PROGRAM),
                  {QStringLiteral("--scan"), QStringLiteral("--json"), QStringLiteral("--live"),
                   QString::number(seconds), QStringLiteral("--device"), device, QStringLiteral("--data-dir"),
                   folder.path()});
    if (!program.waitForFinished(int(seconds * 1000) + 60000) || program.exitCode() != 0) {
        std::fprintf(stderr, "zelcor --scan --live failed: %s\n", program.readAllStandardError().constData());
        return {};
    }
    const QJsonObject report = QJsonDocument::fromJson(program.readAllStandardOutput()).object();
    int requests = 0;
    for (const QJsonValue& channel : report.value(QStringLiteral("live")).toArray())
        if (channel.toObject().value(QStringLiteral("code")).toInt() < 997) ++requests;
    *channels = requests;
    return Rate{report.value(QStringLiteral("pass_rate")).toDouble() * requests, -1};
}

// (b') and (c): live-data passes in this process over ten rows, headless or in the main
// window with a gauge on every row (the first ten channels that have a dial).
Rate livePasses(const QString& device, double seconds, bool inWindow, int* gauges) {
    QTemporaryDir folder;
    QFile::copy(codesFile(), folder.filePath(QStringLiteral("codes.dat")));
    SystemClock clock;
    DeviceList devices;
    devices.setFirstDevice(device);
    SystemPort port(devices);
    QtHost host;
    Session session(clock, port, host, folder.path());
    std::unique_ptr<MainWindow> window;
    if (inWindow) {
        window = std::make_unique<MainWindow>(session);
        host.setWindow(window.get());
        window->show();
    }

    qint64 requests = 0;
    double start = -1;
    double end = 0;
    double cpu = 0;
    quint64 sentAtStart = 0;
    LiveData& live = session.live();
    session.connection().setPassRunner([&] {
        if (start < 0) {
            if (session.navigation().function() == Function::Detection) {
                session.runPass(); // detection
                return;
            }
            session.navigation().setFunction(Function::LiveData);
            session.runPass(); // shows the panel
            int entry = 0;
            for (int i = 0; i < kLiveRows; ++i) {
                const QList<ListEntry>& entries = live.row(i).channel.entries;
                if (inWindow) {
                    while (entry < entries.size() && !gaugeScale(entries.at(entry).code, session.settings()))
                        ++entry;
                }
                live.chooseRowChannel(i, entry++);
                live.setRowEnabled(i, true);
                live.setRowInterval(i, 1); // every row on every pass: each row is one reading asked
                if (inWindow) {
                    live.setShowGauge(i, true);
                    *gauges += live.row(i).showGauge ? 1 : 0;
                }
            }
            start = clock.now();
            cpu = threadCpu();
            sentAtStart = session.link().commandsSent();
            return;
        }
        session.runPass();
        for (const LiveRow& row : live.rows())
            requests += row.enabled && row.channel.code() < kTorqueCode ? 1 : 0;
        end = clock.now();
        if (end - start >= seconds) session.connection().requestDisconnect();
    });
    session.connection().run();
    if (!(end > start) || requests == 0) return {};
    return Rate{double(requests) / (end - start), (threadCpu() - cpu) * 1e6 / double(requests),
                double(session.link().commandsSent() - sentAtStart) / (end - start)};
}

// The best of `repeats` runs: the fastest wall rate and the least CPU.
template <typename Case> Rate best(int repeats, Case run) {
    Rate out;
    for (int i = 0; i < repeats; ++i) {
        const Rate r = run();
        out.perSecond = std::max(out.perSecond, r.perSecond);
        out.requestsPerSecond = std::max(out.requestsPerSecond, r.requestsPerSecond);
        if (r.cpuMicros >= 0 && (out.cpuMicros < 0 || r.cpuMicros < out.cpuMicros)) out.cpuMicros = r.cpuMicros;
    }
    return out;
}

double microseconds(double perSecond) {
    return perSecond > 0 ? 1e6 / perSecond : 0;
}

void print(const char* name, const Rate& r, const Rate& bare) {
    std::printf("%-40s %8.0f %9.1f", name, r.perSecond, microseconds(r.perSecond));
    if (&r != &bare)
        std::printf(" %+9.1f", microseconds(r.perSecond) - microseconds(bare.perSecond));
    else
        std::printf(" %9s", "");
    if (r.cpuMicros >= 0) std::printf(" %9.1f", r.cpuMicros);
    if (&r != &bare && r.cpuMicros >= 0 && bare.cpuMicros >= 0) std::printf(" %+9.1f", r.cpuMicros - bare.cpuMicros);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool window = !args.contains(QStringLiteral("--no-window"));
    double seconds = 2;
    int repeats = 3;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--repeats") && i + 1 < args.size())
            repeats = std::max(1, args.at(++i).toInt());
        else if (args.at(i).toDouble() > 0)
            seconds = args.at(i).toDouble();
    }

    sim::Options options;
    options.realTiming = false;
    ServerThread server(options);
    if (server.path().isEmpty()) {
        std::fprintf(stderr, "cannot start the simulated adapter\n");
        return 1;
    }
    const QString device = server.path();
    std::printf("Live-data requests against the simulated adapter (no latency): best of %d runs of %.1f s\n", repeats,
                seconds);
    std::printf("%-40s %8s %9s %9s %9s %9s\n", "case", "req/s", "us each", "program", "cpu us", "cpu prog");

    const Rate bare = best(repeats, [&] { return bareClient(device, seconds); });
    print("(a)  bare client", bare, bare);
    print("(a') QSerialPort on the event loop", best(repeats, [&] { return eventLoopClient(device, seconds); }), bare);

    int channels = 0;
    const Rate scan = best(repeats, [&] { return headlessScan(device, seconds, &channels); });
    print(qPrintable(QStringLiteral("(b)  zelcor --scan --live, %1 channels").arg(channels)), scan, bare);
    int none = 0;
    const Rate passes = best(repeats, [&] { return livePasses(device, seconds, false, &none); });
    print("(b') live passes in this process", passes, bare);
    Rate shown;
    int gauges = 0;
    if (window) {
        shown = best(repeats, [&] {
            gauges = 0;
            return livePasses(device, seconds, true, &gauges);
        });
        print(qPrintable(QStringLiteral("(c)  window, %1 gauges").arg(gauges)), shown, bare);
    }

    std::printf("\nRequests as sent (fast polling: several readings each)\n");
    std::printf("%-40s %8s %9s %9s\n", "case", "req/s", "us each", "program");
    const Rate bareFast = best(repeats, [&] { return bareFastClient(device, seconds); });
    const auto printRequests = [&](const char* name, const Rate& r) {
        std::printf("%-40s %8.0f %9.1f", name, r.requestsPerSecond, microseconds(r.requestsPerSecond));
        if (&r != &bareFast)
            std::printf(" %+9.1f", microseconds(r.requestsPerSecond) - microseconds(bareFast.requestsPerSecond));
        std::printf("\n");
    };
    printRequests("(a'') bare client, the program's requests", bareFast);
    printRequests("(b') live passes in this process", passes);
    if (window) printRequests(qPrintable(QStringLiteral("(c)  window, %1 gauges").arg(gauges)), shown);
    return 0;
}
