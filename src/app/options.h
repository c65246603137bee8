#pragma once
// The command line of the zelcor program.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace zelcor {

// The longest live stage of a scan: a day.
inline constexpr double kMaxLiveSeconds = 86400;

struct AppOptions {
    QString dataDir;                   // --data-dir: the program folder
    bool simulate = false;             // --simulate[=PROFILE]
    QString simulateProfile;           // empty = the default car
    QString device;                    // --device DEV: port 1 (a device path or host:port)
    bool scan = false;                 // --scan: report without a window
    bool json = false;                 // --json
    double liveSeconds = 0;            // --live SECONDS
    bool modules = false;              // --modules: every module of the car too
    QStringList parameterFiles;        // --parameters FILE (repeatable): definitions for this run, besides the folder's
    QStringList parameterFilesToCheck; // --check-parameters FILE...: check the files, then stop
};

// Parses the arguments (the program name first); prints help or version and exits on --help / --version,
// prints an error and exits with status 1 on a bad command line. Needs no display: the window
// system's own options ("-platform offscreen") are passed over for the window to read.
AppOptions parseOptions(const QStringList& arguments);

} // namespace zelcor
