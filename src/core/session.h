#pragma once
// The program's session: owns the settings, the link to the adapter and the area objects,
// runs the pass of the selected function, and carries out what the main window's
// buttons and lists ask that involves more than one area.

#include "config/settings.h"
#include "config/setuppanel.h"
#include "core/detection.h"
#include "core/function.h"
#include "core/navigation.h"
#include "definitions/parameterlibrary.h"
#include "dtc/troublecodes.h"
#include "instruments/instruments.h"
#include "link/connection.h"
#include "link/fastpolling.h"
#include "link/link.h"
#include "live/livedata.h"
#include "logging/tracereplay.h"
#include "modules/wholecar.h"
#include "vehicle/vehiclestatus.h"
#include "vehicleinfo/vehicleinfo.h"

#include <QObject>
#include <optional>

namespace zelcor {

class Session : public QObject {
    Q_OBJECT
public:
    static QString caption() { return QStringLiteral("ZELCOR  v2.52"); }

    Session(Clock& clock, Port& port, Host& host, const QString& programFolder);

    // --- the parts ---
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    Link& link() { return link_; }
    const Link& link() const { return link_; }
    FastPolling& fastPolling() { return polling_; }
    const FastPolling& fastPolling() const { return polling_; }
    Connection& connection() { return connection_; }
    const Connection& connection() const { return connection_; }
    Navigation& navigation() { return navigation_; }
    const Navigation& navigation() const { return navigation_; }
    const Detection& detection() const { return detection_; }
    VehicleStatus& vehicle() { return vehicle_; }
    const VehicleStatus& vehicle() const { return vehicle_; }
    TroubleCodes& codes() { return codes_; }
    const TroubleCodes& codes() const { return codes_; }
    VehicleInfo& vehicleInfo() { return vehicleInfo_; }
    const VehicleInfo& vehicleInfo() const { return vehicleInfo_; }
    LiveData& live() { return live_; }
    const LiveData& live() const { return live_; }
    WholeCar& wholeCar() { return wholeCar_; }
    ParameterLibrary& parameters() { return parameters_; }
    const ParameterLibrary& parameters() const { return parameters_; }
    const WholeCar& wholeCar() const { return wholeCar_; }
    Instruments& instruments() { return instruments_; }
    const Instruments& instruments() const { return instruments_; }
    TraceReplay& traceReplay() { return traceReplay_; }
    const TraceReplay& traceReplay() const { return traceReplay_; }
    Clock& clock() const { return link_.clock(); }
    Host& host() const { return link_.host(); }
    const QString& programFolder() const { return link_.programFolder(); }

    // One diagnostic pass of the selected function.
    void runPass();

    // --- navigation ---
    // Brings a panel to the front; leaving the live-data panel closes its gauges.
    void showPanel(Panel panel);
    // Selecting an entry of the function list (as a click that changes the selection does).
    void chooseFunctionEntry(int index);
    // A click on the function list's selected entry: the next pass serves it; with no
    // connection running its panel shows at once.
    void functionEntryClicked();
    // The function items "General" .. "Speed" of the main window's menu bar (0..7): each
    // selects the entry of its function, wherever the list holds it.
    void functionItem(int item);
    void showAbout();
    // Another controller picked in the controller list.
    void chooseController(int index);

    // --- the setup panel: SET&UP, SAVE CHANGES, CANCEL CHANGES ---
    const SetupPanelState& setupForm() const { return setupForm_; }
    void setSetupForm(const SetupPanelState& form) { setupForm_ = form; }
    void openSetup();
    void saveSetup();
    void closeSetup();

    // --- the connection panel ---
    // "Debug log": asks, then opens log.txt in the desktop's viewer.
    void openDebugLog();
    // HELP GUIDE ONLINE
    void openHelp();
    // &REPLAY: asks for a recorded drive and hands it to the replay window.
    void chooseRecording();

    // --- the trouble code panel's erase ---
    // ERASE ALL CODES: waits for a read in progress to finish (at most a second), then
    // asks for the second click. Nothing is sent yet.
    void askToErase();
    // ERASE CODES NOW: the next pass erases, the one after reads the codes again.
    void confirmErase();
    // CANCEL: nothing is erased; the codes are read again all the same.
    void cancelErase();

    // --- All Modules: clearing in two steps, and the report ---
    void askToClearModules(bool all);
    void confirmClearModules();
    void cancelClearModules();
    void saveModules();
    // The parameter definition files' panel, from any panel; while connected the link is
    // kept awake meanwhile.
    void showParameterDefinitions();

    // The acceleration test's Reset/Arm.
    void armAccelerationTest();

    // --- passes the function table calls ---
    // Detection; selects the first function when the car answers.
    void detect(PassContext& pass);
    // The vehicle information, and the VIN on General Info.
    void readVehicleInformation(PassContext& pass);
    // The link is kept awake; the reply is not examined, but an empty one marks the link lost.
    void keepAlive();

signals:
    void setupChanged();
    // Why a button or menu item could not act just now, for the status line.
    void notice(const QString& text);
    // A recorded drive was chosen for the replay window.
    void recordingChosen(const QString& path);

private:
    PassContext passContext(Function function);
    void runFunction(Function function);
    // After detection, when the car offers vehicle information: the VIN for General Info.
    void readVinForGeneralInfo(PassContext& pass);
    void showVin();
    // The live-data rows' and graph traces' choices as a "K" trace line when they changed.
    void traceChoices();

    Settings settings_;
    Link link_;
    FastPolling polling_;
    Connection connection_;
    Navigation navigation_;
    VehicleStatus vehicle_;
    TroubleCodes codes_;
    VehicleInfo vehicleInfo_;
    LiveData live_;
    WholeCar wholeCar_;
    ParameterLibrary parameters_;
    Instruments instruments_;
    Detection detection_;
    TraceReplay traceReplay_;
    LivePasses livePasses_;
    PassRhythm* rhythm_ = &livePasses_; // the trace replay's while it runs
    SetupPanelState setupForm_;

    std::optional<int> lastTracedFunction_; // the function of the last "F" trace line
    int failedDetections_ = 0;              // detections in a row that found no functions
    QString lastTracedChoices_;             // the last "K" trace line
};

} // namespace zelcor
