#pragma once
// Fast polling of service 01 parameters: after detection the live, graph and instrument
// passes talk to the selected controller alone (its own request header and a receive
// filter on CAN), end each request with the number of replies expected so the adapter
// answers at once, ask up to six PIDs in one request on CAN and let the adapter shorten
// its waits, writes the replies without blanks and, on CAN, without headers. What the adapter can do is tried once per
// connection on a request whose answer is known; whatever fails falls back to the plain way. The trace log gets a "Q"
// line for each choice, and a replay takes its choices from those lines.

#include "link/link.h"
#include "link/passbound.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace zelcor {

// What the adapter was found to do on this connection.
struct PollingAbilities {
    bool ownHeader = false;     // requests go to the selected controller alone
    bool responseCount = false; // a count after the request ends the wait
    int pidsPerRequest = 1;     // service 01 PIDs in one request
    bool adaptiveTiming = false;
    bool shortTimeout = false;
    bool compactReplies = false; // replies without blanks (ATS0)
    bool headersOff = false;     // the selected controller's replies without headers (ATH0)
};

class FastPolling {
public:
    explicit FastPolling(Link& link) : link_(link) {}

    bool enabled() const { return enabled_; }
    // Off: every request as the plain passes make it, and the header never moves.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // A new connection or a reset adapter: nothing is known, the header is the functional one.
    void reset();
    // While a trace is replayed: never tries the adapter, and asks as the recorded session
    // did ("Q" lines); plain requests until the trace says otherwise.
    void setFollowsRecording(bool follows) { followsRecording_ = follows; }

    // Before a pass that must hear every controller (detection, codes, erase, freeze
    // frame...): the functional header and an open receive filter again.
    void useFunctionalAddress();
    // Before a live, graph or instrument pass: the selected controller's header, the
    // adapter's abilities tried first when this connection has not tried them yet.
    void useSelectedController();

    // Fast requests are in use (while a trace is replayed: the recorded session used them).
    bool active() const { return followsRecording_ ? replayed_ : enabled_ && probed_; }
    const PollingAbilities& abilities() const { return abilities_; }
    int pidsPerRequest() const { return active() ? abilities_.pidsPerRequest : 1; }
    // `pids` shared out among requests of at most pidsPerRequest() each: the fewest CAN
    // frames (while a trace is replayed: as the recorded session shared them out).
    QList<QList<int>> groups(const QList<int>& pids) const;
    // The request for `pids` (at most pidsPerRequest()), with the response count when it works.
    QString command(const QList<int>& pids) const;
    // One request for `pids`; a reply per PID, in that order (an empty one for each PID the
    // answer lacks).
    QList<Reply> request(const QList<int>& pids);

    // Before requests on other headers (manufacturer parameters): headers on again, for the
    // rest of the connection, and the selected controller's header set again at the next
    // useSelectedController().
    void lendAdapter();

    // A "Q" trace line met while replaying: the choices the recorded session made.
    void applyTraceLine(const QString& line);

    // The shortest pass the line allows, from the requests made here. The connection sets
    // the line rate it runs at (a faster one after a switch).
    PassBound& passBound() { return bound_; }
    const PassBound& passBound() const { return bound_; }
    // Without an own header: the number of answers that ends the next request for `pid`,
    // learned from the last one (0: none known, the adapter waits out its time).
    int learnedCount(int pid) const { return replies_.value(pid, 0); }

private:
    bool adapterSays(const QString& command);
    void probe();
    bool moveHeader();
    void sendFunctionalHeader();
    bool heardOnOwnHeader();
    void restoreTimeout();
    void traceChoices(const QString& what);
    void learnCount(int pid, bool counted);
    bool hideHeaders(const Reply& known, const QList<int>& pair, const QList<QByteArray>& pairData);
    void showHeaders();

    QString header() const;
    QString filter() const;

    Link& link_;
    bool enabled_ = true;
    bool probed_ = false; // this connection tried the adapter
    bool followsRecording_ = false;
    bool replayed_ = false;          // the replayed trace chose fast polling
    bool replayPacks_ = false;       // the replayed trace shared PIDs out for the fewest frames
    bool lent_ = false;              // requests on other headers were made: headers stay on
    mutable QList<int> groupedPids_; // the last PIDs shared out, at most so many a request,
    mutable int groupedMost_ = 0;    // and how: a pass asks the same
    mutable QList<QList<int>> groups_;
    PollingAbilities abilities_;
    QString headerFor_;       // the controller the header names; empty: functional
    bool tuned_ = false;      // the adapter's waits are shortened (ATAT2, ATST) now
    QHash<int, int> replies_; // without an own header: how many controllers answered each PID
    QSet<QString> heard_;     // controllers that answered on their own header
    PassBound bound_;
};

} // namespace zelcor
