#pragma once
// The conversation with the adapter: the poller that moves port input into the receive
// buffer, the trace log, and the command exchange through which everything talks to the
// adapter. While a trace is replayed the port is one that answers from the trace.

#include "base/clock.h"
#include "base/host.h"
#include "config/settings.h"
#include "link/capabilities.h"
#include "link/exchange.h"
#include "link/port.h"
#include "link/tracelog.h"

#include <QObject>
#include <QString>

namespace zelcor {

class Link : public QObject, public Exchange {
    Q_OBJECT
public:
    // `settings` outlive the link; their Debug setting decides what the trace log gets.
    Link(Clock& clock, Port& port, Host& host, const Settings& settings, const QString& programFolder);

    Clock& clock() const { return clock_; }
    Port& port() const { return *port_; }
    // The port the link talks through from now on (a trace replay swaps its own in).
    void usePort(Port& port);
    Host& host() const { return host_; }
    const Settings& settings() const { return settings_; }
    const QString& programFolder() const { return programFolder_; }
    TraceLog& trace() { return trace_; }
    const TraceLog& trace() const { return trace_; }

    // --- state of the connection ---
    bool stopRequested() const override { return stopRequested_; }
    void requestStop() { stopRequested_ = true; }
    void clearStopRequest() { stopRequested_ = false; }
    bool linkLost() const override { return linkLost_ || deviceGone_; }
    void setLinkLost(bool lost) override { linkLost_ = lost; }
    // The controller the passes work with: two upper-case hex digits, empty for none.
    const QString& selectedController() const { return selectedController_; }
    void setSelectedController(const QString& address) { selectedController_ = address; }
    HeaderLayout headerLayout() const override { return headerLayout_; }
    void setHeaderLayout(HeaderLayout layout) { headerLayout_ = layout; }
    // The controller whose replies the adapter writes without headers (ATH0, its receive
    // filter on that controller alone); empty while headers are on. receive() and
    // receiveText() write its header in front of each line, so every reader sees the
    // lines as with headers.
    const QString& headerlessController() const { return headerlessController_; }
    void setHeaderlessController(const QString& address) { headerlessController_ = address; }

    // What this connection learned about the adapter; a doubtful command it refused is
    // answered "?" by the link from then on, without reaching the adapter.
    AdapterReport& adapter() { return adapter_; }
    const AdapterReport& adapter() const { return adapter_; }

    // --- the poller ---
    void setPollerEnabled(bool enabled);
    bool pollerEnabled() const { return pollerEnabled_; }
    // One poller tick: appends waiting input to the receive buffer; a removed device ends
    // the connection.
    void poll();
    // A new connection may report a removed device again.
    void resetDeviceRemovedReport() { removalReported_ = false; }
    // While set, a device that goes away ends nothing: the link is lost, and the connection
    // waits for the device to come back.
    void setDeviceMayReturn(bool mayReturn) { deviceMayReturn_ = mayReturn; }
    bool deviceGone() const { return deviceGone_; }
    void clearDeviceGone() { deviceGone_ = false; }
    // The device the connection opened (path or Wi-Fi address), named when it goes away.
    void setOpenDevice(const QString& device) { openDevice_ = device; }
    const QString& openDevice() const { return openDevice_; }
    // Received characters not taken yet (at most kReceiveLimit: an adapter that sends more
    // before they are taken has the lot dropped).
    const QString& received() const { return received_; }
    static constexpr qsizetype kReceiveLimit = 64 * 1024;
    // Empties the receive buffer.
    void discardReceived() { received_.clear(); }
    // The time since the last reception at the last receive, as shown ("time after rcv").
    const QString& timeAfterReceive() const { return timeAfterReceive_; }

    // --- the trace log (not written while a replay holds it) ---
    void openTrace() { trace_.openForAppending(); }
    void closeTrace() { trace_.close(); }
    void traceLine(const QString& text) { trace_.writeLine(text); }
    // Debug is on, and neither a pause nor a replay holds the trace lines back.
    bool tracing() const { return settings_.debugTrace && tracePauses_ == 0 && !trace_.held(); }

    // --- the exchange ---
    // Commands sent since the link was made (a pass that sent none exchanged nothing).
    quint64 commandsSent() const { return commandsSent_; }
    void send(const QString& command) override;
    Reply receive() override;
    // The reply to the last command as received: one line per controller and frame,
    // separated by CR (blanks, LF and the prompt removed). Traced as receive() traces it;
    // an empty reply means the link is lost.
    QString receiveText();
    // The lines of the last receive(), one per controller and frame.
    const QStringList& lastReplyLines() const { return lastReplyLines_; }
    QString receiveAll(double wait = 1.0) override;
    // The last reply to a parameter request ("01XX", "02XX00") when the selected controller
    // answered it soundly, but about another service or parameter: the command, the lines
    // heard and why. Empty when that reply was any other.
    struct Mismatch {
        QString command, heard, why;
    };
    const Mismatch& lastMismatch() const { return lastMismatch_; }
    // Takes everything received so far.
    QString takeReceived();
    // takeReceived for a reply the passes work with: while Debug is on it is also traced as
    // an "R" line, so that a replay gets exactly this text back. An echo of the command
    // before it (an adapter whose echo stays on) is left out.
    QString takeReply();
    // The characters of the last reply taken, as they came (blanks, line ends and prompt).
    qsizetype lastReplyCharacters() const { return lastReplyCharacters_; }
    // Writes straight to the port, without a trace line or a prompt wait.
    void writeRaw(const QString& text);

    // An "R" line carries a reply with its line ends and backslashes escaped; the support
    // tag "RM" is not one.
    static QString replyLine(const QString& reply);
    static QString replyFromLine(const QString& line);

signals:
    void timeAfterReceiveChanged();
    // The adapter's device went away; said before its error box shows.
    void deviceLost();

private:
    friend class TracePause;
    // What the last command asks for: the service and PID of "01XX" (a response count
    // digit after it allowed) and "02XX00", and
    // how many data bytes a sound answer holds.
    struct Expectation {
        int service = -1;
        int pid = -1;
        int bytes = 0;
    };
    static Expectation expectationOf(const QString& command);
    // The reply checked against the command it answers: too few data bytes make it
    // damaged; a reply that is damaged or answers something else is traced with the reason.
    void checkAnswer(Reply& reply);
    void deviceRemoved();
    // What the adapter's answer to a doubtful command says it can do.
    void noteAnswer(AdapterCommand command);
    // An answer cut short by BUFFER FULL: asked once more without blanks, which shortens it.
    void askAgainWithoutSpaces(const QString& command);
    void waitForPrompt();
    // `reply` without a leading echo of the last command.
    QString withoutEcho(const QString& reply) const;
    void noteReceiveTime();
    // A reply's lines (blanks and LF removed) with the headers a headerless reply lacks.
    QString withControllerHeaders(const QString& lines) const;

    Clock& clock_;
    Port* port_;
    Host& host_;
    const Settings& settings_;
    const QString programFolder_;
    TraceLog trace_;

    bool stopRequested_ = true; // no connection runs, or the connection must end
    bool linkLost_ = false;
    QString selectedController_;
    QString headerlessController_;
    HeaderLayout headerLayout_ = HeaderLayout::Legacy;
    QString received_;
    bool overflowed_ = false; // input was dropped since the last command
    double lastReceiveTime_ = 0;
    QString timeAfterReceive_;
    int tracePauses_ = 0;
    Expectation expected_;
    QStringList lastReplyLines_;
    QString lastCommand_;
    Mismatch lastMismatch_;
    quint64 commandsSent_ = 0;
    qsizetype lastReplyCharacters_ = 0;
    bool pollerEnabled_ = false;
    bool removalReported_ = false;
    bool deviceMayReturn_ = false;
    bool deviceGone_ = false;
    QString openDevice_;
    AdapterReport adapter_;
};

// A trace line that holds a reply for replay.
bool isReplyLine(const QString& line);

// Holds the Debug trace lines back for its lifetime (adapter set-up commands).
class TracePause {
public:
    explicit TracePause(Link& link) : link_(link) { ++link_.tracePauses_; }
    ~TracePause() { --link_.tracePauses_; }
    TracePause(const TracePause&) = delete;
    TracePause& operator=(const TracePause&) = delete;

private:
    Link& link_;
};

} // namespace zelcor
