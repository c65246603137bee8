#pragma once
// Sessions for tests, each in a fresh program folder: one on a scripted adapter that
// answers from a table, one on the simulated car behind CONNECT.

#include "config/settings.h"
#include "core/listentry.h"
#include "core/session.h"
#include "fakeclock.h"
#include "link/link.h"
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

// Selects the entry for `code` in the row's channel list and enables the row.
inline void pickChannel(LiveRow& row, int code) {
    for (int k = 0; k < row.channel.entries.size(); ++k)
        if (entryCode(row.channel.entries.at(k)) == code) row.channel.index = k;
    row.enabled = true;
}

inline sim::Options carOptions(const QString& profile, sim::Options options = {}) {
    options.profile = profile;
    return options;
}

// Trouble code lists as the session holds them: "code, seven blanks, controller" items
// closed by a blank line and the end marker.
inline const QString gap(7, QLatin1Char(' '));
inline QStringList closed(QStringList items) {
    return items << QString() << QStringLiteral("--- End of list ---");
}
inline QStringList codeItems(const QStringList& codes, const QString& address) {
    QStringList out;
    for (const QString& code : codes)
        out << code + gap + address;
    return out;
}

// The link alone on a scripted adapter, nothing opened yet.
struct LinkRig {
    QTemporaryDir dir;
    FakeClock clock;
    ScriptPort port{clock};
    RecordingHost host;
    Link link{clock, port, host, dir.path()};

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
    // Connected to `ecuaddr`: the 11-bit CAN engine at 7E8 unless told otherwise.
    explicit SessionRig(const QString& ecuaddr = QStringLiteral("E8"), int hdrformat = 2) {
        online(ecuaddr, hdrformat);
    }
    void online(const QString& ecuaddr = QStringLiteral("E8"), int hdrformat = 2) {
        port.respond = [this](const QByteArray& line) { return answers.value(line, "NO DATA\r\r>"); };
        port.open(1);
        session.stopflag = false;
        session.setPollerEnabled(true);
        session.ecuaddr = ecuaddr;
        session.hdrformat = hdrformat;
    }
    // One pass of the current function (or of `code`), the lines written by it alone.
    void pass() {
        port.lines.clear();
        session.COMMS();
    }
    void pass(int code) {
        session.funccode = qint16(code);
        pass();
    }
    // Live row `row` lists channel `code` alone, selected and enabled.
    void channel(int row, int code) {
        LiveRow& r = session.liveRows[size_t(row)];
        r.channel.entries = {listEntry(QStringLiteral("channel"), code)};
        r.channel.index = 0;
        r.enabled = true;
    }
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

inline const QString shippedCodesFile = QStringLiteral(ZELCOR_SOURCE_DIR "/data/codes.dat");

// The simulated car behind CONNECT, with the shipped codes.dat unless told otherwise:
// detection, then the passes the test asks for.
struct CarRig {
    QTemporaryDir dir;
    FakeClock clock;
    SimPort port;
    RecordingHost host;
    Session session;
    // After each pass (detection included), with the code the pass served; true ends the
    // connection.
    std::function<bool(int code)> afterPass;
    int passes = 0;

    explicit CarRig(const QString& profile, const sim::Options& options = {}, bool withCodes = true)
        : port(clock, carOptions(profile, options)), session(clock, port, host, dir.path()) {
        LOADCONFIG(session.settings, dir.path());
        if (withCodes) QFile::copy(shippedCodesFile, dir.filePath(QStringLiteral("codes.dat")));
        session.connection.hooks.runPass = [this] {
            const int code = session.funccode;
            session.COMMS();
            if (++passes > 60 || (afterPass && afterPass(code))) session.stopflag = true;
        };
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
