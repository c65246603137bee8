#pragma once
// The shared rigs of the tests, each in a fresh program folder: the link alone and a
// session on a scripted adapter that answers from a table, and a session on the
// simulated car behind CONNECT.

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

inline QByteArray fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeText(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline sim::Options carOptions(const QString& profile, sim::Options options = {}) {
    options.profile = profile;
    return options;
}

inline const QString shippedCodesFile = QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat");

// Trouble code list items as the codes panel holds them: "code, seven blanks,
// controller", closed by a blank item and the end marker.
inline QStringList closed(QStringList items) {
    return items << QString() << QStringLiteral("--- End of list ---");
}
inline QStringList codeItems(const QStringList& codes, const QString& address) {
    QStringList out;
    for (const QString& code : codes)
        out << code + QString(7, QLatin1Char(' ')) + address;
    return out;
}

// The index of the entry for `code` in a channel list; -1 when it is not listed.
inline int entryIndex(const ChannelSelector& channel, int code) {
    for (int k = 0; k < channel.entries.size(); ++k)
        if (channel.entries.at(k).code == code) return k;
    return -1;
}

// The link alone on a scripted adapter, nothing opened yet.
struct LinkRig {
    QTemporaryDir dir;
    FakeClock clock;
    ScriptPort port{clock};
    RecordingHost host;
    Settings settings;
    Link link{clock, port, host, settings, dir.path()};

    QByteArray log() const { return fileText(dir.filePath(QStringLiteral("log.txt"))); }
};

// A session on a scripted adapter: `answers` by command, "NO DATA" otherwise.
struct SessionRig {
    QTemporaryDir dir;
    FakeClock clock;
    ScriptPort port{clock};
    RecordingHost host;
    Session session{clock, port, host, dir.path()};
    QMap<QByteArray, QByteArray> answers;

    struct Offline {};
    // The port closed and nothing answering, as before CONNECT.
    explicit SessionRig(Offline) {}
    // Connected to `controller`: the 11-bit CAN engine at 7E8 unless told otherwise.
    explicit SessionRig(const QString& controller = QStringLiteral("E8"), HeaderLayout layout = HeaderLayout::Can11) {
        online(controller, layout);
    }
    // The table answers the plain requests: fast polling stays off.
    void online(const QString& controller = QStringLiteral("E8"), HeaderLayout layout = HeaderLayout::Can11) {
        session.fastPolling().setEnabled(false);
        port.respond = [this](const QByteArray& line) { return answers.value(line, "NO DATA\r\r>"); };
        port.open(1);
        Link& link = session.link();
        link.clearStopRequest();
        link.setPollerEnabled(true);
        link.setSelectedController(controller);
        link.setHeaderLayout(layout);
    }
    // One pass of the current function (or of `function`), the lines written by it alone.
    void pass() {
        port.lines.clear();
        session.runPass();
    }
    void pass(Function function) {
        session.navigation().setFunction(function);
        pass();
    }
    void pass(int code) { pass(Function(code)); }
    QByteArray file(const QString& name) const { return fileText(dir.filePath(name)); }
    bool write(const QString& name, const QByteArray& bytes) const { return writeText(dir.filePath(name), bytes); }
    // codes.dat in the program folder with these lines (CR LF ended).
    void codesFile(const QStringList& lines) const {
        QFile out(dir.filePath(QStringLiteral("codes.dat")));
        out.open(QIODevice::WriteOnly);
        for (const QString& line : lines)
            out.write(line.toLatin1() + "\r\n");
    }
};

// The simulated car behind CONNECT, with the shipped codes.dat unless told otherwise:
// detection, then the passes the test asks for.
struct CarRig {
    QTemporaryDir dir;
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Session session;
    // After each pass (detection included), with the function the pass served; true ends
    // the connection.
    std::function<bool(Function served)> afterPass;
    int passes = 0;

    explicit CarRig(const QString& profile, const sim::Options& options = {}, bool withCodes = true)
        : port(clock, carOptions(profile, options)), session(clock, port, host, dir.path()) {
        loadSettings(session.settings(), dir.path());
        if (withCodes) QFile::copy(shippedCodesFile, dir.filePath(QStringLiteral("codes.dat")));
        session.connection().setPassRunner([this] {
            const Function served = session.navigation().function();
            session.runPass();
            if (++passes > 60 || (afterPass && afterPass(served))) session.link().requestStop();
        });
    }
    // Connects and runs `function` as the first function after detection, until a pass
    // of `until` has run.
    void run(Function function, Function until = Function::Idle) {
        afterPass = [this, function, until](Function served) {
            if (served == Function::Detection && session.navigation().function() == Function::GeneralInfo) {
                session.navigation().setFunction(function);
                return false;
            }
            return served == until;
        };
        session.connection().run();
    }
};

} // namespace zelcor::test
