// The data log and the replay, measured:
//   (a) one CSV row of ten channels plus its ten recording lines, handed to the disk
//       (flush and fdatasync), per pass;
//   (b) a recorded hour of ten channels at five passes a second (180,000 data records)
//       read and played at "Max": records per second, and the memory it took.
//
// bench_logging [rows for (a), default 200] [--folder DIR, default a temporary one]

#include "base/clock.h"
#include "config/settings.h"
#include "live/datalog.h"
#include "logging/recording.h"
#include "logging/recordingplayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace zelcor;

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One row of ten channels written and handed to the system, and with `sync` also to
// the disk (the data log syncs at most once a second, at every Mark and at Stop).
void rowCost(const QString& folder, int rows, bool sync) {
    DataLogFiles files;
    QString error;
    if (!files.open(folder + QStringLiteral("/bench.csv"), &error)) {
        std::printf("cannot open: %s\n", qPrintable(error));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 10; ++c) {
            files.writeCsv(QStringLiteral("7:23:08 PM,3000,"));
            files.writeRecord(dataRecordLine(r * 0.2 + c * 0.01, 12, QStringLiteral("0704E8410C2EE0")));
        }
        files.writeCsv(QStringLiteral("\r\n"));
        files.commit(sync);
    }
    const double ms = timer.nsecsElapsed() / 1e6 / rows;
    files.close();
    std::printf("(a) row of ten channels to the %s: %.3f ms per pass (%d passes)\n", sync ? "disk" : "system", ms,
                rows);
}

void replayRate(const QString& folder) {
    const QString path = folder + QStringLiteral("/hour.log");
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write((markRecordLine(QDateTime::currentDateTime(), QStringLiteral("start")) + "\r\n").toLatin1());
        for (int pid = 4; pid < 14; ++pid)
            file.write((channelRecordLine(pid, QString()) + "\r\n").toLatin1());
        const char* replies[] = {"0703E841047F", "0703E8410585", "0703E8410680", "0703E8410780",   "0703E8410880",
                                 "0703E8410980", "0703E8410A20", "0703E8410B21", "0704E8410C2EE0", "0703E8410D3C"};
        for (int pass = 0; pass < 18000; ++pass)
            for (int c = 0; c < 10; ++c)
                file.write((dataRecordLine(pass * 0.2 + c * 0.02, 4 + c, QString::fromLatin1(replies[c])) + "\r\n")
                               .toLatin1());
    }
    SystemClock clock;
    Settings settings;
    RecordingPlayer player(clock, settings);
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    player.open(path);
    const double openSeconds = timer.nsecsElapsed() / 1e9;
    player.controls().speedIndex = kReplaySpeeds - 1;
    player.controls().setPlay(true);
    timer.restart();
    player.runPlayLoop();
    const double playSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("(b) 180,000 records: listing the marks %.2f s, playing at Max %.2f s (%.0f records/s); "
                "peak memory grew by %ld kB\n",
                openSeconds, playSeconds, 180000 / playSeconds, peakKilobytes() - before);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int rows = 200;
    QString folder;
    QTemporaryDir temporary;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size())
            folder = args[++i];
        else
            rows = args[i].toInt();
    }
    if (folder.isEmpty()) folder = temporary.path();
    if (!QDir().mkpath(folder)) {
        std::printf("cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    rowCost(folder, rows > 0 ? rows : 200, false);
    rowCost(folder, rows > 0 ? rows : 200, true);
    replayRate(folder);
    return 0;
}
