#pragma once
// Sessions for the trouble code tests: one on a scripted adapter with exact replies, one
// connected to the simulated car, each in a fresh program folder.

#include "config/settings.h"
#include "core/session.h"
#include "fakeclock.h"
#include "recordinghost.h"
#include "scriptport.h"
#include "simport.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <functional>

namespace zelcor::test {

inline const QString shippedCodesFile = QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat");

// A connected session on a scripted adapter: `answers` by command, "NO DATA" otherwise.
struct ScriptRig {
    QTemporaryDir dir;
    FakeClock clock;
    ScriptPort port{clock};
    RecordingHost host;
    Session session{clock, port, host, dir.path()};
    QMap<QByteArray, QByteArray> answers;

    explicit ScriptRig(const QString& ecuaddr = QStringLiteral("E8"), int hdrformat = 2) {
        port.respond = [this](const QByteArray& line) { return answers.value(line, "NO DATA\r\r>"); };
        port.open(1);
        session.stopflag = false;
        session.setPollerEnabled(true);
        session.ecuaddr = ecuaddr;
        session.hdrformat = hdrformat;
    }
    void pass(int code) {
        session.funccode = qint16(code);
        session.COMMS();
    }
    // codes.dat in the program folder with these lines (CR LF ended).
    void codesFile(const QStringList& lines) const {
        QFile file(dir.filePath(QStringLiteral("codes.dat")));
        file.open(QIODevice::WriteOnly);
        for (const QString& line : lines)
            file.write(line.toLatin1() + "\r\n");
    }
    void shippedCodes() const { QFile::copy(shippedCodesFile, dir.filePath(QStringLiteral("codes.dat"))); }
};

// The simulated car behind CONNECT: detection, then the passes the test asks for.
struct SimRig {
    QTemporaryDir dir;
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Session session;
    // After each pass (detection included), with the code the pass served; true ends the
    // connection.
    std::function<bool(int code)> afterPass;
    int passes = 0;

    explicit SimRig(const QString& profile) : port(clock, options(profile)), session(clock, port, host, dir.path()) {
        LOADCONFIG(session.settings, dir.path());
        QFile::copy(shippedCodesFile, dir.filePath(QStringLiteral("codes.dat")));
        session.connection.hooks.runPass = [this] {
            const int code = session.funccode;
            session.COMMS();
            if (++passes > 60 || (afterPass && afterPass(code))) session.stopflag = true;
        };
    }
    static sim::Options options(const QString& profile) {
        sim::Options o;
        o.profile = profile;
        return o;
    }
    // Connects and runs `code` as the first function after detection, until a pass of
    // `until` has run.
    void run(int code, int until = 255) {
        afterPass = [this, code, until](int served) {
            if (served == 0 && session.funccode == 1) {
                session.funccode = qint16(code);
                return false;
            }
            return served == until;
        };
        session.connection.CONNECT();
    }
};

} // namespace zelcor::test
