#include "core/session.h"

#include "base/programfolder.h"
#include "config/adaptermemory.h"
#include "config/devicechoice.h"
#include "config/pollingchoice.h"
#include "core/connectionstate.h"
#include "core/functiontable.h"
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
      wholeCar_(host, programFolder), parameters_(host, programFolder),
      detection_(link_, navigation_, vehicle_, codes_, live_),
      traceReplay_(link_, connection_,
                   TraceReplayHooks{[this](int code) { navigation_.setFunction(Function(code)); },
                                    [this](const QString& line) { live_.applyChoices(line); },
                                    [this](const QString& line) { polling_.applyTraceLine(line); },
                                    [this](int entry) { chooseFunctionEntry(entry); },
                                    [this](bool running) {
                                        rhythm_ = running ? static_cast<PassRhythm*>(&traceReplay_) : &livePasses_;
                                        polling_.setFollowsRecording(running);
                                    }}),
      livePasses_(link_) {
    polling_.setEnabled(loadFastPolling(programFolder));
    live_.parameters().follow(parameters_);
    ConnectionHooks hooks;
    hooks.onStart = [this] {
        navigation_.setFunction(Function::Detection);
        failedDetections_ = 0;
        lastTracedChoices_.clear(); // every connection's trace states the choices again
        polling_.reset();
        wholeCar_.forget();
        showPanel(Panel::Connection);
        navigation_.clearFunctions();
    };
    hooks.runPass = [this] { runPass(); };
    hooks.onEnd = [this] { live_.closeGauges(); };
    hooks.onWakeup = [this] { polling_.reset(); };
    hooks.onGap = [this](bool gone, double seconds) { live_.dataLog().markGap(gone, seconds); };
    hooks.carProtocol = [this] { return detection_.protocolText(); };
    connection_.setHooks(hooks);
}

void Session::runPass() {
    const int code = int(navigation_.function());
    if (code != lastTracedFunction_) {
        if (link_.tracing()) link_.traceLine(QStringLiteral("F%1").arg(code));
        lastTracedFunction_ = code;
    }
    traceChoices();
    rhythm_->beforePass();
    const quint64 sent = link_.commandsSent();
    // The pass works on its own copy; a selection made meanwhile waits for the next pass.
    runFunction(navigation_.function());
    rhythm_->afterPass(link_.commandsSent() != sent);
}

void Session::traceChoices() {
    if (!link_.tracing() || !link_.trace().isOpenForWriting()) return;
    const QString line = live_.choicesLine();
    if (line == lastTracedChoices_) return;
    link_.traceLine(line);
    lastTracedChoices_ = line;
}

PassContext Session::passContext(Function function) {
    return PassContext(
        link_, settings_, link_.clock(), rhythm_->ownTimes(),
        [this, function] { return navigation_.function() == function; }, &polling_);
}

void Session::runFunction(Function function) {
    const int code = int(function);
    const FunctionRow* row = functionRow(code);
    if (!row) return;
    switch (row->audience) {
    case Audience::SelectedController:
        polling_.useSelectedController();
        break;
    case Audience::AllControllers:
        polling_.useFunctionalAddress();
        break;
    case Audience::Unchanged:
        break;
    }
    // The function's panel comes to the front; some passes then read only while connected.
    if (row->panel) showPanel(*row->panel);
    if (row->readsOnlyWhileConnected && link_.stopRequested()) return;
    PassContext pass = passContext(function);
    row->pass(*this, pass, code);
    if (row->oneShot && navigation_.function() == function) navigation_.setFunction(Function::Idle);
}

void Session::detect(PassContext& pass) {
    if (link_.stopRequested()) return;
    vehicleInfo_.clear();
    if (detection_.run()) {
        failedDetections_ = 0;
        connection_.markConnected();
        readVinForGeneralInfo(pass);
        chooseFunctionEntry(0);
    } else if (++failedDetections_ >= kDetectionAttempts) {
        // A car that answers, but not so that its functions can be read, ends the
        // connection with the reason instead of waking the link again and again.
        connection_.fail(ConnectionError::VehicleNotUnderstood, vehicleNotUnderstoodMessage(detection_.lastAnswer()));
    }
}

void Session::readVehicleInformation(PassContext& pass) {
    vehicleInfo_.readVehicleInfo(pass);
    showVin();
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
    if (!rhythm_->userChoosesFunctions()) return;
    const int index = navigation_.functionIndex();
    if (index >= 0 && index < navigation_.functions().size())
        navigation_.setFunction(Function(navigation_.functions().at(index).code));
    if (link_.stopRequested() && navigation_.panel() != Panel::Setup) runPass();
}

void Session::functionItem(int item) {
    const FunctionRow* row = menuItemRow(item);
    if (!row) return;
    const QList<ListEntry>& entries = navigation_.functions();
    if (entries.isEmpty()) {
        emit notice(QStringLiteral("Connect to a car first: its functions are read when it answers."));
        return;
    }
    for (int position = 0; position < entries.size(); ++position) {
        if (entries.at(position).code != int(row->function)) continue;
        if (position == navigation_.functionIndex())
            functionEntryClicked();
        else
            chooseFunctionEntry(position);
        return;
    }
    if (row->absentNotice) emit notice(QString::fromLatin1(row->absentNotice));
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
    setupForm_.fasterLine = loadFasterBaudRate(programFolder()) > 0;
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
        !saveFastPolling(programFolder(), setupForm_.fastPolling, &error) ||
        !saveFasterLine(programFolder(), setupForm_.fasterLine, &error))
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

void Session::askToClearModules(bool all) {
    wholeCar_.askToClear(all);
}

void Session::confirmClearModules() {
    navigation_.setFunction(Function::ClearModules);
}

void Session::cancelClearModules() {
    wholeCar_.cancelClear();
}

void Session::saveModules() {
    wholeCar_.save(vehicle_.generalInfo().vin);
}

void Session::showParameterDefinitions() {
    if (link_.stopRequested())
        showPanel(Panel::Parameters);
    else
        navigation_.setFunction(Function::ParameterDefinitions);
}

void Session::armAccelerationTest() {
    instruments_.arm(settings_.milesPerHour);
}

} // namespace zelcor
