#include "link/linerate.h"

#include "base/numbers.h"
#include "link/link.h"

#include <QRegularExpression>

namespace zelcor {

namespace {

// ATBRD divides this clock; 8 (500 kbaud) is the smallest divisor the chip takes.
constexpr double kRateClock = 4000000.0;
constexpr int kSmallestDivisor = 8;

enum class Handshake { Refused, Failed, Done };

QString rateCommand(const AdapterReport& adapter, int baud) {
    if (adapter.chip == AdapterChip::Stn) return QStringLiteral("STBR") + QString::number(baud);
    const int divisor = qRound(kRateClock / baud);
    if (divisor < kSmallestDivisor || divisor > 0xFF) return {};
    return QStringLiteral("ATBRD") + hexByte(divisor);
}

bool identitySaid(const QString& text) {
    return text.contains(QLatin1String("ELM327")) || text.contains(QLatin1String("STN"));
}

// The identity and the carriage return that ends its line.
bool identityLineEnded(const QString& text) {
    static const QRegularExpression line(QStringLiteral("(ELM327|STN)[^\r]*\r"));
    return line.match(text).hasMatch();
}

bool promptIn(const Link& link) {
    return link.received().contains(QLatin1Char('>'));
}

// The adapter answers OK at the old rate, switches, says who it is at the new one and
// waits for a carriage return there; without one it goes back to the old rate by itself.
Handshake handshake(Link& link, const QString& command, int from, int to) {
    Clock& clock = link.clock();
    Port& port = link.port();
    link.takeReceived();
    link.writeRaw(command + QStringLiteral("\r"));
    clock.waitUntil(0.5, [&] {
        const QString& said = link.received();
        return said.contains(QLatin1String("OK")) || said.contains(QLatin1Char('?')) || promptIn(link);
    });
    if (!link.received().contains(QLatin1String("OK"))) {
        clock.waitUntil(0.2, [&] { return promptIn(link); });
        link.takeReceived();
        return Handshake::Refused;
    }
    port.setBaudRate(to);
    link.takeReceived();
    clock.waitUntil(0.3, [&] { return identityLineEnded(link.received()); });
    if (identitySaid(link.received())) {
        link.writeRaw(QStringLiteral("\r"));
        clock.waitUntil(0.3, [&] { return promptIn(link); });
        if (link.takeReceived().contains(QLatin1Char('>'))) return Handshake::Done;
    }
    port.setBaudRate(from);
    clock.waitUntil(0.5, [&] { return promptIn(link); });
    link.takeReceived();
    return Handshake::Failed;
}

// The line carries more than the banner: an answer longer than it comes through as text.
bool lineCarries(Link& link) {
    link.send(QStringLiteral("AT@1"));
    const QString said = link.takeReceived();
    if (!said.contains(QLatin1Char('>'))) return false;
    for (const QChar c : said)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\r') && c != QLatin1Char('\n')) || c.unicode() >= 0x7F)
            return false;
    return true;
}

} // namespace

bool switchLineRate(Link& link, int baud) {
    AdapterReport& adapter = link.adapter();
    const int from = adapter.lineRate;
    const QString command = rateCommand(adapter, baud);
    if (from <= 0 || baud <= 0 || baud == from || command.isEmpty() || adapter.refuses(AdapterCommand::RateDivisor) ||
        adapter.failedRates.contains(baud))
        return false;
    TracePause pause(link);
    const Handshake done = handshake(link, command, from, baud);
    if (done == Handshake::Refused) {
        adapter.note(AdapterCommand::RateDivisor, false);
        return false;
    }
    adapter.note(AdapterCommand::RateDivisor, true);
    adapter.lineRate = baud;
    if (done == Handshake::Done && lineCarries(link)) return true;
    adapter.failedRates.append(baud);
    adapter.addQuirk(QStringLiteral("the line fails at %1 baud").arg(baud));
    if (done == Handshake::Done) {
        // The adapter took the rate, the line does not carry it: back the same way, else by
        // the port alone (a reset brings the adapter back to its own rate).
        const QString back = rateCommand(adapter, from);
        if (back.isEmpty() || handshake(link, back, baud, from) != Handshake::Done) link.port().setBaudRate(from);
    }
    adapter.lineRate = from;
    return false;
}

bool restoreLineRate(Link& link) {
    AdapterReport& adapter = link.adapter();
    if (adapter.lineRate <= 0 || adapter.lineRate == adapter.baseRate) return true;
    TracePause pause(link);
    const QString command = rateCommand(adapter, adapter.baseRate);
    const bool back =
        !command.isEmpty() && handshake(link, command, adapter.lineRate, adapter.baseRate) == Handshake::Done;
    if (!back) link.port().setBaudRate(adapter.baseRate);
    // The report keeps the rate the session ran at; the next connection starts a new one.
    return back;
}

void lineRateForgotten(Link& link) {
    AdapterReport& adapter = link.adapter();
    if (adapter.lineRate <= 0 || adapter.lineRate == adapter.baseRate) return;
    link.port().setBaudRate(adapter.baseRate);
    adapter.lineRate = adapter.baseRate;
}

} // namespace zelcor
