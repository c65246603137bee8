#pragma once
// The replay window's play loop: reads a recorded drive record by record, decodes each
// stored reply as live data would be decoded, and shows the values in up to ten slots,
// their gauges and the graph, paced by the recorded times and the chosen speed.

#include "base/clock.h"
#include "config/settings.h"
#include "live/derived.h"
#include "live/gaugescale.h"
#include "logging/recording.h"
#include "logging/replaycontrols.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <deque>

namespace zelcor {

inline constexpr int kReplaySlots = 10;
// Samples kept per plotted slot.
inline constexpr int kReplayHistory = 1001;

struct ReplaySlot {
    int pid = -1;              // the parameter the slot shows; -1 for a free slot
    QString name;              // Text1(i)
    QString value;             // Text5(i)
    bool showGauge = false;    // Check1(i)
    bool plot = false;         // Check2(i)
    GaugeScale scale;          // the gauge's scale, chosen when the slot is given
    GaugeFeed gauge;           // the latest needle position, value and decimals
    std::deque<float> history; // needle positions in percent, newest first

    bool used() const { return pid >= 0; }
};

class RecordingPlayer : public QObject {
    Q_OBJECT
public:
    RecordingPlayer(Clock& clock, const Settings& settings, QObject* parent = nullptr);

    ReplayControls controls;
    QString path;                                     // text15's Tag
    QString title;                                    // text15
    QStringList marks;                                // Combo1, "Jump to Mark"
    int markIndex = -1;                               // the selected mark
    QString Label1;                                   // time of the current record
    QString Label2;                                   // text of the last mark
    std::array<ReplaySlot, kReplaySlots> replaySlots; // the slots, in the order they were given
    int slotCount = 0;

    // Opens a recording, lists its marks and counts the lines that hold no record;
    // false (with the reason) when it cannot be read.
    bool open(const QString& path, QString* error = nullptr);
    int skippedLines() const { return skippedLines_; }

    // The play loop: runs until the end of the file, a close request or the end of the
    // program. Pressing play (or a jump) after the end plays again.
    void playing();
    bool running() const { return running_; }
    bool atEnd() const { return reader_.atEnd(); }
    // Empties every slot before a new section.
    void initform();

    void Command1_Click(); // Close
    void Command2_Click(); // Jump to Mark
    // Play, step and fast forward: when the loop has ended they start it again from the
    // beginning.
    void playClicked(bool checked);
    void stepClicked(bool checked);
    void fastClicked(bool held);
    void Check1_Click(int slot, bool checked); // Show Gauge
    void Check2_Click(int slot, bool checked); // Plot on Graph

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
    void showData(const ReplayRecord& record);
    // Waits until the record due `seconds` after the previous one may be shown; false
    // when the loop must end instead.
    bool pace(double seconds);
    bool mustEnd() const;
    void resume();

    Clock& clock_;
    const Settings& settings_;
    RecordingReader reader_;
    int skippedLines_ = 0;
    bool running_ = false;
    bool jumped_ = false; // a jump moved the file while the loop held a record
    std::array<int, kMaxRecordedPid + 1> slotOf_;
    // The boxes the user checked for a parameter; its slot in a later section gets them again.
    struct Choice {
        bool showGauge = false;
        bool plot = false;
    };
    std::array<Choice, kMaxRecordedPid + 1> choices_{};
    double sectionStart_ = 0; // date value of the section's start
    // The previous data record's time and the clock when it was shown.
    std::optional<double> previousTime_;
    double previousClock_ = 0;
    double lastYield_ = 0;
    int unpacedRecords_ = 0; // records shown since the last yield
};

} // namespace zelcor
