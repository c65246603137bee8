#include "core/session.h"

#include "base/programfolder.h"
#include "config/devicechoice.h"
#include "config/pollingchoice.h"
#include "core/connectionstate.h"
#include "link/helptexts.h"

#include <QDateTime>

namespace zelcor {

namespace {
// Detections in a row that find no functions before the connection gives up.
constexpr int kDetectionAttempts = 3;
} // namespace

Session::Session(Clock& clock, Port& port, Host& host, const QString& programFolder)
    : link_(clock, port, host, settings_, programFolder), polling_(link_), connection_(link_, caption()),
      codes_(host, programFolder), vehicleInfo_(host, programFolder), live_(host, clock, settings_, programFolder),
      detection_(link_, navigation_, vehicle_, codes_, live_),
      traceReplay_(link_, connection_,
                   TraceReplayHooks{[this](int code) { navigation_.setFunction(Function(code)); },
                                    [this](const QString& line) { live_.applyChoices(line); },
                                    [this](const QString& line) { polling_.applyTraceLine(line); }}) {
    polling_.setEnabled(loadFastPolling(programFolder));
    ConnectionHooks hooks;
    hooks.onStart = [this] {
        navigation_.setFunction(Function::Detection);
        failedDetections_ = 0;
        lastTracedChoices_.clear(); // every connection's trace states the choices again
        polling_.reset();
        showPanel(Panel::Connection);
        navigation_.clearFunctions();
    };
    hooks.runPass = [this] { runPass(); };
    hooks.onEnd = [this] { live_.closeGauges(); };
    hooks.onWakeup = [this] { polling_.reset(); };
    hooks.afterReplayedPass = [this] { traceReplay_.waitWhilePaused(); };
    connection_.setHooks(hooks);
    link_.setReplayListHandler([this](int entry) { chooseFunctionEntry(entry); });
}

void Session::runPass() {
    const int code = int(navigation_.function());
    if (code != lastTracedFunction_) {
        if (link_.tracing()) link_.traceLine(QStringLiteral("F%1").arg(code));
        lastTracedFunction_ = code;
    }
    traceChoices();
    if (link_.replaying()) traceReplay_.beforePass();
    const quint64 sent = link_.commandsSent();
    // The pass works on its own copy; a selection made meanwhile waits for the next pass.
    runFunction(navigation_.function());
    if (link_.replaying())
        traceReplay_.afterPass();
    else if (link_.tracing() && link_.commandsSent() != sent) // a pass that exchanged nothing leaves no line
        link_.traceLine(TraceReplay::passEndLine(QDateTime::currentDateTime()));
}

void Session::traceChoices() {
    if (!link_.tracing() || link_.replaying() || !link_.trace().isOpenForWriting()) return;
    const QString line = live_.choicesLine();
    if (line == lastTracedChoices_) return;
    link_.traceLine(line);
    lastTracedChoices_ = line;
}

PassContext Session::passContext(Function function) {
    return PassContext(
        link_, settings_, link_.clock(), link_.replaying(),
        [this, function] { return navigation_.function() == function; }, &polling_);
}

void Session::runFunction(Function function) {
    PassContext pass = passContext(function);
    // Each function's panel comes to the front, then the pass runs unless a stop is requested.
    const auto onPanel = [&](Panel panel) {
        showPanel(panel);
        return !link_.stopRequested();
    };
    const int code = int(function);
    // Live values come from the selected controller alone; everything else hears them all.
    if (function == Function::LiveData || function == Function::Graphs || function == Function::EngineSpeed ||
        function == Function::VehicleSpeed)
        polling_.useSelectedController();
    else if (function != Function::KeepAlive && function != Function::Idle && function != Function::None)
        polling_.useFunctionalAddress();
    switch (function) {
    case Function::Detection:
        if (link_.stopRequested()) return;
        vehicleInfo_.clear();
        if (detection_.run()) {
            failedDetections_ = 0;
            readVinForGeneralInfo(pass);
            chooseFunctionEntry(0);
        } else if (++failedDetections_ >= kDetectionAttempts && !link_.replaying()) {
            // A car that answers, but not so that its functions can be read, ends the
            // connection with the reason instead of waking the link again and again.
            connection_.fail(ConnectionError::VehicleNotUnderstood,
                             vehicleNotUnderstoodMessage(detection_.lastAnswer()));
        }
        return;
    case Function::GeneralInfo:
        showPanel(Panel::GeneralInfo);
        vehicle_.readGeneralInfo(pass);
        return;
    case Function::FuelSystems:
        showPanel(Panel::FuelSystems);
        vehicle_.readFuelSystems(pass);
        return;
    case Function::EngineSpeed:
        showPanel(Panel::EngineSpeed);
        instruments_.readEngineSpeed(pass);
        return;
    case Function::VehicleSpeed:
        showPanel(Panel::VehicleSpeed);
        instruments_.readVehicleSpeed(pass);
        return;
    case Function::OxygenSensors:
        showPanel(Panel::OxygenSensors);
        vehicle_.readOxygenSensors(pass);
        return;
    case Function::PowerTakeOff:
        showPanel(Panel::Parameter);
        vehicle_.readPowerTakeOff(pass);
        return;
    case Function::PidsSupported:
        showPanel(Panel::Parameter);
        vehicle_.readSupportBytes(pass);
        return;
    case Function::Graphs:
        if (onPanel(Panel::Graphs)) live_.readGraphs(pass);
        return;
    case Function::LiveData:
        if (onPanel(Panel::LiveData)) live_.readRows(pass);
        return;
    case Function::FreezeFrame:
        if (!onPanel(Panel::FreezeFrame)) return;
        codes_.readFreezeFrame(pass);
        navigation_.setFunction(Function::Idle);
        return;
    case Function::TroubleCodes:
        if (!onPanel(Panel::TroubleCodes)) return;
        codes_.readCodes(pass);
        if (navigation_.function() == Function::TroubleCodes) navigation_.setFunction(Function::Idle);
        return;
    case Function::Erase:
        if (codes_.erase(pass)) navigation_.setFunction(Function::TroubleCodes);
        return;
    case Function::VehicleInformation:
        if (!onPanel(Panel::VehicleInformation)) return;
        vehicleInfo_.readVehicleInfo(pass);
        showVin();
        if (navigation_.function() == function) navigation_.setFunction(Function::Idle);
        return;
    case Function::TestResults:
        if (!onPanel(Panel::TestResults)) return;
        vehicleInfo_.readTestResults(pass);
        if (navigation_.function() == function) navigation_.setFunction(Function::Idle);
        return;
    case Function::KeepAlive:
    case Function::Idle:
        keepAlive();
        return;
    case Function::None:
        return;
    }
    if (isParameterFunction(code)) {
        showPanel(Panel::Parameter);
        vehicle_.readParameter(pass, code);
    }
}

void Session::readVinForGeneralInfo(PassContext& pass) {
    for (const ListEntry& entry : navigation_.functions()) {
        if (entry.code != int(Function::VehicleInformation)) continue;
        vehicleInfo_.readVehicleInfo(pass);
        showVin();
    }
}

void Session::showVin() {
    const VehicleInfoPanel& info = vehicleInfo_.infoPanel();
    vehicle_.setVin(info.vinController >= 0 ? vinSummary(info.vin) : QString());
}

// The link is kept awake; the reply is not examined, but an empty one marks the link lost.
void Session::keepAlive() {
    if (link_.stopRequested()) return;
    link_.request(QStringLiteral("0100"));
}

void Session::showPanel(Panel panel) {
    if (navigation_.panel() == panel) return;
    if (panel != Panel::LiveData) live_.closeGauges();
    navigation_.setPanel(panel);
}

void Session::chooseFunctionEntry(int index) {
    if (navigation_.setFunctionIndex(index)) functionEntryClicked();
}

void Session::functionEntryClicked() {
    if (link_.replaying()) return;
    const int index = navigation_.functionIndex();
    if (index >= 0 && index < navigation_.functions().size())
        navigation_.setFunction(Function(navigation_.functions().at(index).code));
    if (link_.stopRequested() && navigation_.panel() != Panel::Setup) runPass();
}

void Session::functionItem(int index) {
    const QList<ListEntry>& entries = navigation_.functions();
    const auto codeAt = [&](int i) { return i >= 0 && i < entries.size() ? entries.at(i).code : -1; };
    // Items 5 to 7 need their function at their place in the list; RPM and Speed may
    // also stand one place higher (a car without oxygen sensors).
    int position = index;
    if (index < 0 || index > 7) return;
    if (entries.isEmpty()) {
        emit notice(QStringLiteral("Connect to a car first: its functions are read when it answers."));
        return;
    }
    if (index == 5) {
        if (codeAt(5) != int(Function::OxygenSensors)) {
            emit notice(QStringLiteral("O2 Sens: this car reports no oxygen-sensor readings."));
            return;
        }
    } else if (index == 6 || index == 7) {
        const int required = int(index == 6 ? Function::EngineSpeed : Function::VehicleSpeed);
        if (codeAt(index) != required) {
            if (codeAt(index - 1) != required) {
                emit notice(index == 6 ? QStringLiteral("RPM: this car does not report the engine speed.")
                                       : QStringLiteral("Speed: this car does not report the vehicle speed."));
                return;
            }
            position = index - 1;
        }
    }
    if (position == navigation_.functionIndex())
        functionEntryClicked();
    else
        chooseFunctionEntry(position);
}

void Session::showAbout() {
    if (connection_.panel().connectEnabled) showPanel(Panel::Connection);
    host().message(aboutText(*this), QStringLiteral("About ZELCOR"), MessageIcon::Information);
}

void Session::chooseController(int index) {
    if (detection_.chooseController(index)) navigation_.setFunction(Function::Detection);
}

void Session::openSetup() {
    connection_.setSetupOpen(true);
    navigation_.setSetupOpen(true);
    showPanel(Panel::Setup);
    loadSettings(settings_, programFolder());
    setupForm_ = setupFromSettings(settings_);
    setupForm_.device = loadDeviceChoice(programFolder());
    setupForm_.fastPolling = loadFastPolling(programFolder());
    emit setupChanged();
}

void Session::saveSetup() {
    if (const QString problem = setupFormProblem(setupForm_); !problem.isEmpty()) {
        host().message(problem + QStringLiteral("\r\nThe settings were not saved."), QStringLiteral("Setup"),
                       MessageIcon::Exclamation);
        return;
    }
    settingsFromSetup(setupForm_, settings_);
    QString error;
    if (!saveSettings(settings_, programFolder(), &error) ||
        !saveFastPolling(programFolder(), setupForm_.fastPolling, &error))
        host().message(QStringLiteral("The settings could not be saved:\r\n") + error, QStringLiteral("Error"),
                       MessageIcon::Exclamation);
    if (setupForm_.device != loadDeviceChoice(programFolder())) {
        if (!saveDeviceChoice(programFolder(), setupForm_.device, &error))
            host().message(QStringLiteral("The chosen adapter could not be saved:\r\n") + error,
                           QStringLiteral("Error"), MessageIcon::Exclamation);
        link_.port().chooseDevice(setupForm_.device);
    }
    polling_.setEnabled(setupForm_.fastPolling);
    closeSetup();
}

void Session::closeSetup() {
    connection_.setSetupOpen(false);
    navigation_.setSetupOpen(false);
    showPanel(Panel::Connection);
}

void Session::openDebugLog() {
    const auto answer = host().message(QStringLiteral("This is used for technical support purposes.  We may ask you to "
                                                      "email us the log file.  Do you want to continue?"),
                                       QString(), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No);
    if (answer == MessageAnswer::Yes) host().openFile(inFolder(programFolder(), QStringLiteral("log.txt")));
}

void Session::openHelp() {
    host().openUrl(helpUrl());
}

void Session::chooseRecording() {
    OpenDialogRequest request;
    request.defaultExtension = QStringLiteral("log");
    request.filter = QStringLiteral("Logs (*.log)");
    request.folder = programFolder();
    const QString path = host().openFileName(request);
    if (!path.isEmpty()) emit recordingChosen(path);
}

void Session::askToErase() {
    codes_.holdButtonsForErase();
    clock().waitUntil(1.0, [this] { return navigation_.function() == Function::Idle; });
    codes_.askToConfirmErase();
}

void Session::confirmErase() {
    navigation_.setFunction(Function::Erase);
    codes_.showErasing();
}

void Session::cancelErase() {
    navigation_.setFunction(Function::TroubleCodes);
    codes_.cancelErase();
}

void Session::armAccelerationTest() {
    instruments_.arm(settings_.milesPerHour);
}

} // namespace zelcor
