#pragma once
// The shared state of the program and its diagnostic routines: the link to the
// adapter, the selected function, the panels' state and navigation between them.
// Widgets render this state and write user input back into it.

#include "config/setuppanel.h"
#include "dtc/dtcpanel.h"
#include "dtc/freezeframe.h"
#include "instruments/instrumentstate.h"
#include "live/livestate.h"
#include "core/panels.h"
#include "link/connection.h"
#include "link/link.h"
#include "live/channelstate.h"
#include "logging/datalog.h"
#include "logging/replaycontrols.h"
#include "vehicle/panelstates.h"

#include <QDateTime>
#include <QStringList>
#include <array>
#include <optional>

namespace zelcor {

// Buttons of the main window that the connection and the setup panel switch off.
struct MainButtons {
    bool disconnectEnabled = true; // Command2
    bool replayEnabled = true;     // Command17, &REPLAY
    bool statusLabelEnabled = true; // Label2
    bool debugLogVisible = false;   // Command19, revealed by Ctrl+D
};

class Session : public Link {
    Q_OBJECT
public:
    static QString caption() { return QStringLiteral("ZELCOR  v2.52"); }

    Session(Clock& clock, Port& port, Host& host, const QString& programFolder);

    Connection connection;
    MainButtons buttons;
    SetupPanelState setup;

    qint16 funccode = 0;          // selected function code
    std::optional<int> lastfunc;  // function code of the previous pass (for the trace)
    QString pendingaddr;          // controller picked by the user, applied at the next detection
    std::array<int, 65> pidsup{}; // 1 where the selected controller supports the PID

    // List4, the function list.
    QStringList List4;
    int List4Index = -1;

    Panel frame = Panel::Frame1; // the panel in front

    // Controller detection.
    bool addrready = false; // the controller list may be clicked
    int addrmiss = 0;       // detections in a row without the selected controller
    QString protocolText;   // the adapter's protocol description, as shown

    // Panel state.
    GeneralInfoPanel generalInfo;
    FuelSystemPanel fuelSystems;
    TextPanel textPanel;
    OxygenPanel oxygen;
    std::array<LiveRow, kLiveRows> liveRows;
    std::array<GraphTraceSelector, 2> graphTraces;
    QStringList List5, List6; // stored and pending trouble codes
    QString Text10;           // explanation of the selected code
    DtcPanel dtc;
    FreezeFrame freeze;       // the freeze frame panel's rows and explanation (Text16)
    LiveState live;
    DataLogFlags datalog;
    DataLogFiles datalogFiles; // the open CSV log and the recording beside it
    InstrumentPanels instruments;

    // Trace replay ("V"): the replay window's controls and the time of the pass shown.
    ReplayControls traceControls;
    QString traceTime;

    // FRAME: brings a panel to the front; leaving the live-data panel closes the gauges.
    void FRAME(Panel panel);
    // closegauges: clears every "Show Gauge" box and unloads the gauge windows.
    void closegauges();

    // Selecting a list index (setting ListIndex) runs List4_Click; out of range is ignored.
    void setList4Index(int index);
    void List4_Click();
    void clearFunctionList();
    void addFunction(const QString& entry);

    // Function items "General" .. "Speed" (m_Click) and the About item.
    void m_Click(int index);
    void aboutmenu_Click();

    // SET&UP, SAVE CHANGES, CANCEL CHANGES.
    void Command3_Click();
    void EDITCONFIG();
    void Command8_Click();
    void Command9_Click();
    bool setupShown() const { return frame == Panel::Frame2; }

    // "Debug log": asks, then opens log.txt in the desktop's viewer.
    void Command19_Click();
    // HELP GUIDE ONLINE
    void Command20_Click();

    // &REPLAY: asks for a recorded drive and hands it to the replay window.
    void Command17_Click();
    // "V": replays the trace log through the whole program, paced by the replay window,
    // again from its beginning each time play is pressed after its end.
    void Command13_Click();
    // The replay window of a trace replay was closed: the program works live again.
    void endTraceReplay();
    // The replay window changed the trace replay's controls.
    void traceControlsChanged() { emit traceReplayChanged(); }

    // The CSV data log: File, Start / Mark, Stop.
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();

    // One diagnostic pass.
    void COMMS();

    // List7_Click: another controller picked in the controller list.
    void List7_Click(int index);

    // Trouble codes and freeze frame panels.
    void List5_Click(int index);
    void List6_Click(int index);
    void Command4_Click();  // ERASE ALL CODES
    void Command5_Click();  // ERASE CODES NOW
    void Command6_Click();  // CANCEL
    void Command11_Click(); // SAVE CODES TO FILE
    void Command21_Click(); // Save Freeze to File
    // Date and time written into the stamp of the saved reports; the current time when unset.
    std::function<QString()> reportTime;

    // Live-data rows and graphs.
    void Check1_Click(int row);
    void Check2_Click(int row);
    void Combo1_Click(int row);
    void Combo9_Click(int trace);
    void Command18_Click(int index);
    // Live data and graphs: one step of axis button 0..11 (a press, or a repeat while held).
    void adjustGraphAxis(int button);

    // Acceleration test.
    void Command10_Click(); // Reset/Arm

    // Instruments: each moves its needle to `x` and shows `x` in the readout.
    void MPH(double x); // speedometer in mph
    void KPH(double x); // speedometer in km/h
    void RPM(double x); // tachometer

    // The normalised reply carries the selected controller and `head` at characters 5-10.
    bool replyMatches(const QString& reply, const QString& head) const;
    // FRAME, then (unless a stop is requested) send and receive; false when the pass must end
    // because of a stop.
    bool exchangeOn(Panel panel, const QString& command, QString& reply);

signals:
    void frameChanged();
    void functionListChanged();
    void buttonsChanged();
    void setupChanged();
    void gaugesClosed();
    // A panel's state changed; its widget repaints at once.
    void panelChanged(zelcor::Panel panel);
    void channelsChanged();
    // Live data: a row's lamp, value, boxes or channel changed (its controls repaint at
    // once); a row's gauge window got a new reading.
    void liveRowChanged(int row);
    void gaugeFed(int row);
    // A recorded drive was chosen for the replay window.
    void recordingChosen(const QString& path);
    // A trace replay starts (the replay window shows) or its controls or time changed.
    void traceReplayStarted();
    void traceReplayChanged();
    // The data-logging group changed (file, logging state).
    void dataLogChanged();

protected:
    // Function bodies of a pass, dispatched by COMMS on the function code.
    void runFunction(int code);

    void detect();                    // 0
    void generalInfoPass();           // 1
    void fuelSystemPass();            // 3
    void textPass(int code);          // 4..11, 14..18
    void oxygenPass();                // 19
    void ptoPass();                   // 30
    void pidsSupportedPass();         // 32
    void keepAlive();                 // 249, 255
    void rpmPass();                   // 12
    void speedPass();                 // 13
    void graphPass();                 // 240
    void freezeFramePass();           // 248
    void livePass();                  // 250
    void erasePass();                 // 253
    void codesPass();                 // 254

private:
    void resetForDetection();
    void addchanfirst(const QString& entry);
    void addchanlast(const QString& entry);
    void applySupportRules(int pid);
    void replayNextFunction();
    void replayTail();
    void tracePassEnd();
    void finishTraceReplay();
    // Waits, by the replay window's speed, as long as the recorded pass took.
    void paceTracePass(const QDateTime& recorded);
    // The live-data rows' and graph traces' choices as a "K" trace line, and back.
    QString panelChoicesLine() const;
    void writePanelChoices();
    void applyPanelChoices(const QString& line);

    QString lastPanelChoices_;     // the choices last written to the trace
    QDateTime tracePassTime_;      // the recorded time of the pass last replayed
    double tracePassClock_ = 0;    // the clock when it was replayed
    // The data log's rows so far go to the disk; a failed write stops logging with a box.
    void commitDataLog();

    bool traceReplayRunning_ = false; // the "V" handler is running
    bool traceReplayEnding_ = false;  // the replay window was closed

    // Trouble codes and freeze frame.
    QString explainCode(const QString& code); // explaincode; the error box when codes.dat cannot be read
    void showExplanation(bool stored, int index);
    QString reportStampTime() const;
    // The TIP box, the shared save dialog, then `report` appended to the chosen file; false
    // when the dialog was cancelled.
    bool saveReport(const QString& tip, const QString& defaultName, const std::function<QString()>& report);
};

} // namespace zelcor
