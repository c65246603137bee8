// zelcor: the diagnostic program, in a window or (--scan) as a headless report.

#include "app/options.h"
#include "app/scanhost.h"
#include "base/clock.h"
#include "base/programfolder.h"
#include "config/devicechoice.h"
#include "core/scanreport.h"
#include "core/session.h"
#include "definitions/checkreport.h"
#include "definitions/requestplan.h"
#include "link/systemport.h"
#include "sim/ptyserver.h"
#include "sim/simulator.h"
#include "ui/main/mainwindow.h"
#include "ui/main/programicon.h"
#include "ui/main/qthost.h"

#include <QApplication>
#include <QJsonDocument>
#include <cstdio>
#include <memory>

using namespace zelcor;

namespace {

void setProgramIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("zelcor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELCOR_VERSION));
}

// The definition files of --parameters; false, having said why, when one cannot be read. Lines
// a file rejects are said and left out.
bool loadParameterFiles(const QStringList& paths, QList<DefinitionFile>* files) {
    for (const QString& path : paths) {
        DefinitionFile file;
        QString error;
        if (!loadDefinitionFile(path, &file, &error)) {
            std::fprintf(stderr, "zelcor: %s: %s\n", qPrintable(path), qPrintable(error));
            return false;
        }
        if (file.rejectedCount() > 0)
            std::fprintf(stderr, "zelcor: %s: %d line(s) rejected, left out (see --check-parameters)\n",
                         qPrintable(path), file.rejectedCount());
        files->append(file);
    }
    return true;
}

int scan(Session& session, const AppOptions& options) {
    ScanReport report;
    QList<DefinitionFile> files;
    if (!loadParameterFiles(options.parameterFiles, &files)) return 1;
    const RequestPlan plan(files);
    const int status = runScan(session, report, options.liveSeconds, options.modules,
                               options.parameterFiles.isEmpty() ? nullptr : &plan);
    const bool json = options.json;
    // What was read before a failure is printed all the same; the failure goes to stderr.
    if (status == 0 || report.hasContent()) {
        const QByteArray out =
            json ? QJsonDocument(report.json()).toJson(QJsonDocument::Indented) : report.text().toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fflush(stdout);
    }
    if (status != 0) {
        QString text = session.connection().panel().status;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (text.trimmed().isEmpty())
            text =
                report.errors.isEmpty() ? QStringLiteral("No answer from the vehicle.") : report.errors.last().message;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // The command line is read before any window system is touched: a wrong option, --help
    // and --version need no display, and --scan never opens one.
    AppOptions options;
    {
        QCoreApplication parsing(argc, argv);
        setProgramIdentity();
        options = parseOptions(QCoreApplication::arguments());
        if (!options.parameterFilesToCheck.isEmpty()) {
            const CheckReport report = checkDefinitionFiles(options.parameterFilesToCheck);
            std::fputs(qPrintable(report.text), stdout);
            return report.allAccepted ? 0 : 1;
        }
        // The window's files are read before it opens: one that cannot be read ends the run.
        QList<DefinitionFile> windowDefinitions;
        if (!options.scan && !loadParameterFiles(options.parameterFiles, &windowDefinitions)) return 1;
    }
    std::unique_ptr<QCoreApplication> app(options.scan ? new QCoreApplication(argc, argv)
                                                       : new QApplication(argc, argv));
    setProgramIdentity();

    QString folderError;
    QString folderNote;
    const QString folder = resolveProgramFolder(options.dataDir, &folderError, &folderNote);
    if (folder.isEmpty()) {
        std::fprintf(stderr, "zelcor: %s\n", qPrintable(folderError));
        return 1;
    }
    if (!folderNote.isEmpty()) std::fprintf(stderr, "zelcor: %s\n", qPrintable(folderNote));

    // The simulated car: an adapter on a pseudo-terminal inside this process, started with
    // --simulate, or when it is the chosen device and CONNECT opens it.
    const QString profile = options.simulateProfile.isEmpty() ? QStringLiteral("can11") : options.simulateProfile;
    if (!sim::Simulator::profiles().contains(profile)) {
        std::fprintf(stderr, "zelcor: unknown simulated car '%s' (known: %s)\n", qPrintable(profile),
                     qPrintable(sim::Simulator::profiles().join(QStringLiteral(", "))));
        return 1;
    }
    std::unique_ptr<sim::PtyServer> simulator;
    const auto startSimulator = [&simulator, profile](QString* error) -> QString {
        if (!simulator) {
            auto server = std::make_unique<sim::PtyServer>(sim::realTimeOptions(profile));
            if (!server->start(error)) return {};
            simulator = std::move(server);
        }
        return simulator->devicePath();
    };
    DeviceList devices;
    if (options.simulate) {
        QString error;
        const QString path = startSimulator(&error);
        if (path.isEmpty()) {
            std::fprintf(stderr, "zelcor: cannot start the simulated adapter: %s\n", qPrintable(error));
            return 1;
        }
        devices.setFirstDevice(path);
    } else {
        // A device on the command line, else the one chosen on the setup panel.
        devices.setFirstDevice(options.device.isEmpty() ? loadDeviceChoice(folder) : options.device);
    }
    SystemClock clock;
    SystemPort port(devices);
    port.setSimulatorStarter(startSimulator);

    if (options.scan) {
        ScanHost host;
        Session session(clock, port, host, folder);
        QString note;
        loadSettings(session.settings(), folder, &note);
        if (!note.isEmpty()) static_cast<Host&>(host).message(note, QStringLiteral("Setup"), MessageIcon::Exclamation);
        return scan(session, options);
    }

    // The window belongs to the desktop entry of the same id, and shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZELCOR_APP_ID));
    QApplication::setWindowIcon(programIcon());
    QtHost host(folder);
    Session session(clock, port, host, folder);
    // In the window a car that goes to sleep is waited for; the scan reports it and ends.
    session.connection().setWaitsForReturn(true);
    session.parameters().addRunFiles(options.parameterFiles);
    QString note;
    loadSettings(session.settings(), folder, &note);
    MainWindow window(session);
    host.setWindow(&window);
    window.show();
    if (!note.isEmpty()) static_cast<Host&>(host).message(note, QStringLiteral("Setup"), MessageIcon::Exclamation);
    return app->exec();
}
