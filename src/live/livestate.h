#pragma once
// What the live-data and graph passes keep between passes besides the rows.

#include "live/derived.h"
#include "live/graphmodel.h"

#include <QString>
#include <functional>

namespace zelcor {

struct LiveState {
    LiveHistory history;      // maflatest and the speed, RPM and time histories
    QString Text12;           // pass rate of the live-data panel
    QString Text17;           // pass rate of the graphs
    bool points = false;      // Check5, "Points"
    GraphModel graph;         // the two traces and their axes
    bool logLabelLit = false; // Label38 blinks green with every value received while logging
};

// Where the live-data pass writes its CSV rows: `append` gets "time,value," for each
// row of a pass, `endLine` ends the row after the last one, and `reply` gets every
// accepted reply of a parameter for the drive's recording.
struct LogRowSink {
    std::function<void(const QString& fields)> append;
    std::function<void()> endLine;
    std::function<void(int code, const QString& reply)> reply;
};

// The CSV data log's flags (the log file itself is written by the data-log code).
struct DataLogFlags {
    bool logging = false;   // a CSV log is open
    bool rowactive = false; // the current live-data pass may write its row
    LogRowSink rows;        // the open log's row writer
    QString path;           // text15's Tag: the chosen file
    QString title = QStringLiteral("noname"); // text15
    double sectionStart = 0; // clock at the last Start / Mark (the recording's times)
};

} // namespace zelcor
