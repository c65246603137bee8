#include "link/connection.h"

#include "base/datetime.h"
#include "link/helptexts.h"

#include <QDateTime>
#include <set>

namespace zelcor {

namespace {
const QString kNotFound = QStringLiteral("ZELCOR Tesselar interface not found.");
}

Connection::Connection(Link& link_, QString windowCaption) : link(link_), windowCaption_(std::move(windowCaption)) {}

QString Connection::stamp() const { return dateTimeText(QDateTime::currentDateTime()); }

void Connection::setLamp(Lamp lamp) {
    panel.lamp = lamp;
    emit panelChanged();
}

void Connection::setStatus(const QString& text, bool error) {
    panel.status = text;
    panel.statusError = error;
    emit panelChanged();
}

void Connection::setButtonsEnabled(bool enabled) {
    panel.connectEnabled = enabled;
    panel.setupEnabled = enabled;
    panel.exitEnabled = enabled;
    panel.traceReplayEnabled = enabled;
    emit panelChanged();
}

void Connection::errorbox(const QString& msg) {
    if (msg.isEmpty())
        return;
    link.host.message(msg, msg.section(QLatin1Char('\r'), 0, 0), MessageIcon::Exclamation);
}

void Connection::DISCONNECT() {
    errorbox(QString());
    link.stopflag = true;
}

QString Connection::protocolCommand(int initmode) {
    switch (initmode) {
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
        return QStringLiteral("ATSPA") + QString::number(initmode);
    }
}

void Connection::ATSPA() { link.send(protocolCommand(link.settings.initmode)); }

int Connection::findinterface() {
    const int comport = link.settings.comport;
    int port = comport;
    int found = 0;
    QString report;
    std::set<int> tried;
    for (;;) {
        tried.insert(port);
        if (link.port.isOpen())
            link.port.close();
        if (link.port.open(port)) {
            QString answer;
            for (int attempt = 0; attempt < 2 && !found; ++attempt) {
                link.readbuf();
                link.writeRaw(QStringLiteral("ATWS\r\nATWS\r\n"));
                link.clock.waitUntil(0.5, [this] { return link.rxbuf.contains(QLatin1String("ELM327")); });
                answer = link.readbuf();
                if (answer.contains(QLatin1String("ELM327")))
                    found = port;
            }
            if (found)
                break;
            report += QStringLiteral("COM%1: ").arg(port) + answer + QStringLiteral("\r\n");
        } else if (link.port.errorNumber() == PortErrorInvalidPort || link.port.errorNumber() == PortErrorPortOpen) {
            report += QStringLiteral("COM%1: ").arg(port) + link.port.errorDescription() + QStringLiteral("\r\n");
        }
        if (link.settings.noportsearch || link.clock.waitsAbandoned())
            break;
        port = (port >= 16 || port < 1) ? 1 : port + 1;
        // Each port once; a configured port outside 1..16 ends the search after 1..16.
        if (port == comport || tried.count(port))
            break;
    }
    if (!found) {
        link.openlog();
        link.logline(QStringLiteral("GD0:") + report);
        link.closelog();
    }
    return found;
}

bool Connection::confirmAdapter() {
    for (int attempt = 0; attempt < 6; ++attempt) {
        link.readbuf();
        {
            RecordingPause pause(link);
            link.send(QStringLiteral("ATWS\rATWS"));
        }
        link.clock.waitUntil(0.5, [this] { return link.rxbuf.contains(QLatin1String("ELM327")); });
        if (link.readbuf().contains(QLatin1String("ELM327")))
            return true;
        if (link.clock.waitsAbandoned())
            break;
    }
    return false;
}

bool Connection::wakeup() {
    link.openlog();
    if (link.replaying)
        return true;

    bool reset = false;
    for (int attempt = 0; attempt < 6 && !reset; ++attempt) {
        link.readbuf();
        {
            RecordingPause pause(link);
            link.send(QStringLiteral("ATWS"));
        }
        link.clock.waitUntil(0.5, [this] { return link.rxbuf.contains(QLatin1String("ELM327")); });
        reset = link.readbuf().contains(QLatin1String("ELM327"));
        if (link.clock.waitsAbandoned())
            return false;
    }

    if (reset) {
        RecordingPause pause(link);
        auto okWait = [this] {
            link.clock.waitUntil(0.1, [this] { return link.rxbuf.contains(QLatin1String("OK")); });
        };
        for (int attempt = 0; attempt < 6; ++attempt) {
            link.readbuf();
            link.send(QStringLiteral("ATE0"));
            okWait();
            link.send(QStringLiteral("ATL0"));
            okWait();
            ATSPA();
            okWait();
            link.send(QStringLiteral("ATH1"));
            okWait();
            if (link.readbuf().contains(QLatin1String("OK")) || link.clock.waitsAbandoned())
                break;
        }
    }

    if (link.port.isOpen())
        link.port.readAll();
    link.rxbuf.clear();
    link.setPollerEnabled(true);

    link.send(QStringLiteral("0100"));
    link.clock.waitUntil(7.0, [this] {
        return link.rxbuf.contains(QLatin1String("41 00")) || link.rxbuf.contains(QLatin1String("4100")) ||
               link.stopflag;
    });
    link.clock.wait(0.5);

    const QString answer = link.readbuf();
    link.host.setClipboardText(answer);
    QString traced = answer;
    traced.remove(QLatin1String("SEARCHING..."));
    link.logline(QStringLiteral("WGI \r\n") + traced);
    return answer.contains(QLatin1String("4100")) || answer.contains(QLatin1String("41 00"));
}

void Connection::connectionLoop() {
    setStatus(QString());
    link.openlog();
    if (!link.replaying) {
        link.port.open(adapterPort_);
        link.clock.wait(0.1);
    }
    link.needinit = true;
    retrycount = 0;

    while (!link.stopflag) {
        link.clock.yield();
        if (link.clock.waitsAbandoned())
            link.stopflag = true;
        if (link.stopflag)
            break;
        if (!link.needinit) {
            if (hooks.runPass)
                hooks.runPass();
            if (link.needinit) {
                setLamp(Lamp::Red);
                link.closelog();
                link.clock.waitUntil(1.0, [this] { return link.stopflag; });
            }
        } else {
            setLamp(Lamp::Yellow);
            if (wakeup()) {
                link.needinit = false;
                setLamp(Lamp::Green);
                link.openlog();
            } else if (!link.stopflag) {
                setStatus(QStringLiteral("Trying to communicate with vehicle, please wait."));
                {
                    RecordingPause pause(link);
                    link.send(QStringLiteral("ATWS\rATWS"));
                }
                const double start = link.clock.now();
                link.clock.waitUntil(1.0, [this] { return link.stopflag; });
                setLamp(Lamp::Red);
                ++retrycount;
                while (link.clock.now() - start <= 4.0 && !link.stopflag && !link.clock.waitsAbandoned())
                    link.clock.yield();
                link.readbuf();
                setStatus(QString());
                link.closelog();
                if (retrycount > 3) {
                    link.host.message(QStringLiteral("ERROR NUMBER 1.  Trouble trying to communicate with vehicle\r\n") +
                                          vehicleHelp(),
                                      QStringLiteral("Error"), MessageIcon::Critical);
                    link.stopflag = true;
                    lastError = 1;
                    setStatus(errorStatusText(1), true);
                }
            }
        }
        if (link.replaying) {
            if (link.trace.logeof())
                link.stopflag = true;
            while (hooks.playChecked && !hooks.playChecked() && !link.stopflag && !link.clock.waitsAbandoned())
                link.clock.yield();
            if (hooks.stepChecked && hooks.stepChecked() && hooks.uncheckPlayAndStep)
                hooks.uncheckPlayAndStep();
        }
    }

    {
        RecordingPause pause(link);
        if (link.port.isOpen() && !link.replaying)
            link.send(QStringLiteral("ATWS"));
    }
    link.setPollerEnabled(false);
    if (link.port.errorNumber() == PortErrorDeviceRemoved && !link.replaying)
        lastError = PortErrorDeviceRemoved;
    link.openlog();
    link.logline(QStringLiteral("M ") + stamp() + QStringLiteral(" D"));
    if (!link.replaying && link.port.isOpen())
        link.port.close();
    if (hooks.closegauges)
        hooks.closegauges();
}

void Connection::CONNECT() {
    if (running_)
        return;
    running_ = true;
    lastError = -1;
    link.resetDeviceRemovedReport();
    if (hooks.onStart)
        hooks.onStart();
    link.setPollerEnabled(true);
    link.ecuaddr.clear();
    helptext_ = interfaceNotFoundHelp(link.settings.noportsearch);
    link.stopflag = false;

    setButtonsEnabled(false);
    if (link.port.isOpen())
        link.port.close();
    panel.helpVisible = false;
    setStatus(QStringLiteral("Finding ZELCOR interface...\r\n"));

    const int port = link.replaying ? -1 : findinterface();
    bool confirmed = link.replaying;
    if (port == 0) {
        link.host.message(QStringLiteral("Can not find ZELCOR interface.  ERROR NUMBER 0\r\n") + helptext_,
                          QStringLiteral("Error"), MessageIcon::Critical);
        link.openlog();
        link.logline(QStringLiteral("M Can not find ZELCOR interface!  E#0"));
        link.closelog();
        setStatus(errorStatusText(0), true);
        lastError = 0;
        if (link.port.isOpen())
            link.port.close();
    } else {
        if (!link.replaying) {
            adapterPort_ = port;
            confirmed = confirmAdapter();
            link.port.close();
            link.clock.wait(0.2);
            if (!confirmed) {
                lastError = 2;
                setStatus(kNotFound);
                errorbox(kNotFound + helptext_);
            }
        }
        link.openlog();
        link.logline(windowCaption_);
        link.logline(QStringLiteral("M ") + stamp() + QStringLiteral(" C"));
        link.closelog();
        if (confirmed)
            connectionLoop();
    }

    link.setPollerEnabled(false);
    link.stopflag = true;
    setButtonsEnabled(true);
    panel.helpVisible = true;
    setLamp(Lamp::Black);
    link.closelog();
    running_ = false;
}

} // namespace zelcor
