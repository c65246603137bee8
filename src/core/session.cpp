#include "core/session.h"

#include "base/numbers.h"
#include "base/programfolder.h"
#include "core/listentry.h"
#include "link/helptexts.h"

namespace zelcor {

Session::Session(Clock& clock_, Port& port_, Host& host_, const QString& programFolder_)
    : Link(clock_, port_, host_, programFolder_), connection(*this, caption()) {
    connection.hooks.onStart = [this] {
        funccode = 0;
        lastPanelChoices_.clear(); // every connection's trace states the choices again
        FRAME(Panel::Frame1);
        clearFunctionList();
    };
    connection.hooks.runPass = [this] { COMMS(); };
    connection.hooks.closegauges = [this] { closegauges(); };
    connection.hooks.playChecked = [this] { return traceControls.play; };
    connection.hooks.stepChecked = [this] { return traceControls.step; };
    connection.hooks.uncheckPlayAndStep = [this] {
        traceControls.endStep();
        emit traceReplayChanged();
    };
    onReplayListLine = [this](int entry) { setList4Index(entry); };
    connect(&connection, &Connection::panelChanged, this, &Session::buttonsChanged);
}

void Session::FRAME(Panel panel) {
    if (frame == panel)
        return;
    frame = panel;
    if (panel != Panel::D250)
        closegauges();
    emit frameChanged();
}

void Session::closegauges() {
    for (LiveRow& row : liveRows)
        row.showGauge = false;
    emit gaugesClosed();
}

void Session::clearFunctionList() {
    List4.clear();
    List4Index = -1;
    emit functionListChanged();
}

void Session::addFunction(const QString& entry) {
    List4.append(entry);
    emit functionListChanged();
}

void Session::setList4Index(int index) {
    if (index < 0 || index >= List4.size())
        return;
    const bool changed = index != List4Index;
    List4Index = index;
    if (changed) {
        emit functionListChanged();
        List4_Click();
    }
}

void Session::List4_Click() {
    if (replaying)
        return;
    if (List4Index >= 0 && List4Index < List4.size())
        funccode = qint16(entryCode(List4.at(List4Index)));
    if (stopflag && !setupShown())
        COMMS();
}

void Session::m_Click(int index) {
    int position = index;
    auto codeAt = [this](int i) { return i >= 0 && i < List4.size() ? entryCode(List4.at(i)) : -1; };
    if (index == 5) {
        if (codeAt(5) != 19)
            return;
    } else if (index == 6 || index == 7) {
        const int required = index == 6 ? 12 : 13;
        if (codeAt(index) != required) {
            if (index >= 2 && codeAt(index - 1) == required)
                position = index - 1;
            else
                return;
        }
    } else if (index < 0 || index > 7) {
        return;
    }
    if (position == List4Index)
        List4_Click();
    else
        setList4Index(position);
}

void Session::aboutmenu_Click() {
    if (connection.panel.connectEnabled)
        FRAME(Panel::Frame1);
}

void Session::Command3_Click() {
    connection.errorbox(QString());
    connection.panel.connectEnabled = false;
    connection.panel.setupEnabled = false;
    buttons.disconnectEnabled = false;
    buttons.replayEnabled = false;
    buttons.statusLabelEnabled = false;
    emit buttonsChanged();
    EDITCONFIG();
}

void Session::EDITCONFIG() {
    FRAME(Panel::Frame2);
    LOADCONFIG(settings, programFolder);
    setup = setupFromSettings(settings);
    emit setupChanged();
}

void Session::Command8_Click() {
    settingsFromSetup(setup, settings);
    QString error;
    if (!SAVECONFIG(settings, programFolder, &error))
        host.message(QStringLiteral("The settings could not be saved:\r\n") + error, QStringLiteral("Error"),
                     MessageIcon::Exclamation);
    Command9_Click();
}

void Session::Command9_Click() {
    connection.panel.connectEnabled = true;
    connection.panel.setupEnabled = true;
    buttons.disconnectEnabled = true;
    buttons.replayEnabled = true;
    buttons.statusLabelEnabled = true;
    emit buttonsChanged();
    FRAME(Panel::Frame1);
}

void Session::Command19_Click() {
    const auto answer = host.message(QStringLiteral("This is used for technical support purposes.  We may ask you to "
                                                    "email us the log file.  Do you want to continue?"),
                                     QString(), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No);
    if (answer == MessageAnswer::Yes)
        host.openFile(inFolder(programFolder, QStringLiteral("log.txt")));
}

void Session::Command20_Click() { host.openUrl(helpUrl()); }

void Session::COMMS() {
    if (funccode != lastfunc) {
        if (settings.recording)
            logline(QStringLiteral("F%1").arg(funccode));
        lastfunc = funccode;
    }
    writePanelChoices();
    if (replaying)
        replayNextFunction();
    // The pass works on its own copy; a selection made meanwhile waits for the next pass.
    const int code = funccode;
    runFunction(code);
    if (replaying)
        replayTail();
    else
        tracePassEnd();
}

void Session::runFunction(int code) {
    if (code == 240) {
        graphPass();
    } else if (code > 240) {
        switch (code - 248) {
        case 0: freezeFramePass(); break;
        case 1: keepAlive(); break;
        case 2: livePass(); break;
        case 5: erasePass(); break;
        case 6: codesPass(); break;
        case 7: keepAlive(); break;
        default: break;
        }
    } else if (code == 0) {
        detect();
    } else if (code == 1) {
        generalInfoPass();
    } else if (code == 3) {
        fuelSystemPass();
    } else if ((code >= 4 && code <= 11) || (code >= 14 && code <= 18)) {
        textPass(code);
    } else if (code == 12) {
        rpmPass();
    } else if (code == 13) {
        speedPass();
    } else if (code == 19) {
        oxygenPass();
    } else if (code == 30) {
        ptoPass();
    } else if (code == 32) {
        pidsSupportedPass();
    }
}

bool Session::replyMatches(const QString& reply, const QString& head) const { return reply.mid(4, 6) == ecuaddr + head; }

bool Session::exchangeOn(Panel panel, const QString& command, QString& reply) {
    FRAME(panel);
    if (stopflag)
        return false;
    send(command);
    if (stopflag)
        return false;
    reply = receive();
    return true;
}

void Session::keepAlive() {
    if (stopflag)
        return;
    send(QStringLiteral("0100"));
    receive();
}

} // namespace zelcor
