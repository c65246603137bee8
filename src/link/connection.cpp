#include "link/connection.h"

#include "base/datetime.h"
#include "config/adaptermemory.h"
#include "config/baudrates.h"
#include "link/adapterprobe.h"
#include "link/helptexts.h"
#include "link/linerate.h"
#include "link/protocolnumber.h"
#include "link/reply.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <set>

namespace zelcor {

namespace {
const QString kNotFound = QStringLiteral("ZELCOR Tesselar interface not found.");
const QLatin1String kAdapterName("ELM327");
// How long the wakeup waits for an adapter that says it is searching for the car's protocol.
constexpr double kLongestSearch = 15.0;
// The protocol an interrupted search starts from next: most cars of today talk it, so the
// search ends before an adapter that sleeps when idle dozes off again.
const QString kQuickSearch = QStringLiteral("ATSPA6");
// Connections the adapter interrupts by falling asleep, woken again at once, before the
// usual pause between attempts returns.
constexpr int kImmediateWakeups = 3;
// The rate an adapter comes at from the factory.
constexpr int kUsualRate = 38400;
// The pauses while waiting for a car or an adapter to come back: growing from the first
// to at most a second, so that values come back within two seconds of the car; after a
// few minutes of waiting, to a longer pause that leaves a parked car's battery alone.
constexpr double kFirstWaitPause = 0.25;
constexpr double kWaitPause = 1.0;
constexpr double kLongWaitPause = 10.0;
constexpr double kPatientWait = 180.0;

// What an adapter says as it falls asleep (idle, or the car's battery low).
bool fellAsleep(const QString& text) {
    return text.contains(QLatin1String("LV RESET")) || text.contains(QLatin1String("ACT ALERT")) ||
           text.contains(QLatin1String("LP ALERT"));
}

// Bytes around a banner that no adapter prints: binary noise, a Bluetooth module's own words.
bool strayBytesIn(const QString& answer) {
    for (const QChar c : answer)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\r') && c != QLatin1Char('\n')) || c.unicode() >= 0x7F)
            return true;
    return answer.contains(QLatin1String("+CONNECTING"));
}
} // namespace

Connection::Connection(Link& link, QString windowCaption) : link_(link), windowCaption_(std::move(windowCaption)) {
    // The status says so while the error box is still open.
    connect(&link_, &Link::deviceLost, this, [this] {
        if (running_) setPhase(ConnectionPhase::Lost, adapterGoneText());
    });
}

QString Connection::adapterGoneText() const {
    const QString& device = link_.openDevice();
    return device.isEmpty() ? QStringLiteral("the adapter went away")
                            : QStringLiteral("the adapter at %1 went away").arg(device);
}

QString Connection::stamp() const {
    return dateTimeText(QDateTime::currentDateTime());
}

void Connection::setLamp(Lamp lamp) {
    panel_.lamp = lamp;
    emit panelChanged();
}

void Connection::setPhase(ConnectionPhase phase, const QString& detail) {
    if (panel_.phase == phase && panel_.phaseDetail == detail) return;
    panel_.phase = phase;
    panel_.phaseDetail = detail;
    emit panelChanged();
}

void Connection::markConnected() {
    detected_ = true;
    link_.setDeviceMayReturn(waitsForReturn_ && !link_.trace().held());
    setPhase(ConnectionPhase::Connected);
}

void Connection::setEndPhase() {
    if (lastError_ == ConnectionError::None) {
        setPhase(ConnectionPhase::NotConnected);
        return;
    }
    QString cause = failureCause_;
    if (lastError_ == ConnectionError::DeviceRemoved) {
        setPhase(ConnectionPhase::Lost, adapterGoneText());
        return;
    }
    if (cause.isEmpty()) cause = errorStatusText(int(lastError_)).simplified();
    setPhase(ConnectionPhase::Failed, cause);
}

void Connection::setStatus(const QString& text, bool error) {
    panel_.status = text;
    panel_.statusError = error;
    emit panelChanged();
}

void Connection::setButtonsEnabled(bool enabled) {
    panel_.connectEnabled = enabled;
    panel_.setupEnabled = enabled;
    panel_.exitEnabled = enabled;
    panel_.traceReplayEnabled = enabled;
    emit panelChanged();
}

void Connection::setSetupOpen(bool open) {
    panel_.connectEnabled = !open;
    panel_.setupEnabled = !open;
    emit panelChanged();
}

void Connection::showErrorBox(const QString& message) {
    if (message.isEmpty()) return;
    link_.host().message(message, message.section(QLatin1Char('\r'), 0, 0), MessageIcon::Exclamation);
}

void Connection::requestDisconnect() {
    link_.requestStop();
}

void Connection::fail(ConnectionError error, const QString& message) {
    link_.host().message(message, QStringLiteral("Error"), MessageIcon::Critical);
    link_.requestStop();
    lastError_ = error;
    setStatus(errorStatusText(int(error)), true);
}

QString Connection::protocolCommand(int initMode) {
    switch (initMode) {
    case 0:
    case 1:
        return QStringLiteral("ATSPA3");
    case -1:
        return QStringLiteral("ATSPA0");
    case -2:
        return QStringLiteral("ATSPA1");
    case -3:
        return QStringLiteral("ATSP0");
    case -99:
        return QStringLiteral("ATSP2");
    default:
        return QStringLiteral("ATSPA") + QString::number(initMode);
    }
}

void Connection::sendProtocolCommand() {
    const QString configured = protocolCommand(link_.settings().initMode);
    const bool automatic = configured.startsWith(QLatin1String("ATSPA"));
    // Waiting for a car that was found, the adapter asks on its protocol alone: a silent car
    // is then a quick NO DATA, not a search of every protocol.
    if (const int known = waiting_ && automatic && hooks_.carProtocol ? protocolNumber(hooks_.carProtocol()) : 0) {
        link_.send(QStringLiteral("ATSP") + QString::number(known));
        return;
    }
    // Only an automatic search is started elsewhere: a fixed protocol stays.
    link_.send(searchCutBySleep_ && automatic ? kQuickSearch : configured);
}

// Why port `number` is not the adapter: it could not be opened, or what it answered.
QString Connection::portFailure(int number, bool opened, const QString& answer) const {
    if (!opened) return link_.port().errorDescription();
    const QString device = link_.port().devicePath(number);
    QString said = answer.simplified();
    said.remove(QLatin1Char('>'));
    said = said.trimmed();
    if (said.isEmpty())
        return QStringLiteral("nothing answered on %1: no ELM327 adapter there, or it is switched off").arg(device);
    return QStringLiteral("the device on %1 answered, but it is not an ELM327 adapter (it said \"%2\")")
        .arg(device, quotable(said));
}

int Connection::findAdapter() {
    Port& port = link_.port();
    Clock& clock = link_.clock();
    // A device chosen by name is port 1 and is tried first.
    const int startPort = port.chosenDevice().isEmpty() ? link_.settings().startPort : 1;
    int number = startPort;
    int found = 0;
    QString report;
    QString firstCause; // why the first port tried that has a device behind it is not the adapter
    int firstCausePort = 0;
    std::set<int> tried;
    failureCause_.clear();
    for (;;) {
        tried.insert(number);
        if (port.isOpen()) port.close();
        const QString device = port.devicePath(number);
        const QList<int> rates = baudRatesToTry(link_.programFolder(), device);
        port.setBaudRate(rates.first());
        const bool opened = port.open(number);
        if (!firstCausePort && !port.devicePath(number).isEmpty()) {
            firstCausePort = number;
            firstCause = portFailure(number, opened, QString());
        }
        if (opened) {
            QString answer;
            auto ask = [&] {
                link_.takeReceived();
                link_.writeRaw(QStringLiteral("ATWS\r\nATWS\r\n"));
                clock.waitUntil(0.5, [this] { return link_.received().contains(kAdapterName); });
                answer = link_.takeReceived();
                if (answer.contains(kAdapterName)) found = number;
            };
            for (int attempt = 0; attempt < 2 && !found; ++attempt)
                ask();
            // A serial adapter silent at its first rate may be set to another one.
            const bool rated = port.setBaudRate(rates.first());
            int baud = rates.first();
            for (qsizetype i = 1; rated && i < rates.size() && !found && !clock.waitsAbandoned(); ++i) {
                const QString earlier = answer;
                if (!port.setBaudRate(rates.at(i))) break;
                baud = rates.at(i);
                ask();
                if (!found) answer = earlier; // what the port said at its first rate explains it best
            }
            if (found && rated) rememberBaudRate(link_.programFolder(), device, baud);
            if (!found && rated) port.setBaudRate(rates.first());
            if (found) {
                // The adapter's own words, "ELM327 v1.5", from the line that says them.
                for (const QString& line : answer.split(QRegularExpression(QStringLiteral("[\r\n>]+"))))
                    if (line.contains(kAdapterName)) adapterIdentity_ = quotable(line.trimmed());
                foundAdapter(device, rated ? baud : 0, answer);
            }
            if (found) break;
            if (firstCausePort == number) firstCause = portFailure(number, true, answer);
            report += QStringLiteral("COM%1: ").arg(number) + answer + QStringLiteral("\r\n");
        } else if (port.errorNumber() == int(PortError::InvalidPort) ||
                   port.errorNumber() == int(PortError::PortOpen)) {
            report += QStringLiteral("COM%1: ").arg(number) + port.errorDescription() + QStringLiteral("\r\n");
        }
        if (link_.settings().noPortSearch || clock.waitsAbandoned()) break;
        number = (number >= 16 || number < 1) ? 1 : number + 1;
        // Each port once; a configured port outside 1..16 ends the search after 1..16.
        if (number == startPort || tried.count(number)) break;
    }
    if (!found) {
        if (!firstCause.isEmpty())
            failureCause_ = firstCause;
        else if (link_.settings().noPortSearch)
            failureCause_ =
                QStringLiteral("port %1 has no device, and the automatic port search is disabled").arg(startPort);
        else
            failureCause_ = QStringLiteral("no serial device was found: is the adapter plugged in?");
        link_.openTrace();
        link_.traceLine(QStringLiteral("GD0:") + report);
        link_.closeTrace();
    }
    return found;
}

void Connection::foundAdapter(const QString& device, int baud, const QString& answer) {
    AdapterReport& adapter = link_.adapter();
    adapter = AdapterReport{};
    adapter.device = device;
    // What the adapter's banner line holds once the stray bytes on it are left out.
    static const QRegularExpression banner(QStringLiteral("ELM327[ -~]*"));
    adapter.banner = banner.match(adapterIdentity_).captured(0).trimmed();
    adapter.baseRate = adapter.lineRate = baud;
    // What the banner says until the probe asks the chip itself.
    static const QRegularExpression version(QStringLiteral("\\bv\\d+\\.\\d+\\w*"));
    adapter.chip = AdapterChip::Elm327;
    adapter.firmware = version.match(adapter.banner).captured(0);
    if (strayBytesIn(answer)) adapter.addQuirk(QStringLiteral("stray bytes around the banner"));
    if (baud > 0 && baud != kUsualRate) adapter.addQuirk(QStringLiteral("answers at %1 baud").arg(baud));
    probed_ = false;
}

bool Connection::confirmAdapter() {
    for (int attempt = 0; attempt < 6; ++attempt) {
        link_.takeReceived();
        {
            TracePause pause(link_);
            link_.send(QStringLiteral("ATWS\rATWS"));
        }
        link_.clock().waitUntil(0.5, [this] { return link_.received().contains(kAdapterName); });
        if (link_.takeReceived().contains(kAdapterName)) return true;
        if (link_.clock().waitsAbandoned()) break;
    }
    return false;
}

bool Connection::wakeup() {
    Clock& clock = link_.clock();
    link_.openTrace();

    bool reset = false;
    for (int attempt = 0; attempt < 6 && !reset; ++attempt) {
        link_.takeReceived();
        if (waiting_) {
            // An adapter that sleeps is asked twice a second, each ask heard out to its
            // prompt, not to the command's whole time-out.
            link_.writeRaw(QStringLiteral("ATWS\r"));
            clock.waitUntil(0.5, [this] {
                return (link_.received().contains(kAdapterName) && link_.received().contains(QLatin1Char('>'))) ||
                       link_.stopRequested();
            });
        } else {
            TracePause pause(link_);
            link_.send(QStringLiteral("ATWS"));
        }
        if (!waiting_)
            clock.waitUntil(0.5, [this] { return link_.received().contains(kAdapterName) || link_.stopRequested(); });
        reset = link_.takeReceived().contains(kAdapterName);
        if (clock.waitsAbandoned() || (waiting_ && link_.stopRequested())) return false;
        // An adapter that slept or was reset is back at its own rate.
        if (!reset && attempt == 1) lineRateForgotten(link_);
    }
    adapterAnswered_ = reset;
    // An adapter that does not answer is asked again after a pause, not the car in its place.
    if (waiting_ && !reset) return false;

    if (reset) {
        TracePause pause(link_);
        auto okWait = [this, &clock] {
            clock.waitUntil(0.1, [this] { return link_.received().contains(QLatin1String("OK")); });
        };
        bool acknowledged = false;
        for (int attempt = 0; attempt < 6; ++attempt) {
            link_.takeReceived();
            link_.send(QStringLiteral("ATE0"));
            okWait();
            link_.send(QStringLiteral("ATL0"));
            okWait();
            sendProtocolCommand();
            okWait();
            link_.send(QStringLiteral("ATH1"));
            okWait();
            acknowledged = link_.takeReceived().contains(QLatin1String("OK"));
            if (acknowledged || clock.waitsAbandoned()) break;
        }
        if (!acknowledged) link_.adapter().addQuirk(QStringLiteral("settings answered without OK"));
    }

    if (link_.port().isOpen()) link_.port().readAll();
    link_.discardReceived();
    link_.setPollerEnabled(true);

    link_.send(QStringLiteral("0100"));
    auto answered = [this] {
        const QString& received = link_.received();
        // While waiting, the adapter's prompt ends the wait too: NO DATA is the car's answer.
        return received.contains(QLatin1String("41 00")) || received.contains(QLatin1String("4100")) ||
               fellAsleep(received) || link_.stopRequested() || (waiting_ && received.contains(QLatin1Char('>')));
    };
    clock.waitUntil(7.0, answered);
    // An adapter still searching the protocols has not given up: it ends the search with
    // an answer or its prompt.
    auto searching = [this] {
        const qsizetype at = link_.received().lastIndexOf(QLatin1String("SEARCHING..."));
        return at >= 0 && link_.received().indexOf(QLatin1Char('>'), at) < 0;
    };
    if (!answered() && searching()) clock.waitUntil(kLongestSearch - 7.0, [&] { return answered() || !searching(); });
    // Half a second for what else comes (not while waiting: the car's answer is what counts);
    // the adapter is probed in it once the car answered.
    const double settled = clock.now() + (waiting_ ? 0.0 : 0.5);
    QString answer = probeWhileSettling(reset);
    clock.wait(std::max(0.0, settled - clock.now()));

    answer += link_.takeReceived();
    wakeupAnswer_ = answer;
    adapterSlept_ = fellAsleep(answer);
    if (adapterSlept_ && answer.contains(QLatin1String("SEARCHING..."))) searchCutBySleep_ = true;
    // Attempts while waiting leave the user's clipboard alone.
    if (!waiting_) link_.host().setClipboardText(answer);
    QString traced = answer;
    traced.remove(QLatin1String("SEARCHING..."));
    link_.traceLine(QStringLiteral("WGI \r\n") + traced);
    return answer.contains(QLatin1String("4100")) || answer.contains(QLatin1String("41 00"));
}

// Once per connection, when the car answered the wakeup: the adapter probe (chip, doubtful
// commands, a faster line); later wakeups only raise the line again after a reset lowered it.
// What came of the wakeup's request before is returned.
QString Connection::probeWhileSettling(bool reset) {
    Clock& clock = link_.clock();
    const bool answered =
        link_.received().contains(QLatin1String("41 00")) || link_.received().contains(QLatin1String("4100"));
    if (!reset || !answered || link_.stopRequested() || clock.waitsAbandoned()) return QString();
    clock.waitUntil(0.5, [this] { return link_.received().contains(QLatin1Char('>')); });
    const QString answer = link_.takeReceived();
    if (!probed_) {
        probed_ = true;
        probeAdapter(link_, fasterRate_);
    } else if (fasterRate_ > link_.adapter().lineRate) {
        switchLineRate(link_, fasterRate_);
    }
    return answer;
}

QString Connection::vehicleSilentCause() const {
    QString said = wakeupAnswer_;
    said.remove(QLatin1String("SEARCHING..."));
    said.remove(QLatin1Char('>'));
    said = said.simplified();
    const QString cause = QStringLiteral("the adapter answered, but the vehicle did not");
    return (said.isEmpty() ? cause : cause + QStringLiteral(" (the adapter said \"%1\")").arg(quotable(said))) +
           QStringLiteral("; is the ignition on?");
}

// The vehicle did not answer: a pause, then another wakeup; the fourth failure ends the
// connection with ERROR NUMBER 1.
void Connection::retryWakeup() {
    Clock& clock = link_.clock();
    setStatus(QStringLiteral("Trying to communicate with vehicle, please wait."));
    {
        TracePause pause(link_);
        link_.send(QStringLiteral("ATWS\rATWS"));
    }
    clock.waitUntil(1.0, [this] { return link_.stopRequested(); });
    setLamp(Lamp::Red);
    ++retries_;
    // Four seconds more after the first one.
    const double start = clock.now();
    while (clock.now() - start <= 4.0 && !link_.stopRequested() && !clock.waitsAbandoned())
        clock.yield();
    link_.takeReceived();
    setStatus(QString());
    link_.closeTrace();
    if (retries_ > 3) {
        failureCause_ = vehicleSilentCause();
        link_.host().message(QStringLiteral("ERROR NUMBER 1.  Trouble trying to communicate with vehicle: ") +
                                 failureCause_ + QStringLiteral("\r\n") + vehicleHelp(),
                             QStringLiteral("Error"), MessageIcon::Critical);
        link_.requestStop();
        lastError_ = ConnectionError::VehicleSilent;
        setStatus(failureCause_ + QStringLiteral("\r\n") + errorStatusText(int(lastError_)), true);
    }
}

bool Connection::askCar(bool& adapterAnswered) {
    link_.takeReceived();
    link_.send(QStringLiteral("0100"));
    link_.clock().waitUntil(1.0, [this] {
        return link_.received().contains(QLatin1Char('>')) || link_.stopRequested() || link_.deviceGone();
    });
    const QString answer = link_.takeReceived();
    adapterAnswered = !answer.trimmed().isEmpty() && !fellAsleep(answer);
    return answer.contains(QLatin1String("4100")) || answer.contains(QLatin1String("41 00"));
}

void Connection::setWaitingPhase(bool adapterAnswered) {
    if (link_.deviceGone()) {
        setPhase(ConnectionPhase::Waiting,
                 QStringLiteral("Waiting for the adapter: %1 went away; plug it in or switch it on again")
                     .arg(link_.openDevice()));
    } else if (adapterAnswered) {
        setPhase(ConnectionPhase::Waiting, QStringLiteral("Waiting for the car: ignition off?"));
    } else {
        setPhase(ConnectionPhase::Waiting, QStringLiteral("Waiting for the adapter: it does not answer (asleep?)"));
    }
    setStatus(panel_.phaseDetail + QStringLiteral("\r\nDISCONNECT stops waiting."));
}

bool Connection::waitForReturn() {
    Clock& clock = link_.clock();
    const double since = clock.now();
    waiting_ = true;
    link_.closeTrace();
    if (hooks_.onGap) hooks_.onGap(true, 0);
    setLamp(Lamp::Yellow);
    // An adapter that lost only the car is asked on; one that went quiet is woken.
    bool adapterAwake = !link_.deviceGone() && !adapterSlept_;
    bool back = false;
    double pause = kFirstWaitPause;
    setPhase(ConnectionPhase::Waiting, QStringLiteral("Waiting for an answer from the car"));
    while (!link_.stopRequested() && !clock.waitsAbandoned()) {
        bool tried = true;
        if (link_.deviceGone() || !link_.port().isOpen()) {
            // A device that came back (or a socket the adapter closed) is opened again.
            link_.port().close();
            tried = link_.port().open(adapterPort_);
            if (tried) link_.clearDeviceGone();
            adapterAwake = false;
        }
        if (tried && adapterAwake) {
            back = askCar(adapterAwake);
        } else if (tried) {
            back = wakeup();
            adapterAwake = adapterAnswered_;
            link_.closeTrace();
            if (back && hooks_.onWakeup) hooks_.onWakeup();
        }
        if (back || link_.stopRequested()) break;
        setWaitingPhase(adapterAwake);
        clock.waitUntil(pause, [this] { return link_.stopRequested(); });
        pause = std::min(2 * pause, clock.now() - since < kPatientWait ? kWaitPause : kLongWaitPause);
    }
    waiting_ = false;
    setStatus(QString());
    if (!back) return false;
    link_.setLinkLost(false);
    setPhase(ConnectionPhase::Connected);
    setLamp(Lamp::Green);
    link_.openTrace();
    if (hooks_.onGap) hooks_.onGap(false, clock.now() - since);
    return true;
}

void Connection::connectionLoop() {
    Clock& clock = link_.clock();
    setStatus(QString());
    link_.openTrace();
    // A Wi-Fi adapter may refuse the second connection: say so now, not after minutes.
    link_.setOpenDevice(link_.port().devicePath(adapterPort_));
    if (!link_.port().open(adapterPort_)) {
        lastError_ = ConnectionError::AdapterNotConfirmed;
        failureCause_ = link_.port().errorDescription();
        setStatus(kNotFound);
        showErrorBox(kNotFound + QStringLiteral("\r\nIts port could not be opened again: ") +
                     link_.port().errorDescription() + helpText_);
        link_.requestStop();
    }
    clock.wait(0.1);
    link_.setLinkLost(true);
    retries_ = 0;
    immediateWakeups_ = 0;
    searchCutBySleep_ = false;

    while (!link_.stopRequested()) {
        clock.yield();
        if (clock.waitsAbandoned()) link_.requestStop();
        if (link_.stopRequested()) break;
        if (!link_.linkLost()) {
            if (hooks_.runPass) hooks_.runPass();
            if (panel_.phase == ConnectionPhase::Connected) panel_.lastAnswerAt = clock.now();
            if (link_.linkLost() && detected_ && waitsForReturn_ && !link_.trace().held() && !link_.stopRequested()) {
                waitForReturn();
            } else if (link_.linkLost()) {
                setPhase(ConnectionPhase::Lost, QStringLiteral("the vehicle stopped answering; waking the link again"));
                setLamp(Lamp::Red);
                link_.closeTrace();
                clock.waitUntil(1.0, [this] { return link_.stopRequested(); });
            }
        } else {
            setPhase(ConnectionPhase::WakingLink);
            setLamp(Lamp::Yellow);
            if (wakeup()) {
                if (hooks_.onWakeup) hooks_.onWakeup();
                link_.setLinkLost(false);
                setPhase(detected_ ? ConnectionPhase::Connected : ConnectionPhase::Detecting);
                setLamp(Lamp::Green);
                link_.openTrace();
            } else if (!link_.stopRequested()) {
                // An adapter that fell asleep is woken again at once: the car may be fine.
                if (adapterSlept_ && ++immediateWakeups_ <= kImmediateWakeups) continue;
                retryWakeup();
            }
        }
    }

    link_.setDeviceMayReturn(false);
    if (link_.port().isOpen()) restoreLineRate(link_);
    {
        TracePause pause(link_);
        if (link_.port().isOpen()) link_.send(QStringLiteral("ATWS"));
    }
    link_.setPollerEnabled(false);
    if (link_.port().errorNumber() == int(PortError::DeviceRemoved)) lastError_ = ConnectionError::DeviceRemoved;
    link_.openTrace();
    link_.traceLine(QStringLiteral("M ") + stamp() + QStringLiteral(" D"));
    if (link_.port().isOpen()) link_.port().close();
    if (hooks_.onEnd) hooks_.onEnd();
}

void Connection::run() {
    if (running_) return;
    running_ = true;
    lastError_ = ConnectionError::None;
    failureCause_.clear();
    link_.resetDeviceRemovedReport();
    if (hooks_.onStart) hooks_.onStart();
    link_.setPollerEnabled(true);
    link_.setSelectedController(QString());
    helpText_ = interfaceNotFoundHelp(link_.settings().noPortSearch);
    fasterRate_ = loadFasterBaudRate(link_.programFolder());
    link_.adapter() = AdapterReport{}; // what the last connection learned is in zelcor.ini
    link_.clearStopRequest();

    setButtonsEnabled(false);
    if (link_.port().isOpen()) link_.port().close();
    panel_.helpVisible = false;
    panel_.lastAnswerAt = -1;
    detected_ = false;
    setPhase(ConnectionPhase::FindingAdapter);
    setStatus(QStringLiteral("Finding ZELCOR interface...\r\n"));

    const int port = findAdapter();
    if (port == 0) {
        link_.host().message(
            QStringLiteral("Can not find ZELCOR interface (%1).  ERROR NUMBER 0\r\n").arg(failureCause_) + helpText_,
            QStringLiteral("Error"), MessageIcon::Critical);
        link_.openTrace();
        link_.traceLine(QStringLiteral("M Can not find ZELCOR interface!  E#0"));
        link_.closeTrace();
        setStatus(failureCause_ + QStringLiteral("\r\n") + errorStatusText(0), true);
        lastError_ = ConnectionError::AdapterNotFound;
        if (link_.port().isOpen()) link_.port().close();
    } else {
        adapterPort_ = port;
        const bool confirmed = confirmAdapter();
        link_.port().close();
        link_.clock().wait(0.2);
        if (!confirmed) {
            lastError_ = ConnectionError::AdapterNotConfirmed;
            failureCause_ = QStringLiteral("the adapter on %1 answered once, then stopped answering")
                                .arg(link_.port().devicePath(port));
            setStatus(kNotFound);
            showErrorBox(kNotFound + helpText_);
        }
        link_.openTrace();
        link_.traceLine(windowCaption_);
        link_.traceLine(QStringLiteral("M ") + stamp() + QStringLiteral(" C"));
        link_.closeTrace();
        if (confirmed) connectionLoop();
    }

    link_.setPollerEnabled(false);
    link_.requestStop();
    rememberAdapterReport(link_);
    setButtonsEnabled(true);
    // HELP GUIDE ONLINE stays hidden once CONNECT was pressed: the panel keeps its place.
    setLamp(Lamp::Black);
    link_.closeTrace();
    running_ = false;
    setEndPhase();
}

} // namespace zelcor
