#pragma once
// The replay window's play loop: reads a recorded drive record by record, decodes each
// stored reply as live data would be decoded, and shows the values in up to ten slots,
// their gauges and the graph, paced by the recorded times and the chosen speed.

#include "base/clock.h"
#include "config/settings.h"
#include "logging/recording.h"
#include "logging/replaycontrols.h"
#include "obd/parameters.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <array>
#include <deque>

namespace zelcor {

inline constexpr int kReplaySlots = 10;
// Samples kept per plotted slot.
inline constexpr int kReplayHistory = 1001;

struct ReplaySlot {
    int pid = -1; // the parameter the slot shows; -1 for a free slot
    QString name;
    QString units; // of a manufacturer channel (the others' values carry theirs)
    QString value;
    bool showGauge = false;    // "Show Gauge"
    bool plot = false;         // "Plot on Graph"
    GaugeScale scale;          // the gauge's scale, chosen when the slot is given
    GaugeFeed gauge;           // the latest needle position, value and decimals
    std::deque<float> history; // needle positions in percent, newest first
    std::deque<double> times;  // when each was recorded, seconds into the section, newest first

    bool used() const { return pid >= 0; }
};

class RecordingPlayer : public QObject {
    Q_OBJECT
public:
    RecordingPlayer(Clock& clock, const Settings& settings, QObject* parent = nullptr);

    // The play controls; the window writes them, then calls the matching click.
    ReplayControls& controls() { return controls_; }
    const QString& path() const { return path_; }
    const QString& title() const { return title_; }     // the file's name
    const QStringList& marks() const { return marks_; } // "Jump to Mark"
    int markIndex() const { return markIndex_; }        // the selected mark
    void setMarkIndex(int index) { markIndex_ = index; }
    const QString& recordTime() const { return recordTime_; } // date and time of the current record
    const QString& markText() const { return markText_; }     // text of the last mark
    const std::array<ReplaySlot, kReplaySlots>& replaySlots() const { return slots_; } // in the order given
    int slotCount() const { return slotCount_; }
    // The manufacturer parameter files the section under way was logged with.
    const QStringList& definitionFiles() const { return definitionFiles_; }

    // Opens a recording, lists its marks and counts the lines that hold no record;
    // false (with the reason) when it cannot be read.
    bool open(const QString& path, QString* error = nullptr);
    int skippedLines() const { return skippedLines_; }

    // The play loop: runs until the end of the file, a close request or the end of the
    // program. Pressing play (or a jump) after the end plays again.
    void runPlayLoop();
    bool running() const { return running_; }
    bool atEnd() const { return reader_.atEnd(); }
    // Empties every slot before a new section.
    void emptySlots();

    void close();
    void jumpToMark();
    // Play, step and fast forward: when the loop has ended they start it again from the
    // beginning.
    void playClicked(bool checked);
    void stepClicked(bool checked);
    void fastClicked(bool held);
    void setShowGauge(int slot, bool checked);
    void setPlot(int slot, bool checked);

signals:
    void slotsChanged();        // slots given, emptied, boxes changed
    void slotChanged(int slot); // a new value
    void gaugeFed(int slot);
    void plotted();
    void labelsChanged();
    void controlsChanged();
    void finished(); // the loop ended: the gauge windows it opened go away
    void closed();   // "Close" was obeyed: the window goes away

private:
    void show(const ReplayRecord& record);
    void showMark(const ReplayRecord& record);
    void giveSlot(const ReplayRecord& record);
    void giveManufacturerSlot(const ReplayRecord& record);
    void showManufacturerValue(const ReplayRecord& record);
    // The next free slot for `code`, its boxes as the user left them; none when all are given.
    ReplaySlot* newSlot(int code, const QString& name);
    void plot(ReplaySlot& slot, double needle, double time);
    void showData(const ReplayRecord& record);
    // Shows the time of a value record; gives the index of the slot its channel has, -1 for none.
    int valueSlot(const ReplayRecord& record);
    // Waits until the record due `seconds` after the previous one may be shown; false
    // when the loop must end instead.
    bool pace(double seconds);
    bool mustEnd() const;
    void resume();

    Clock& clock_;
    const Settings& settings_;
    ReplayControls controls_;
    QString path_;
    QString title_;
    QStringList marks_;
    int markIndex_ = -1;
    QString recordTime_;
    QString markText_;
    std::array<ReplaySlot, kReplaySlots> slots_;
    int slotCount_ = 0;
    RecordingReader reader_;
    int skippedLines_ = 0;
    bool running_ = false;
    bool jumped_ = false;    // a jump moved the file while the loop held a record
    QHash<int, int> slotOf_; // by PID or manufacturer channel code
    // The boxes the user checked for a parameter; its slot in a later section gets them again.
    struct Choice {
        bool showGauge = false;
        bool plot = false;
    };
    QHash<int, Choice> choices_;
    QStringList definitionFiles_; // of the section under way
    double sectionStart_ = 0;     // date value of the section's start
    // The previous data record's time and the clock when it was shown.
    std::optional<double> previousTime_;
    double previousClock_ = 0;
    double lastYield_ = 0;
    int unpacedRecords_ = 0; // records shown since the last yield
};

} // namespace zelcor
