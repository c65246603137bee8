// Golden outputs: every simulated car driven through the same session on the test clock,
// and everything a user or a file sees written to a folder, times masked. Compared with
// the recorded outputs in tests/golden/data, it shows that a change left behaviour alone.
//
//   zelcor_golden [--plain] OUT [TRACES]
// writes OUT/<profile>/... for every profile; the trace replay reads TRACES/<profile>/trace.raw
// when given (a trace recorded earlier), else the trace this run recorded. --plain runs
// with fast polling switched off, as a user who cleared its box.

#include "core/panels.h"
#include "core/scanreport.h"
#include "core/session.h"
#include "definitions/requestplan.h"
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
bool fastPolling = true;

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

QString joined(const QStringList& list) {
    return list.join(QStringLiteral(" | "));
}

QString visible(QString text) {
    return text.replace(QLatin1String("\r"), QLatin1String("\\r")).replace(QLatin1String("\n"), QLatin1String("\\n"));
}

// What the user sees of the session after a pass.
QString panels(const Session& s, const RecordingHost& host, qsizetype& messagesShown) {
    QString out;
    auto line = [&out](const QString& text) { out += text + QLatin1Char('\n'); };
    const Link& link = s.link();
    const Navigation& nav = s.navigation();
    line(QStringLiteral("function %1 panel %2 needinit %3 stop %4 controller %5 header %6")
             .arg(int(nav.function()))
             .arg(panelName(nav.panel()))
             .arg(int(link.linkLost()))
             .arg(int(link.stopRequested()))
             .arg(link.selectedController())
             .arg(int(link.headerLayout())));
    QStringList functions;
    for (const ListEntry& entry : nav.functions())
        functions << QStringLiteral("%1=%2").arg(entry.name).arg(entry.code);
    line(QStringLiteral("functions [%1] at %2").arg(joined(functions)).arg(nav.functionIndex()));
    const GeneralInfoPanel& g = s.vehicle().generalInfo();
    line(QStringLiteral("general count %1 mil %2 controllers [%3] at %4 current %5 protocol %6")
             .arg(g.codeCount, g.mil, joined(g.controllers))
             .arg(g.controllerIndex)
             .arg(g.currentAddress, s.detection().protocolText()));
    line(QStringLiteral("monitors [%1] [%2] [%3]")
             .arg(joined(g.continuous), joined(g.nonContinuous), joined(g.incomplete)));
    const ParameterPanel& text = s.vehicle().parameterPanel();
    line(QStringLiteral("fuel %1 text %2=%3")
             .arg(flags(s.vehicle().fuelSystems().highlighted), text.caption, text.value));
    const OxygenPanel& oxygen = s.vehicle().oxygen();
    line(QStringLiteral("oxygen %1 [%2] [%3]")
             .arg(flags(oxygen.present))
             .arg(QStringList(oxygen.voltage.begin(), oxygen.voltage.end()).join(QLatin1Char(' ')))
             .arg(QStringList(oxygen.fuelTrim.begin(), oxygen.fuelTrim.end()).join(QLatin1Char(' '))));
    const CodesPanel& codes = s.codes().codesPanel();
    line(QStringLiteral("stored [%1] pending [%2] at %3/%4 erase %5 save %6 confirm %7")
             .arg(joined(codes.stored), joined(codes.pending))
             .arg(codes.storedIndex)
             .arg(codes.pendingIndex)
             .arg(int(codes.eraseEnabled))
             .arg(int(codes.saveEnabled))
             .arg(int(codes.confirmVisible)));
    line(QStringLiteral("permanent [%1] at %2 note %3")
             .arg(joined(codes.permanent))
             .arg(codes.permanentIndex)
             .arg(visible(codes.permanentNote)));
    line(QStringLiteral("explanation %1").arg(visible(codes.explanation)));
    const ModulesPanel& modules = s.wholeCar().panel();
    QStringList found;
    for (const ModuleResult& module : modules.modules) {
        QStringList read;
        for (const ModuleCode& code : module.codes)
            read << code.shown() + QStringLiteral("/%1").arg(code.status, 2, 16, QLatin1Char('0'));
        found << QStringLiteral("%1 %2 %3 (%4)%5")
                     .arg(module.address.label(), module.shownName(), protocolName(module.protocol), read.join(' '),
                          module.error.isEmpty() ? QString() : QStringLiteral(" ") + module.error);
    }
    line(QStringLiteral("modules [%1] at %2 scanned %3 problem %4 confirm %5")
             .arg(joined(found))
             .arg(modules.selected)
             .arg(int(modules.scanned))
             .arg(visible(modules.problem))
             .arg(int(modules.confirmVisible)));
    line(QStringLiteral("vin %1").arg(g.vin));
    line(QStringLiteral("drive cycle %1 [%2] [%3]")
             .arg(int(g.driveCycleShown))
             .arg(joined(g.driveCycleEnabled), joined(g.driveCycleIncomplete)));
    line(QStringLiteral("vehicle info %1").arg(visible(s.vehicleInfo().infoText())));
    line(QStringLiteral("test results %1").arg(visible(s.vehicleInfo().testsText())));
    QStringList freeze;
    for (const FreezeFrameRow& row : s.codes().freezeFrame().rows)
        if (row.visible) freeze << row.label + QLatin1Char('=') + row.value;
    line(QStringLiteral("freeze [%1] %2").arg(joined(freeze), visible(s.codes().freezeFrame().explanation)));
    const LiveData& live = s.live();
    for (int i = 0; i < kLiveRows; ++i) {
        const LiveRow& r = live.row(i);
        line(QStringLiteral("row %1 code %2 of %3 enabled %4 gauge %5 lamp %6 value %7 number %8 units %9 dial %10 "
                            "%11..%12 feed %13 %14 %15")
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
    if (!live.row(0).channel.entries.isEmpty()) {
        QStringList channels;
        for (const ListEntry& entry : live.row(0).channel.entries)
            channels << QStringLiteral("%1=%2").arg(entry.name).arg(entry.code);
        line(QStringLiteral("channels [%1]").arg(joined(channels)));
    }
    line(QStringLiteral("live rate %1 lit %2 log %3 active %4 title %5")
             .arg(live.passRate())
             .arg(int(live.logLampLit()))
             .arg(int(live.dataLog().logging()))
             .arg(int(live.dataLog().writingRow()))
             .arg(live.dataLog().title()));
    const GraphModel& graph = live.graph();
    QStringList axis;
    for (int a = 0; a < 4; ++a)
        axis << graph.axisLabel(a).caption + QLatin1Char('/') + QString::number(graph.axisLabel(a).decimals);
    line(QStringLiteral("graph rate %1 xstep %2 axes [%3]")
             .arg(live.graphPassRate())
             .arg(graph.sampleSpacing(), 0, 'g', 10)
             .arg(joined(axis)));
    for (int t = 0; t < kGraphTraces; ++t) {
        const GraphTrace& trace = live.trace(t);
        QStringList samples;
        for (int k = 0; k < 4; ++k)
            samples << QString::number(graph.trace(t)[size_t(k)], 'g', 8);
        line(QStringLiteral("trace %1 code %2 enabled %3 value %4 samples [%5]")
                 .arg(t)
                 .arg(trace.channel.code())
                 .arg(int(trace.enabled))
                 .arg(trace.value, samples.join(QLatin1Char(' '))));
    }
    const InstrumentPanels& in = s.instruments().panels();
    line(QStringLiteral("speed %1 %2 %3 rpm %4 %5 test %6 %7 armed %8 running %9")
             .arg(in.speedValue)
             .arg(in.speedUnit == DialUnit::MPH ? QStringLiteral("MPH") : QStringLiteral("KPH"))
             .arg(in.speedReadout)
             .arg(in.engineSpeedValue)
             .arg(in.engineSpeedReadout)
             .arg(in.test.elapsedText(), in.test.spreadText())
             .arg(int(in.test.armed()))
             .arg(int(in.test.running())));
    const ConnectionPanelState& c = s.connection().panel();
    const MainButtons& buttons = nav.buttons();
    line(QStringLiteral("status %1 error %2 lamp %3 buttons %4%5%6%7%8 %9%10%11")
             .arg(visible(c.status))
             .arg(int(c.statusError))
             .arg(int(c.lamp))
             .arg(int(c.connectEnabled))
             .arg(int(c.setupEnabled))
             .arg(int(c.exitEnabled))
             .arg(int(c.traceReplayEnabled))
             .arg(int(c.helpVisible))
             .arg(int(buttons.disconnectEnabled))
             .arg(int(buttons.replayEnabled))
             .arg(int(buttons.statusLabelEnabled)));
    for (; messagesShown < host.messages.size(); ++messagesShown) {
        const RecordedMessage& m = host.messages[messagesShown];
        line(QStringLiteral("message [%1] %2").arg(m.title, visible(m.text)));
    }
    return out;
}

// The shipped manufacturer parameter definitions.
RequestPlan shippedParameters() {
    QList<DefinitionFile> files;
    const QDir folder(QStringLiteral(ZELCOR_SOURCE_DIR "/data/parameters"));
    for (const QString& name : folder.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        DefinitionFile file;
        QString error;
        loadDefinitionFile(folder.filePath(name), &file, &error);
        files.append(file);
    }
    return RequestPlan(files);
}

// The scan a user gets from `zelcor --scan [--json] [--live 3] [--modules]`, and on the
// electric car with `--parameters data/parameters/*.csv` too.
void scan(const QString& profile, const QString& out) {
    struct Run {
        const char* name;
        bool json;
        double live;
        bool modules;
        bool parameters;
    };
    QList<Run> runs{{"scan.txt", false, 0, false, false},
                    {"scan.json", true, 0, false, false},
                    {"scan-live.json", true, 3, false, false},
                    {"scan-modules.json", true, 0, true, false}};
    if (profile == QLatin1String("ev"))
        runs << Run{"scan-parameters.txt", false, 0, false, true} << Run{"scan-parameters.json", true, 0, false, true}
             << Run{"scan-parameters-live.json", true, 3, false, true};
    const RequestPlan parameters = shippedParameters();
    for (const auto& run : runs) {
        QTemporaryDir dir;
        QFile::copy(QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat"), dir.filePath(QStringLiteral("codes.dat")));
        FakeClock clock;
        sim::Options options;
        options.profile = profile;
        SimPort port(clock, options);
        RecordingHost host;
        Session session(clock, port, host, dir.path());
        loadSettings(session.settings(), dir.path());
        session.fastPolling().setEnabled(fastPolling);
        ScanReport report;
        const int status = runScan(session, report, run.live, run.modules, run.parameters ? &parameters : nullptr);
        QByteArray text = "exit " + QByteArray::number(status) + "\n";
        for (const RecordedMessage& m : host.messages)
            text += "message [" + m.title.toLatin1() + "] " + visible(m.text).toLatin1() + "\n";
        text += "status " + visible(session.connection().panel().status).toLatin1() + "\n";
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

// The index of the last entry for `code`, as a user would pick it.
int entryIndex(const ChannelSelector& channel, int code) {
    int index = channel.index;
    for (int k = 0; k < channel.entries.size(); ++k)
        if (channel.entries.at(k).code == code) index = k;
    return index;
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
        loadSettings(s.settings(), dir.path());
        s.fastPolling().setEnabled(fastPolling);
        s.settings().debugTrace = true;
        s.codes().setReportTime([] { return kReportTime; });
        qsizetype messages = 0;

        QList<Step> steps;
        qsizetype step = -1;
        steps.append({QStringLiteral("detect"), 1, {}});
        steps.append({QStringLiteral("functions"), 0, [&] {
                          // Every entry of the list, two passes each.
                          QList<Step> each;
                          for (int i = 0; i < s.navigation().functions().size(); ++i)
                              each.append({QStringLiteral("function ") + s.navigation().functions().at(i).name, 2,
                                           [&s, i] { s.chooseFunctionEntry(i); }});
                          for (qsizetype k = 0; k < each.size(); ++k)
                              steps.insert(step + 1 + k, each[k]);
                      }});
        steps.append({QStringLiteral("codes"), 1, [&] { s.navigation().setFunction(Function::TroubleCodes); }});
        steps.append({QStringLiteral("explain and save codes"), 1, [&] {
                          s.codes().selectStored(0);
                          s.codes().selectPending(0);
                          host.saveAnswer = dir.filePath(QStringLiteral("errors"));
                          s.codes().saveCodes();
                      }});
        steps.append({QStringLiteral("freeze"), 1, [&] { s.navigation().setFunction(Function::FreezeFrame); }});
        steps.append({QStringLiteral("save freeze"), 1, [&] {
                          host.saveAnswer = dir.filePath(QStringLiteral("freeze.txt"));
                          s.codes().saveFreezeFrame();
                      }});
        steps.append({QStringLiteral("live"), 1, [&] { s.navigation().setFunction(Function::LiveData); }});
        steps.append({QStringLiteral("live log"), 3, [&] {
                          LiveData& live = s.live();
                          for (int i = 0; i < kLiveRows; ++i)
                              live.setRowEnabled(i, i < 6);
                          for (int i = 6, code = 999; code >= 997; ++i, --code) {
                              live.setRowEnabled(i, true);
                              live.chooseRowChannel(i, entryIndex(live.row(i).channel, code));
                          }
                          live.setShowGauge(0, true);
                          live.setShowGauge(6, true);
                          host.saveAnswer = dir.filePath(QStringLiteral("drive"));
                          live.dataLog().chooseFile();
                          live.startOrMarkLog();
                      }});
        steps.append({QStringLiteral("live mark"), 2, [&] { s.live().startOrMarkLog(); }});
        steps.append({QStringLiteral("live stopped"), 1, [&] { s.live().dataLog().stop(); }});
        steps.append({QStringLiteral("graphs"), 3, [&] {
                          s.navigation().setFunction(Function::Graphs);
                          LiveData& live = s.live();
                          live.chooseTraceChannel(0, entryIndex(live.trace(0).channel, 12));
                          live.adjustAxis(0);
                          live.adjustAxis(9);
                          live.zoomTime(1);
                      }});
        steps.append({QStringLiteral("graphs derived"), 3,
                      [&] { s.live().chooseTraceChannel(1, entryIndex(s.live().trace(1).channel, 998)); }});
        steps.append({QStringLiteral("speed"), 3, [&] {
                          s.navigation().setFunction(Function::VehicleSpeed);
                          s.instruments().setEndText(QStringLiteral("30"));
                          s.armAccelerationTest();
                      }});
        steps.append({QStringLiteral("rpm"), 2, [&] { s.navigation().setFunction(Function::EngineSpeed); }});
        steps.append({QStringLiteral("oxygen"), 2, [&] { s.navigation().setFunction(Function::OxygenSensors); }});
        steps.append({QStringLiteral("text panels"), 1, [&] { s.navigation().setFunction(Function(5)); }});
        steps.append(
            {QStringLiteral("pids supported"), 1, [&] { s.navigation().setFunction(Function::PidsSupported); }});
        steps.append({QStringLiteral("erase"), 2, [&] {
                          s.askToErase();
                          s.confirmErase();
                      }});
        steps.append({QStringLiteral("other controller"), 2, [&] { s.chooseController(1); }});

        int left = 0;
        int total = 0;
        s.connection().setPassRunner([&] {
            while (left == 0) {
                if (++step >= steps.size()) {
                    s.connection().requestDisconnect();
                    return;
                }
                // A step may add steps after itself: call a copy.
                if (const auto before = steps[step].before) before();
                left = steps[step].passes;
            }
            --left;
            s.runPass();
            dump += QStringLiteral("== %1 (pass %2)\n").arg(steps[step].name).arg(++total);
            dump += panels(s, host, messages);
            if (total > 200) s.connection().requestDisconnect();
        });
        s.connection().run();
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
        loadSettings(s.settings(), replayDir.path());
        s.settings().debugTrace = true;
        s.traceReplay().controls().speedIndex = kReplaySpeeds - 1;
        qsizetype messages = 0;
        int passes = 0;
        const auto pass = s.connection().hooks().runPass;
        s.connection().setPassRunner([&] {
            pass();
            replayed += QStringLiteral("== replayed pass %1 at %2\n").arg(++passes).arg(s.traceReplay().passTime());
            replayed += panels(s, host, messages);
        });
        int plays = 0;
        clock.onYield = [&](double) {
            if (s.traceReplay().controls().play) return;
            if (plays++ == 0)
                s.traceReplay().controls().setPlay(true);
            else if (!s.connection().running())
                s.traceReplay().end();
        };
        s.traceReplay().run();
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
    loadSettings(s.settings(), dir.path());
    writeAll(out + QStringLiteral("/setup-default.cfg"), readAll(dir.filePath(QStringLiteral("setup.cfg"))));
    s.openSetup();
    SetupPanelState form = s.setupForm();
    form.portOption = 2;
    form.promptDelayText = QStringLiteral("0.25");
    form.miles = false;
    form.poundsPerMinute = true;
    form.noPortSearch = true;
    form.degreesF = false;
    form.psi = false;
    form.weightText = QStringLiteral("2750.6");
    form.initModeText = QStringLiteral("-2");
    form.debug = true;
    s.setSetupForm(form);
    s.saveSetup();
    writeAll(out + QStringLiteral("/setup-edited.cfg"), readAll(dir.filePath(QStringLiteral("setup.cfg"))));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QStringList args = app.arguments();
    fastPolling = !args.removeAll(QStringLiteral("--plain"));
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zelcor_golden [--plain] OUT [TRACES]\n");
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
