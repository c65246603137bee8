#pragma once
// Live data: the ten rows of the live-data panel with their gauges, the two traces of the
// real-time graphs, the fuel economy, power and torque derived from them, the CSV data
// log, and the passes that poll them.

#include "link/passcontext.h"
#include "live/channels.h"
#include "live/datalog.h"
#include "live/derived.h"
#include "live/graphmodel.h"
#include "live/parameterchannels.h"
#include "live/rowschedule.h"

#include <QObject>
#include <array>

namespace zelcor {

class ParameterReader;
struct LiveReading;

class LiveData : public QObject {
    Q_OBJECT
public:
    LiveData(Host& host, Clock& clock, const Settings& settings, const QString& programFolder);

    const std::array<LiveRow, kLiveRows>& rows() const { return rows_; }
    const LiveRow& row(int i) const { return rows_[size_t(i)]; }
    const std::array<GraphTrace, kGraphTraces>& traces() const { return traces_; }
    const GraphTrace& trace(int t) const { return traces_[size_t(t)]; }
    const GraphModel& graph() const { return graph_; }
    const LiveHistory& history() const { return history_; }
    const QString& passRate() const { return passRate_; }           // the live-data panel's "/sec"
    const QString& graphPassRate() const { return graphPassRate_; } // the graphs' passes per second
    bool points() const { return points_; }                         // the graphs draw points
    bool logLampLit() const { return logLampLit_; }                 // " Data Logging" blinks with every value logged
    DataLog& dataLog() { return dataLog_; }
    const DataLog& dataLog() const { return dataLog_; }
    // The manufacturer parameters offered as channels.
    ParameterChannels& parameters() { return parameters_; }
    const ParameterChannels& parameters() const { return parameters_; }

    // --- the passes ---
    // One request per enabled row, top to bottom (with fast polling several rows to a
    // request); the derived rows from the rows above.
    void readRows(PassContext& pass);
    // Both graph traces sampled once, shifted and redrawn.
    void readGraphs(PassContext& pass);

    // --- the live-data rows ---
    void setRowEnabled(int row, bool enabled);
    // "Show Gauge": channels without a dial get no window, and the box clears itself again.
    void setShowGauge(int row, bool shown);
    void chooseRowChannel(int row, int index);
    // How often the row is asked: 0 by itself, else every `interval`-th pass.
    void setRowInterval(int row, int interval);
    const RowSchedule& schedule() const { return schedule_; }
    // Every "Show Gauge" box cleared and the gauge windows gone.
    void closeGauges();

    // --- the graphs ---
    void chooseTraceChannel(int trace, int index);
    void setTraceEnabled(int trace, bool enabled);
    void setPoints(bool points);
    // The time axis: 0 zooms out, 1 zooms in.
    void zoomTime(int direction);
    // One step of axis button 0..11 (a press, or a repeat while held).
    void adjustAxis(int button);

    // --- the channel lists, rebuilt by every detection ---
    void clearChannels();
    void addChannelFirst(const ListEntry& entry);
    void addChannelLast(const ListEntry& entry);
    // The lists are complete: the panels show them. With `manufacturerChannels` (a car whose
    // controllers can be addressed one by one) the loaded parameters close the lists.
    void channelsComplete(bool manufacturerChannels = false);

    // --- the data log ---
    void startOrMarkLog() { dataLog_.startOrMark(rows_, settings_, parameters_); }

    // The rows' and traces' choices as one line ("K" trace lines), and back.
    QString choicesLine() const;
    void applyChoices(const QString& line);

signals:
    // A row's lamp, value, boxes or channel changed; its controls repaint at once.
    void rowChanged(int row);
    // A row's gauge window got a new reading.
    void gaugeFed(int row);
    void gaugesClosed();
    void channelsChanged();
    // The pass rate or the logging lamp changed.
    void livePanelChanged();
    void graphsChanged();

private:
    // live-data pass
    void defaultRowSelection(int i);
    void setLamp(int i, bool on);
    void feedGauge(int i, const GaugeFeed& feed);
    void blinkLogLamp();
    void readDerivedRow(int i, int code, const SeenFlags& seen);
    // True when the car answered the row's request.
    bool readParameterRow(PassContext& pass, ParameterReader& reader, int i, int code, SeenFlags& seen);
    void readManufacturerRows(PassContext& pass, ParameterReader& reader);
    void showManufacturerRow(int i, int code);
    // The loaded parameters changed: the lists get the new channels, the rows keep theirs by name.
    void replaceManufacturerChannels();
    void share(int code, double value, double now, SeenFlags& seen);
    std::array<bool, kLiveRows> rowsDue(bool replaying) const;
    void carryRow(int i);
    void scheduleRow(int i, const LiveReading& reading);
    void showPassRate(PassContext& pass, double elapsed);
    // graph pass
    void defaultTraceSelection(int t);
    void selectTraceEntry(int t, int index);
    void traceChannelChosen(int t);

    const Settings& settings_;
    std::array<LiveRow, kLiveRows> rows_;
    std::array<GraphTrace, kGraphTraces> traces_;
    GraphModel graph_;
    LiveHistory history_;
    QString passRate_;
    QString graphPassRate_;
    bool points_ = false;
    bool logLampLit_ = false;
    DataLog dataLog_;
    RowSchedule schedule_;
    // While a trace is replayed: the rows the recorded pass asked ("K" lines); none: all.
    std::optional<std::array<bool, kLiveRows>> replayedDue_;
    // What each row logged last, written again on the passes its turn does not come.
    struct Carried {
        QString field;
        QString reply;
        int code = 0;
    };
    std::array<Carried, kLiveRows> carried_;
    ParameterChannels parameters_;
    bool manufacturerListed_ = false; // the lists hold the manufacturer channels
};

} // namespace zelcor
