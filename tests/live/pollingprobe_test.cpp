// Trying the adapter before fast polling, on scripted adapters that each lack one
// ability: what is kept, what falls back, and the header the adapter is left with.

#include "sessionrig.h"
#include "testmain.h"

#include <QTest>

using namespace zelcor;
using namespace zelcor::test;

namespace {

// An adapter on an 11-bit CAN car with an engine (7E8) and a gearbox (7E9); `lacks` names
// what it cannot do.
struct ScriptedAdapter {
    QString lacks;
    bool physical = false;    // the header names one controller
    bool gearbox = false;     // ... the gearbox
    QStringList speedAnswers; // for each request of PID 0D in turn: the controllers that answer ("E8 E9")
    int speedRequests = 0;

    QByteArray answer(const QByteArray& line) {
        const auto refused = [&](const char* what) { return lacks == QLatin1String(what); };
        if (line == "ATSH7E0") {
            if (refused("header")) return "?\r\r>";
            physical = true;
            gearbox = false;
            return "OK\r\r>";
        }
        if (line == "ATSH7E1") physical = gearbox = true;
        if (line == "ATSH7DF") physical = gearbox = false;
        if (line.startsWith("ATSH") || line.startsWith("ATCRA")) return "OK\r\r>";
        if (line == "ATAT2") return refused("adaptive timing") ? "?\r\r>" : "OK\r\r>";
        if (line == "ATST19") return refused("short time-out") ? "?\r\r>" : "OK\r\r>";
        if (line.startsWith("AT")) return "OK\r\r>";
        if (refused("PID 00") || (physical && refused("own header")) || (gearbox && refused("gearbox own header")))
            return "NO DATA\r\r>";
        QByteArray request = line;
        if (request.size() % 2 == 1) {
            if (refused("response count")) return "?\r\r>";
            request.chop(1);
        }
        const QByteArray engine = "7E8 06 41 00 BE 3F A8 13\r";
        const QByteArray gearboxLine = "7E9 06 41 00 80 00 00 00\r";
        if (request == "0100") return (gearbox ? gearboxLine : engine + (physical ? "" : gearboxLine)) + "\r>";
        if (request == "010D") {
            QByteArray lines;
            for (const QString& sender : speedAnswers.value(speedRequests++).split(' ', Qt::SkipEmptyParts))
                lines += "7" + sender.toLatin1() + " 03 41 0D 32\r";
            return lines.isEmpty() ? "NO DATA\r\r>" : lines + "\r>";
        }
        if (request == "0120") return "7E8 06 41 20 A0 01 80 01\r\r>";
        if (request == "010020") {
            if (refused("several PIDs")) return "?\r\r>";
            if (refused("all but the first PID")) return engine + "\r>";
            return "7E8 10 0B 41 00 BE 3F A8 13\r7E8 21 20 A0 01 80 01 00 00\r\r>";
        }
        return "NO DATA\r\r>";
    }
};

} // namespace

class PollingProbeTest : public QObject {
    Q_OBJECT
private slots:
    void fallsBackPerAbility_data() {
        QTest::addColumn<QString>("lacks");
        QTest::addColumn<QString>("choose"); // the controller the user picks after the probe
        QTest::addColumn<QString>("kept");   // the abilities kept, as abilities() says them
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("request"); // the request for PID 0C afterwards
        const auto row = [](const char* name, const char* lacks, const char* kept, const char* header,
                            const char* request, const char* choose = "") {
            QTest::newRow(name) << QString::fromLatin1(lacks) << QString::fromLatin1(choose)
                                << QString::fromLatin1(kept) << QString::fromLatin1(header)
                                << QString::fromLatin1(request);
        };
        row("nothing", "", "own count pids=6 at st", "ATSH7E0", "010C1");
        row("own header refused", "header", "count pids=1 at st", "ATSH7DF", "010C");
        row("controller deaf to its own header", "own header", "count pids=1 at st", "ATSH7DF", "010C");
        row("response count", "response count", "own pids=6 at st", "ATSH7E0", "010C");
        row("several PIDs", "several PIDs", "own count pids=1 at st", "ATSH7E0", "010C1");
        row("only the first of several PIDs", "all but the first PID", "own count pids=1 at st", "ATSH7E0", "010C1");
        row("adaptive timing", "adaptive timing", "own count pids=6 st", "ATSH7E0", "010C1");
        row("short time-out", "short time-out", "own count pids=6 at", "ATSH7E0", "010C1");
        row("gearbox chosen, deaf to its own header", "gearbox own header", "count pids=1 at st", "ATSH7DF", "010C",
            "E9");
        row("gearbox chosen, hears it", "", "own count pids=6 at st", "ATSH7E1", "010C1", "E9");
        row("no answer to PID 00", "PID 00", "pids=1", "ATSH7DF", "010C");
    }
    void fallsBackPerAbility() {
        QFETCH(QString, lacks);
        QFETCH(QString, choose);
        QFETCH(QString, kept);
        QFETCH(QString, header);
        QFETCH(QString, request);
        SessionRig rig;
        ScriptedAdapter adapter;
        adapter.lacks = lacks;
        rig.port.respond = [&adapter](const QByteArray& line) { return adapter.answer(line); };
        FastPolling& polling = rig.session.fastPolling();
        polling.setEnabled(true);
        polling.useSelectedController();
        if (!choose.isEmpty()) {
            rig.session.link().setSelectedController(choose);
            polling.useSelectedController();
        }

        const PollingAbilities& a = polling.abilities();
        QStringList abilities;
        if (a.ownHeader) abilities << "own";
        if (a.responseCount) abilities << "count";
        abilities << QStringLiteral("pids=%1").arg(polling.pidsPerRequest());
        if (a.adaptiveTiming) abilities << "at";
        if (a.shortTimeout) abilities << "st";
        QCOMPARE(abilities.join(QLatin1Char(' ')), kept);
        QString lastHeader;
        for (const QByteArray& line : rig.port.lines)
            if (line.startsWith("ATSH")) lastHeader = QString::fromLatin1(line);
        QCOMPARE(lastHeader, header);
        QCOMPARE(polling.command({0x0C}), request);
    }

    // Without an own header the number of controllers that answered a PID ends its next
    // request; one answer fewer, or none, drops the count, so the next one waits again.
    void learnsResponseCounts_data() {
        QTest::addColumn<QStringList>("answering");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("two, then one goes quiet")
            << QStringList{"E8 E9", "E8 E9", "E8", "E8"} << QStringList{"010D", "010D2", "010D2", "010D"};
        QTest::newRow("no answer") << QStringList{"E8", "", "E8"} << QStringList{"010D", "010D1", "010D"};
    }
    void learnsResponseCounts() {
        QFETCH(QStringList, answering);
        QFETCH(QStringList, commands);
        SessionRig rig;
        ScriptedAdapter adapter;
        adapter.lacks = QStringLiteral("header");
        adapter.speedAnswers = answering;
        rig.port.respond = [&adapter](const QByteArray& line) { return adapter.answer(line); };
        FastPolling& polling = rig.session.fastPolling();
        polling.setEnabled(true);
        polling.useSelectedController();
        rig.port.lines.clear();
        for (qsizetype i = 0; i < answering.size(); ++i)
            polling.request({0x0D});
        QStringList sent;
        for (const QByteArray& line : rig.port.lines)
            if (line.startsWith("010D")) sent << QString::fromLatin1(line);
        QCOMPARE(sent, commands);
    }
};

ZELCOR_TEST(PollingProbeTest)
#include "pollingprobe_test.moc"
