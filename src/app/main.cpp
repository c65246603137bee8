// zelcor: the diagnostic program, in a window or (--scan) as a headless report.

#include "app/options.h"
#include "base/clock.h"
#include "base/programfolder.h"
#include "core/session.h"
#include "link/systemport.h"
#include "ui/main/mainwindow.h"
#include "ui/main/qthost.h"

#include <QApplication>
#include <memory>

using namespace zelcor;

int main(int argc, char** argv) {
    const bool headless = wantsNoWindow(argc, argv);
    std::unique_ptr<QCoreApplication> app(headless ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("zelcor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELCOR_VERSION));
    const AppOptions options = parseOptions(QCoreApplication::arguments());

    const QString folder = resolveProgramFolder(options.dataDir);
    DeviceList devices;
    devices.setFirstDevice(options.device);
    SystemClock clock;
    SystemPort port(devices);
    QtHost host;
    Session session(clock, port, host, folder);
    LOADCONFIG(session.settings, folder);

    MainWindow window(session);
    host.setWindow(&window);
    window.show();
    return app->exec();
}
