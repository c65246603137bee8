#include "link/fastpolling.h"

#include "base/numbers.h"
#include "link/parameterreplies.h"
#include "link/pidgroups.h"

#include <QRegularExpression>
#include <QSet>

namespace zelcor {

namespace {

constexpr int kMostPids = 6;
// Twice the 50 ms the standard gives a controller to answer, in the adapter's 4.096 ms
// steps; and the adapter's own default.
const QString kShortTimeout = QStringLiteral("ATST19");
const QString kDefaultTimeout = QStringLiteral("ATST32");

bool saysNoData(const QString& text) {
    return adapterErrorIn(text) == QLatin1String("NO DATA");
}

// How many controllers sent a sound answer for `pid` in the last reply.
int answeringControllers(const Link& link, int pid) {
    QSet<int> senders;
    for (const QString& line : link.lastReplyLines()) {
        const Reply reply = parseReply(normaliseLine(line, link.headerLayout()), QString(), link.headerLayout());
        if (reply.isSound() && reply.service == 0x41 && reply.parameter == pid) senders.insert(reply.controller);
    }
    return int(senders.size());
}

} // namespace

void FastPolling::reset() {
    probed_ = false;
    replayed_ = false;
    abilities_ = PollingAbilities{};
    headerFor_.clear();
    tuned_ = false;
    replies_.clear();
    heard_.clear();
    bound_.reset();
    replayPacks_ = false;
    lent_ = false;
    link_.setHeaderlessController(QString());
}

bool FastPolling::adapterSays(const QString& command) {
    link_.send(command);
    return link_.takeReceived().contains(QLatin1String("OK"));
}

QString FastPolling::header() const {
    const QString selected = link_.selectedController();
    if (link_.headerLayout() == HeaderLayout::Can29) return QStringLiteral("DA") + selected + QStringLiteral("F1");
    return QStringLiteral("7") + hexByte(int(hexNumber(selected)) - 8).right(2);
}

QString FastPolling::filter() const {
    const QString selected = link_.selectedController();
    if (link_.headerLayout() == HeaderLayout::Can29) return QStringLiteral("18DAF1") + selected;
    return QStringLiteral("7") + selected;
}

// Sends the selected controller's header and filter; back to the functional ones when
// the adapter refuses either.
bool FastPolling::moveHeader() {
    const QString selected = link_.selectedController();
    const HeaderLayout layout = link_.headerLayout();
    if (layout == HeaderLayout::Legacy || selected.size() != 2 || !isHexText(selected)) return false;
    const int address = int(hexNumber(selected));
    if (layout == HeaderLayout::Can11 && (address < 0xE8 || address > 0xEF)) return false;
    if (adapterSays(QStringLiteral("ATSH") + header()) && adapterSays(QStringLiteral("ATCRA") + filter())) return true;
    sendFunctionalHeader();
    return false;
}

void FastPolling::sendFunctionalHeader() {
    adapterSays(link_.headerLayout() == HeaderLayout::Can29 ? QStringLiteral("ATSHDB33F1") : QStringLiteral("ATSH7DF"));
    adapterSays(QStringLiteral("ATCRA"));
}

// The header just moved: the selected controller answers PID 00 on it (some answer only the
// functional header), else the functional header again. Asked once per controller.
bool FastPolling::heardOnOwnHeader() {
    const QString selected = link_.selectedController();
    if (heard_.contains(selected)) return true;
    const bool lost = link_.linkLost();
    const bool answered = link_.request(QStringLiteral("0100")).answers(0x01, 0x00);
    link_.setLinkLost(lost);
    if (!answered) {
        sendFunctionalHeader();
        return false;
    }
    heard_.insert(selected);
    return true;
}

void FastPolling::probe() {
    probed_ = true;
    abilities_ = PollingAbilities{};
    const QString selected = link_.selectedController();
    const bool lost = link_.linkLost();
    {
        TracePause pause(link_);
        abilities_.ownHeader = moveHeader();
        // PID 00 answers the same every time: each ability must give back the same answer.
        Reply known = link_.request(QStringLiteral("0100"));
        if (abilities_.ownHeader && !known.answers(0x01, 0x00)) {
            // The controller answers the functional header only.
            sendFunctionalHeader();
            abilities_.ownHeader = false;
            known = link_.request(QStringLiteral("0100"));
        }
        if (abilities_.ownHeader) {
            headerFor_ = selected;
            heard_.insert(selected);
        }
        QList<int> pair;            // two PIDs in one request, when that works
        QList<QByteArray> pairData; // and their answers
        if (known.answers(0x01, 0x00)) {
            const int answering = abilities_.ownHeader ? 1 : answeringControllers(link_, 0x00);
            // A count the adapter got wrong on an earlier connection is not tried again.
            if (answering > 0 && answering < 16 && !link_.adapter().refuses(AdapterCommand::ResponseCount)) {
                const Reply counted = link_.request(QStringLiteral("0100") + QString::number(answering, 16).toUpper());
                abilities_.responseCount = counted.answers(0x01, 0x00) && counted.data == known.data;
                link_.adapter().note(AdapterCommand::ResponseCount, abilities_.responseCount);
            }
            if (abilities_.ownHeader) {
                // PID 20 when the controller has it, else the monitor status.
                const int second = known.data.size() >= 4 && (quint8(known.data[3]) & 0x01) ? 0x20 : 0x01;
                const Reply single = link_.request(QStringLiteral("01") + hexByte(second));
                link_.send(QStringLiteral("0100") + hexByte(second) +
                           (abilities_.responseCount ? QStringLiteral("1") : QString()));
                const QList<Reply> both =
                    splitParameterReplies(link_.receiveText(), selected, link_.headerLayout(), {0x00, second});
                if (single.answers(0x01, second) && both[0].answers(0x01, 0x00) && both[0].data == known.data &&
                    both[1].answers(0x01, second) && both[1].data == single.data) {
                    abilities_.pidsPerRequest = kMostPids;
                    pair = {0x00, second};
                    pairData = {known.data, single.data};
                }
            }
            // Replies without blanks: a third fewer characters on the line. Every reader
            // takes both forms, so an adapter that keeps its blanks all the same does no harm.
            abilities_.compactReplies = adapterSays(QStringLiteral("ATS0"));
            if (abilities_.ownHeader) abilities_.headersOff = hideHeaders(known, pair, pairData);
            abilities_.adaptiveTiming = adapterSays(QStringLiteral("ATAT2"));
            abilities_.shortTimeout = adapterSays(kShortTimeout);
            tuned_ = true;
        }
    }
    link_.setLinkLost(lost);
    traceChoices(QString());
}

// With the receive filter on the selected controller its header says nothing new: without
// it each frame is three to five characters shorter. Kept only when the answers read the
// same as with headers, in both forms (a single frame, and frames numbered after a length).
bool FastPolling::hideHeaders(const Reply& known, const QList<int>& pair, const QList<QByteArray>& pairData) {
    if (!adapterSays(QStringLiteral("ATH0"))) return false;
    const QString selected = link_.selectedController();
    link_.setHeaderlessController(selected);
    const QString count = abilities_.responseCount ? QStringLiteral("1") : QString();
    const Reply again = link_.request(QStringLiteral("0100") + count);
    bool same = again.answers(0x01, 0x00) && again.data == known.data;
    if (same && !pair.isEmpty()) {
        link_.send(QStringLiteral("01") + hexByte(pair[0]) + hexByte(pair[1]) + count);
        const QList<Reply> both = splitParameterReplies(link_.receiveText(), selected, link_.headerLayout(), pair);
        same = both[0].answers(0x01, pair[0]) && both[0].data == pairData[0] && both[1].answers(0x01, pair[1]) &&
               both[1].data == pairData[1];
    }
    if (!same) showHeaders();
    return same;
}

void FastPolling::showHeaders() {
    if (link_.headerlessController().isEmpty()) return;
    adapterSays(QStringLiteral("ATH1"));
    link_.setHeaderlessController(QString());
}

void FastPolling::traceChoices(const QString& what) {
    if (!link_.tracing()) return;
    const PollingAbilities& a = abilities_;
    QString line = QStringLiteral("Q pids=%1 count=%2 header=%3 at=%4 st=%5 s=%6 h=%7 g=1")
                       .arg(a.pidsPerRequest)
                       .arg(int(a.responseCount))
                       .arg(headerFor_.isEmpty() ? QStringLiteral("functional") : header())
                       .arg(tuned_ && a.adaptiveTiming ? 2 : 1)
                       .arg(tuned_ && a.shortTimeout ? kShortTimeout.mid(4) : kDefaultTimeout.mid(4))
                       .arg(a.compactReplies ? 0 : 1)
                       .arg(link_.headerlessController().isEmpty() ? 1 : 0);
    if (!what.isEmpty()) line += QStringLiteral(" (") + what + QLatin1Char(')');
    link_.traceLine(line);
}

void FastPolling::useFunctionalAddress() {
    // (Also when fast polling was switched off since: the adapter must not stay on one controller.)
    if (followsRecording_) link_.setHeaderlessController(QString());
    if (headerFor_.isEmpty() && !tuned_) return;
    {
        TracePause pause(link_);
        showHeaders();
        if (!headerFor_.isEmpty()) sendFunctionalHeader();
        // A slow controller may answer a request to all of them late: the adapter's own waits.
        if (tuned_ && abilities_.adaptiveTiming) adapterSays(QStringLiteral("ATAT1"));
        if (tuned_ && abilities_.shortTimeout) adapterSays(kDefaultTimeout);
    }
    headerFor_.clear();
    tuned_ = false;
    traceChoices(QStringLiteral("every controller"));
}

void FastPolling::useSelectedController() {
    if (!enabled_) {
        useFunctionalAddress(); // switched off while the header was moved: plain requests again
        return;
    }
    // A replay's choices come from its "Q" lines: the trace holds no answers to a probe.
    if (followsRecording_ || link_.stopRequested()) return;
    if (!probed_) {
        probe();
        return;
    }
    const QString selected = link_.selectedController();
    const bool move = abilities_.ownHeader && headerFor_ != selected;
    const bool tune = !tuned_ && (abilities_.adaptiveTiming || abilities_.shortTimeout);
    const bool hide = abilities_.headersOff && !lent_ && link_.headerlessController() != selected;
    if (!move && !tune && !hide) return;
    {
        TracePause pause(link_);
        if (move) showHeaders(); // the next controller is heard with its header first
        if (move && moveHeader() && heardOnOwnHeader()) {
            headerFor_ = selected;
        } else if (move) {
            abilities_.ownHeader = false;
            abilities_.pidsPerRequest = 1;
            abilities_.headersOff = false;
        }
        if (tune && abilities_.adaptiveTiming) abilities_.adaptiveTiming = adapterSays(QStringLiteral("ATAT2"));
        if (tune && abilities_.shortTimeout) abilities_.shortTimeout = adapterSays(kShortTimeout);
        tuned_ = true;
        if (abilities_.headersOff && !lent_ && headerFor_ == selected && link_.headerlessController() != selected) {
            if (adapterSays(QStringLiteral("ATH0")))
                link_.setHeaderlessController(selected);
            else
                abilities_.headersOff = false;
        }
    }
    traceChoices(QStringLiteral("controller ") + link_.selectedController());
}

void FastPolling::restoreTimeout() {
    {
        TracePause pause(link_);
        adapterSays(kDefaultTimeout);
    }
    abilities_.shortTimeout = false;
    traceChoices(QStringLiteral("NO DATA: the adapter's own time-out again"));
}

void FastPolling::lendAdapter() {
    lent_ = true;
    if (followsRecording_) {
        link_.setHeaderlessController(QString());
        return;
    }
    if (headerFor_.isEmpty() && link_.headerlessController().isEmpty()) return;
    {
        TracePause pause(link_);
        showHeaders();
    }
    headerFor_.clear(); // the other requests move the header
    traceChoices(QStringLiteral("other headers"));
}

QList<QList<int>> FastPolling::groups(const QList<int>& pids) const {
    const int most = pidsPerRequest();
    if (!followsRecording_ || replayPacks_) {
        if (pids != groupedPids_ || most != groupedMost_) {
            groupedPids_ = pids;
            groupedMost_ = most;
            groups_ = fewestFrameGroups(pids, most);
        }
        return groups_;
    }
    QList<QList<int>> groups; // as listed, as traces from before the fewest frames were made
    for (qsizetype at = 0; at < pids.size(); at += most)
        groups.append(pids.mid(at, most));
    return groups;
}

QString FastPolling::command(const QList<int>& pids) const {
    QString command = QStringLiteral("01");
    for (const int pid : pids)
        command += hexByte(pid);
    if (!active() || !abilities_.responseCount || pids.isEmpty()) return command;
    const int expected = abilities_.ownHeader ? 1 : pids.size() == 1 ? replies_.value(pids.first()) : 0;
    if (expected > 0 && expected < 16) command += QString::number(expected, 16).toUpper();
    return command;
}

QList<Reply> FastPolling::request(const QList<int>& pids) {
    const QString sent = command(pids);
    const double start = link_.clock().now();
    link_.send(sent);
    QList<Reply> replies;
    QString text;
    if (pids.size() == 1) {
        replies.append(link_.receive());
        text = link_.lastReplyLines().join(QLatin1Char('\r'));
        if (!abilities_.ownHeader) learnCount(pids.first(), sent.size() % 2 == 1);
    } else {
        text = link_.receiveText();
        replies = splitParameterReplies(text, link_.selectedController(), link_.headerLayout(), pids);
        // Not one of the PIDs answered (NO DATA, the adapter's words, nothing): the car
        // stopped answering, as a single PID without an answer says.
        bool anyAnswer = false;
        for (qsizetype k = 0; k < pids.size() && !anyAnswer; ++k)
            anyAnswer = replies.value(k).answers(0x01, pids.at(k));
        if (!anyAnswer) link_.setLinkLost(true);
    }
    // The bound follows the line: a faster rate for the session, or back after a reset.
    if (const int rate = link_.adapter().lineRate; rate > 0 && rate != bound_.lineRate()) bound_.setLineRate(rate);
    bound_.noteRequest(sent, link_.lastReplyCharacters(), link_.clock().now() - start);
    if (abilities_.shortTimeout && saysNoData(text)) restoreTimeout();
    return replies;
}

// Without an own header the adapter learns how many controllers answer each PID from an
// answer it waited out; a counted request that heard fewer drops the count again (one of
// them went quiet), so the next request waits and counts afresh.
void FastPolling::learnCount(int pid, bool counted) {
    const int answering = answeringControllers(link_, pid);
    if (!counted) {
        if (answering > 0) replies_[pid] = answering;
    } else if (answering < replies_.value(pid)) {
        replies_.remove(pid);
    }
}

void FastPolling::applyTraceLine(const QString& line) {
    static const QRegularExpression pids(QStringLiteral("\\bpids=(\\d+)"));
    static const QRegularExpression headers(QStringLiteral("\\bh=([01])\\b"));
    static const QRegularExpression packs(QStringLiteral("\\bg=1\\b"));
    const QRegularExpressionMatch m = pids.match(line);
    if (!m.hasMatch()) return;
    replayed_ = true;
    abilities_.pidsPerRequest = std::clamp(m.captured(1).toInt(), 1, kMostPids);
    replayPacks_ = packs.match(line).hasMatch();
    const QRegularExpressionMatch h = headers.match(line);
    const bool hidden = h.hasMatch() && h.captured(1) == QLatin1String("0");
    link_.setHeaderlessController(hidden ? link_.selectedController() : QString());
}

} // namespace zelcor
