#pragma once
// The real zelcor, run from the build folder with `environment`: its exit code (-1 when it
// did not end by itself) and what it wrote. Events keep flowing meanwhile, so a peer served
// by this process answers. As another user (`otherUser`), zelcor runs from a copy in
// `reachable`: the build folder may lie where only its owner can go.

#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <tuple>
#include <unistd.h>

namespace zelcor::test {

inline std::tuple<int, QByteArray, QByteArray>
runZelcor(const QStringList& arguments,
          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(), uid_t otherUser = 0,
          const QString& reachable = {}) {
    QString program = QStringLiteral(ZELCOR_BINARY_DIR "/zelcor");
    QProcess zelcor;
    if (otherUser) {
        const QString copy = reachable + QStringLiteral("/zelcor");
        if (!QFile::exists(copy) && !QFile::copy(program, copy)) return {-2, {}, "cannot copy zelcor"};
        program = copy;
        zelcor.setChildProcessModifier([otherUser] {
            if (::setgid(otherUser) != 0 || ::setuid(otherUser) != 0) ::_exit(99);
        });
    }
    zelcor.setProcessEnvironment(environment);
    QEventLoop loop;
    QObject::connect(&zelcor, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&zelcor, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    zelcor.start(program, arguments);
    loop.exec();
    if (zelcor.state() != QProcess::NotRunning || zelcor.exitStatus() != QProcess::NormalExit) {
        zelcor.kill();
        zelcor.waitForFinished();
        return {-1, {}, zelcor.readAllStandardError()};
    }
    return {zelcor.exitCode(), zelcor.readAllStandardOutput(), zelcor.readAllStandardError()};
}

// A simulated adapter on a pseudo-terminal, answering at once (no adapter or bus timing);
// its device path, or nothing when it did not start.
inline QString startSimulator(QProcess& sim, const QStringList& options) {
    sim.start(QStringLiteral(ZELCOR_BINARY_DIR "/sim/zelcor-sim"), QStringList(options) << "--no-timing");
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

} // namespace zelcor::test
