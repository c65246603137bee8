// Golden outputs: every simulated car driven through the same session on the test clock,
// and everything a user or a file sees written to a folder, times masked. Compared with
// the recorded outputs in tests/golden/data, it shows that a change left behaviour alone.
//
//   zelcor_golden OUT [TRACES]
// writes OUT/<profile>/... for every profile; the trace replay reads TRACES/<profile>/trace.raw
// when given (a trace recorded earlier), else the trace this run recorded.

#include "core/listentry.h"
#include "core/panels.h"
#include "core/scanreport.h"
#include "core/session.h"
#include "fakeclock.h"
#include "recordinghost.h"
#include "simport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace zelcor;
using namespace zelcor::test;

namespace {

const QString kReportTime = QStringLiteral("12/7/2026 10:00:00 AM");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Times and dates of the wall clock, which differ from run to run.
QByteArray masked(const QByteArray& bytes) {
    static const QList<std::pair<QRegularExpression, QString>> rules = {
        {QRegularExpression(QStringLiteral("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3}")),
         QStringLiteral("<timestamp>")},
        {QRegularExpression(QStringLiteral("\\d{1,2}/\\d{1,2}/\\d{4} \\d{1,2}:\\d{2}:\\d{2}( [AP]M)?")),
         QStringLiteral("<datetime>")},
        {QRegularExpression(QStringLiteral("\\d{1,2}:\\d{2}:\\d{2}( [AP]M)?")), QStringLiteral("<time>")},
        {QRegularExpression(QStringLiteral("(?m)^90001,0,[0-9.]+,")), QStringLiteral("90001,0,<date>,")},
    };
    QString text = QString::fromLatin1(bytes);
    for (const auto& [pattern, replacement] : rules)
        text.replace(pattern, replacement);
    return text.toLatin1();
}

QString flags(const auto& array) {
    QString out;
    for (bool b : array)
        out += b ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

QString joined(const QStringList& list) { return list.join(QStringLiteral(" | ")); }

QString visible(QString text) { return text.replace(QLatin1String("\r"), QLatin1String("\\r")).replace(QLatin1String("\n"), QLatin1String("\\n")); }

// What the user sees of the session after a pass.
QString panels(const Session& s, const RecordingHost& host, qsizetype& messagesShown) {
    QString out;
    auto line = [&out](const QString& text) { out += text + QLatin1Char('\n'); };
    line(QStringLiteral("function %1 panel %2 needinit %3 stop %4 controller %5 header %6")
             .arg(s.funccode)
             .arg(panelName(s.frame))
             .arg(int(s.needinit))
             .arg(int(s.stopflag))
             .arg(s.ecuaddr)
             .arg(s.hdrformat));
    QStringList functions;
    for (const QString& entry : s.List4)
        functions << QStringLiteral("%1=%2").arg(entryName(entry)).arg(entryCode(entry));
    line(QStringLiteral("functions [%1] at %2").arg(joined(functions)).arg(s.List4Index));
    const GeneralInfoPanel& g = s.generalInfo;
    line(QStringLiteral("general count %1 mil %2 controllers [%3] at %4 current %5 protocol %6")
             .arg(g.codeCount, g.mil, joined(g.controllers))
             .arg(g.controllerIndex)
             .arg(g.currentAddress, s.protocolText));
    line(QStringLiteral("monitors [%1] [%2] [%3]").arg(joined(g.continuous), joined(g.nonContinuous), joined(g.incomplete)));
    line(QStringLiteral("fuel %1 text %2=%3").arg(flags(s.fuelSystems.highlighted), s.textPanel.caption, s.textPanel.value));
    line(QStringLiteral("oxygen %1 [%2] [%3]")
             .arg(flags(s.oxygen.present))
             .arg(QStringList(s.oxygen.voltage.begin(), s.oxygen.voltage.end()).join(QLatin1Char(' ')))
             .arg(QStringList(s.oxygen.fuelTrim.begin(), s.oxygen.fuelTrim.end()).join(QLatin1Char(' '))));
    line(QStringLiteral("stored [%1] pending [%2] at %3/%4 erase %5 save %6 confirm %7")
             .arg(joined(s.List5), joined(s.List6))
             .arg(s.dtc.storedIndex)
             .arg(s.dtc.pendingIndex)
             .arg(int(s.dtc.eraseEnabled))
             .arg(int(s.dtc.saveEnabled))
             .arg(int(s.dtc.confirmVisible)));
    line(QStringLiteral("explanation %1").arg(visible(s.Text10)));
    QStringList freeze;
    for (const FreezeFrameRow& row : s.freeze.rows)
        if (row.visible) freeze << row.label + QLatin1Char('=') + row.value;
    line(QStringLiteral("freeze [%1] %2").arg(joined(freeze), visible(s.freeze.explanation)));
    for (int i = 0; i < kLiveRows; ++i) {
        const LiveRow& r = s.liveRows[size_t(i)];
        line(QStringLiteral("row %1 code %2 of %3 enabled %4 gauge %5 lamp %6 value %7 number %8 units %9 dial %10 %11..%12 feed %13 %14 %15")
                 .arg(i)
                 .arg(r.channel.code())
                 .arg(r.channel.entries.size())
                 .arg(int(r.enabled))
                 .arg(int(r.showGauge))
                 .arg(int(r.lamp))
                 .arg(r.value)
                 .arg(r.number ? QString::number(*r.number, 'g', 10) : QStringLiteral("-"))
                 .arg(r.units)
                 .arg(visible(r.dial.name + QLatin1Char('/') + r.dial.units))
                 .arg(r.dial.minimum)
                 .arg(r.dial.maximum)
                 .arg(r.gauge.position, 0, 'g', 10)
                 .arg(r.gauge.value, 0, 'g', 10)
                 .arg(r.gauge.decimals));
    }
    if (!s.liveRows[0].channel.entries.isEmpty()) {
        QStringList channels;
        for (const QString& entry : s.liveRows[0].channel.entries)
            channels << QStringLiteral("%1=%2").arg(entryName(entry)).arg(entryCode(entry));
        line(QStringLiteral("channels [%1]").arg(joined(channels)));
    }
    line(QStringLiteral("live rate %1 lit %2 log %3 active %4 title %5")
             .arg(s.live.Text12)
             .arg(int(s.live.logLabelLit))
             .arg(int(s.datalog.logging))
             .arg(int(s.datalog.rowactive))
             .arg(s.datalog.title));
    const GraphModel& graph = s.live.graph;
    QStringList axis;
    for (int a = 0; a < 4; ++a)
        axis << graph.axisLabel(a).caption + QLatin1Char('/') + QString::number(graph.axisLabel(a).decimals);
    line(QStringLiteral("graph rate %1 xstep %2 axes [%3]").arg(s.live.Text17).arg(graph.xstep(), 0, 'g', 10).arg(joined(axis)));
    for (int t = 0; t < 2; ++t) {
        const GraphTraceSelector& trace = s.graphTraces[size_t(t)];
        QStringList samples;
        for (int k = 0; k < 4; ++k)
            samples << QString::number(graph.trace(t)[size_t(k)], 'g', 8);
        line(QStringLiteral("trace %1 code %2 enabled %3 value %4 samples [%5]")
                 .arg(t)
                 .arg(trace.channel.code())
                 .arg(int(trace.enabled))
                 .arg(trace.value, samples.join(QLatin1Char(' '))));
    }
    const InstrumentPanels& in = s.instruments;
    line(QStringLiteral("speed %1 %2 %3 rpm %4 %5 test %6 %7 armed %8 running %9")
             .arg(in.speedValue)
             .arg(in.speedUnit == DialUnit::MPH ? QStringLiteral("MPH") : QStringLiteral("KPH"))
             .arg(in.speedReadout)
             .arg(in.rpmValue)
             .arg(in.rpmReadout)
             .arg(in.test.elapsedText(), in.test.spreadText())
             .arg(int(in.test.armed()))
             .arg(int(in.test.running())));
    const ConnectionPanelState& c = s.connection.panel;
    line(QStringLiteral("status %1 error %2 lamp %3 buttons %4%5%6%7%8 %9%10%11")
             .arg(visible(c.status))
             .arg(int(c.statusError))
             .arg(int(c.lamp))
             .arg(int(c.connectEnabled))
             .arg(int(c.setupEnabled))
             .arg(int(c.exitEnabled))
             .arg(int(c.traceReplayEnabled))
             .arg(int(c.helpVisible))
             .arg(int(s.buttons.disconnectEnabled))
             .arg(int(s.buttons.replayEnabled))
             .arg(int(s.buttons.statusLabelEnabled)));
    for (; messagesShown < host.messages.size(); ++messagesShown) {
        const RecordedMessage& m = host.messages[messagesShown];
        line(QStringLiteral("message [%1] %2").arg(m.title, visible(m.text)));
    }
    return out;
}

// The scan a user gets from `zelcor --scan [--json] [--live 3]`.
void scan(const QString& profile, const QString& out) {
    const struct {
        const char* name;
        bool json;
        double live;
    } runs[] = {{"scan.txt", false, 0}, {"scan.json", true, 0}, {"scan-live.json", true, 3}};
    for (const auto& run : runs) {
        QTemporaryDir dir;
        QFile::copy(QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat"), dir.filePath(QStringLiteral("codes.dat")));
        FakeClock clock;
        sim::Options options;
        options.profile = profile;
        SimPort port(clock, options);
        RecordingHost host;
        Session session(clock, port, host, dir.path());
        LOADCONFIG(session.settings, dir.path());
        ScanReport report;
        const int status = runScan(session, report, run.live);
        QByteArray text = "exit " + QByteArray::number(status) + "\n";
        for (const RecordedMessage& m : host.messages)
            text += "message [" + m.title.toLatin1() + "] " + visible(m.text).toLatin1() + "\n";
        text += "status " + visible(session.connection.panel.status).toLatin1() + "\n";
        text += run.json ? QJsonDocument(report.json()).toJson(QJsonDocument::Indented) : report.text().toUtf8();
        writeAll(out + QLatin1Char('/') + QLatin1String(run.name), masked(text));
    }
}

// One step of the scripted session: `before` runs ahead of its first pass.
struct Step {
    QString name;
    int passes;
    std::function<void()> before;
};

void selectChannel(ChannelSelector& channel, int code) {
    for (int k = 0; k < channel.entries.size(); ++k)
        if (entryCode(channel.entries.at(k)) == code) channel.index = k;
}

// A session as a user drives it with Debug on: every function of the list, the codes
// saved, the freeze frame saved, a data log with a mark, graphs, instruments, an erase,
// another controller.
void session(const QString& profile, const QString& out, const QString& traces) {
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat"), dir.filePath(QStringLiteral("codes.dat")));
    QString dump;
    {
        FakeClock clock;
        sim::Options options;
        options.profile = profile;
        SimPort port(clock, options);
        RecordingHost host;
        Session s(clock, port, host, dir.path());
        LOADCONFIG(s.settings, dir.path());
        s.settings.recording = true;
        s.reportTime = [] { return kReportTime; };
        qsizetype messages = 0;

        QList<Step> steps;
        qsizetype step = -1;
        steps.append({QStringLiteral("detect"), 1, {}});
        steps.append({QStringLiteral("functions"), 0, [&] {
                          // Every entry of the list, two passes each.
                          QList<Step> each;
                          for (int i = 0; i < s.List4.size(); ++i)
                              each.append({QStringLiteral("function ") + entryName(s.List4.at(i)), 2,
                                            [&s, i] { s.setList4Index(i); }});
                          for (qsizetype k = 0; k < each.size(); ++k)
                              steps.insert(step + 1 + k, each[k]);
                      }});
        steps.append({QStringLiteral("codes"), 1, [&] { s.funccode = 254; }});
        steps.append({QStringLiteral("explain and save codes"), 1, [&] {
                          s.List5_Click(0);
                          s.List6_Click(0);
                          host.saveAnswer = dir.filePath(QStringLiteral("errors"));
                          s.Command11_Click();
                      }});
        steps.append({QStringLiteral("freeze"), 1, [&] { s.funccode = 248; }});
        steps.append({QStringLiteral("save freeze"), 1, [&] {
                          host.saveAnswer = dir.filePath(QStringLiteral("freeze.txt"));
                          s.Command21_Click();
                      }});
        steps.append({QStringLiteral("live"), 1, [&] { s.funccode = 250; }});
        steps.append({QStringLiteral("live log"), 3, [&] {
                          for (int i = 0; i < kLiveRows; ++i)
                              s.liveRows[size_t(i)].enabled = i < 6;
                          for (int i = 6, code = 999; code >= 997; ++i, --code) {
                              selectChannel(s.liveRows[size_t(i)].channel, code);
                              s.liveRows[size_t(i)].enabled = true;
                              s.Combo1_Click(i);
                          }
                          s.liveRows[0].showGauge = true;
                          s.Check2_Click(0);
                          s.liveRows[6].showGauge = true;
                          s.Check2_Click(6);
                          host.saveAnswer = dir.filePath(QStringLiteral("drive"));
                          s.Command14_Click();
                          s.Command15_Click();
                      }});
        steps.append({QStringLiteral("live mark"), 2, [&] { s.Command15_Click(); }});
        steps.append({QStringLiteral("live stopped"), 1, [&] { s.Command16_Click(); }});
        steps.append({QStringLiteral("graphs"), 3, [&] {
                          s.funccode = 240;
                          selectChannel(s.graphTraces[0].channel, 12);
                          s.Combo9_Click(0);
                          s.adjustGraphAxis(0);
                          s.adjustGraphAxis(9);
                          s.Command18_Click(1);
                      }});
        steps.append({QStringLiteral("graphs derived"), 3, [&] {
                          selectChannel(s.graphTraces[1].channel, 998);
                          s.Combo9_Click(1);
                      }});
        steps.append({QStringLiteral("speed"), 3, [&] {
                          s.funccode = 13;
                          s.instruments.endText = QStringLiteral("30");
                          s.Command10_Click();
                      }});
        steps.append({QStringLiteral("rpm"), 2, [&] { s.funccode = 12; }});
        steps.append({QStringLiteral("oxygen"), 2, [&] { s.funccode = 19; }});
        steps.append({QStringLiteral("text panels"), 1, [&] { s.funccode = 5; }});
        steps.append({QStringLiteral("pids supported"), 1, [&] { s.funccode = 32; }});
        steps.append({QStringLiteral("erase"), 2, [&] {
                          s.Command4_Click();
                          s.Command5_Click();
                      }});
        steps.append({QStringLiteral("other controller"), 2, [&] { s.List7_Click(1); }});

        int left = 0;
        int total = 0;
        s.connection.hooks.runPass = [&] {
            while (left == 0) {
                if (++step >= steps.size()) {
                    s.connection.DISCONNECT();
                    return;
                }
                // A step may add steps after itself: call a copy.
                if (const auto before = steps[step].before) before();
                left = steps[step].passes;
            }
            --left;
            s.COMMS();
            dump += QStringLiteral("== %1 (pass %2)\n").arg(steps[step].name).arg(++total);
            dump += panels(s, host, messages);
            if (total > 200) s.connection.DISCONNECT();
        };
        s.connection.CONNECT();
        dump += QStringLiteral("== disconnected\n") + panels(s, host, messages);
    }
    writeAll(out + QStringLiteral("/panels.txt"), masked(dump.toUtf8()));
    for (const char* name : {"errors.txt", "freeze.txt", "drive.csv", "drive.log", "log.txt"})
        writeAll(out + QLatin1Char('/') + QLatin1String(name), masked(readAll(dir.filePath(QLatin1String(name)))));
    writeAll(out + QStringLiteral("/trace.raw"), readAll(dir.filePath(QStringLiteral("log.txt"))));

    // The trace replayed through the whole program ("V"), at the fastest speed.
    QTemporaryDir replayDir;
    const QString trace = traces.isEmpty() ? dir.filePath(QStringLiteral("log.txt"))
                                           : traces + QLatin1Char('/') + profile + QStringLiteral("/trace.raw");
    QFile::copy(trace, replayDir.filePath(QStringLiteral("log.txt")));
    QFile::copy(QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat"), replayDir.filePath(QStringLiteral("codes.dat")));
    QString replayed;
    {
        FakeClock clock;
        sim::Options options;
        options.profile = QStringLiteral("nocar");
        SimPort port(clock, options);
        RecordingHost host;
        Session s(clock, port, host, replayDir.path());
        LOADCONFIG(s.settings, replayDir.path());
        s.settings.recording = true;
        s.traceControls.speedIndex = kReplaySpeeds - 1;
        qsizetype messages = 0;
        int passes = 0;
        const auto pass = s.connection.hooks.runPass;
        s.connection.hooks.runPass = [&] {
            pass();
            replayed += QStringLiteral("== replayed pass %1 at %2\n").arg(++passes).arg(s.traceTime);
            replayed += panels(s, host, messages);
        };
        int plays = 0;
        clock.onYield = [&](double) {
            if (s.traceControls.play) return;
            if (plays++ == 0)
                s.traceControls.setPlay(true);
            else if (!s.connection.running())
                s.endTraceReplay();
        };
        s.Command13_Click();
        replayed += QStringLiteral("== replay ended, written %1 bytes\n").arg(port.written().size());
        replayed += panels(s, host, messages);
    }
    writeAll(out + QStringLiteral("/replay.txt"), masked(replayed.toUtf8()));
}

// setup.cfg as first written, and after SET&UP, changes and SAVE CHANGES.
void setup(const QString& out) {
    QTemporaryDir dir;
    FakeClock clock;
    SimPort port(clock);
    RecordingHost host;
    Session s(clock, port, host, dir.path());
    LOADCONFIG(s.settings, dir.path());
    writeAll(out + QStringLiteral("/setup-default.cfg"), readAll(dir.filePath(QStringLiteral("setup.cfg"))));
    s.Command3_Click();
    s.setup.portOption = 2;
    s.setup.srTimeText = QStringLiteral("0.25");
    s.setup.miles = false;
    s.setup.poundsPerMinute = true;
    s.setup.noPortSearch = true;
    s.setup.degreesF = false;
    s.setup.psi = false;
    s.setup.weightText = QStringLiteral("2750.6");
    s.setup.initModeText = QStringLiteral("-2");
    s.setup.debug = true;
    s.Command8_Click();
    writeAll(out + QStringLiteral("/setup-edited.cfg"), readAll(dir.filePath(QStringLiteral("setup.cfg"))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zelcor_golden OUT [TRACES]\n");
        return 2;
    }
    const QString out = args.at(1);
    const QString traces = args.size() > 2 ? args.at(2) : QString();
    setup(out);
    for (const QString& profile : sim::Simulator::profiles()) {
        const QString folder = out + QLatin1Char('/') + profile;
        QDir().mkpath(folder);
        scan(profile, folder);
        session(profile, folder, traces);
    }
    return 0;
}
