// Writes the raw seed inputs of every fuzz target into one folder per target: replies of
// every simulated car (each protocol it can speak, with and without the adapter's
// faults), drives recorded from them, passes of the golden trace logs, setup.cfg
// variants and codes.dat excerpts. scripts/fuzz keeps those that add coverage.
// Usage: zelcor-fuzz-seeds OUTPUT_FOLDER

#include "base/numbers.h"
#include "dtc/freezeframe.h"
#include "link/reply.h"
#include "logging/recording.h"
#include "obd/parameters.h"
#include "sim/simulator.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <cmath>
#include <cstdio>

using namespace zelcor;

namespace {

QString outputFolder;

void writeSeed(const QString& target, const QByteArray& bytes) {
    QDir().mkpath(outputFolder + QLatin1Char('/') + target);
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(outputFolder + QLatin1Char('/') + target + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

QByteArray readSource(const QString& path) {
    QFile file(QStringLiteral(ZELCOR_SOURCE_DIR "/") + path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    return file.readAll();
}

// One simulated car on one protocol, with the adapter's faults of this variant.
struct Variant {
    QString profile;
    int protocol = 0;           // 0: the profile's own
    int garbageEvery = 0;       // junk before every n-th answer
    int missingPromptEvery = 0; // no prompt after every n-th answer
    bool linefeeds = false;     // CR LF line ends
};

// The byte that chooses a target's header layout (see fuzzrig.h), and the engine's address.
struct Layout {
    char layoutByte;
    char engineByte;
};

Layout layoutOf(int protocol) {
    if (protocol == 6 || protocol == 8) return {1, char(0xE8)};
    if (protocol == 7 || protocol == 9) return {2, 0x10};
    return {0, 0x10};
}

HeaderLayout headerLayout(int protocol) {
    const char byte = layoutOf(protocol).layoutByte;
    return byte == 1 ? HeaderLayout::Can11 : byte == 2 ? HeaderLayout::Can29 : HeaderLayout::Legacy;
}

// The adapter and car of a variant, set up as the program sets them up (echo and line
// feeds off, headers on, automatic protocol).
class Car {
public:
    explicit Car(const Variant& v) : simulator_(optionsOf(v)) {
        for (const char* command : {"ATZ", "ATE0", v.linefeeds ? "ATL1" : "ATL0", "ATH1", "ATSP0"})
            ask(command);
        protocol_ = v.protocol;
        if (protocol_ == 0) {
            const QByteArray described = ask("ATDPN");
            ask("0100");
            protocol_ = QByteArray(ask("ATDPN")).replace('A', "").left(1).toInt(nullptr, 16);
            Q_UNUSED(described);
        }
    }

    // The raw answer to a command, up to and with the prompt.
    QByteArray ask(const QByteArray& command) {
        simulator_.input(command + '\r', now_);
        QByteArray out;
        for (int i = 0; i < 10000; ++i) {
            const double due = simulator_.nextOutputTime();
            if (!std::isfinite(due)) break;
            now_ = std::max(now_, due);
            out += simulator_.output(now_);
            if (out.endsWith('>')) break;
        }
        now_ += 0.1;
        return out;
    }

    void wait(double seconds) { now_ += seconds; }
    double now() const { return now_; }
    int protocol() const { return protocol_; }

private:
    static sim::Options optionsOf(const Variant& v) {
        sim::Options options;
        options.profile = v.profile;
        options.protocol = v.protocol;
        options.garbageEvery = v.garbageEvery;
        options.missingPromptEvery = v.missingPromptEvery;
        return options;
    }

    sim::Simulator simulator_;
    double now_ = 1;
    int protocol_ = 0;
};

// The engine's normalised line of a raw answer, as the link picks it; empty when none.
QString engineLine(const QByteArray& raw, int protocol) {
    QString text = QString::fromLatin1(raw);
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('>'));
    text.remove(QLatin1Char('\n'));
    const QString engine = hexByte(quint8(layoutOf(protocol).engineByte));
    for (const QString& line : text.split(QLatin1Char('\r'))) {
        if (line.size() < 7) continue;
        const QString normal = normaliseLine(line, headerLayout(protocol));
        if (normal.mid(4, 2) == engine) return normal;
    }
    return {};
}

QList<Variant> variants() {
    QList<Variant> list;
    for (const QString& profile : sim::Simulator::profiles())
        list.append({profile});
    for (int protocol : {1, 2, 3, 4, 5})
        list.append({QStringLiteral("legacy"), protocol});
    for (int protocol : {7, 8, 9})
        list.append({QStringLiteral("can11"), protocol});
    list.append({QStringLiteral("can11"), 0, 1});
    list.append({QStringLiteral("legacy"), 0, 1});
    list.append({QStringLiteral("can11"), 0, 0, 1});
    list.append({QStringLiteral("can29"), 0, 0, 0, true});
    list.append({QStringLiteral("manycodes"), 9, 3});
    return list;
}

void replySeeds(const Variant& v) {
    Car car(v);
    const Layout layout = layoutOf(car.protocol());
    const QByteArray head{&layout.layoutByte, 1};
    const QByteArray selected = head + layout.engineByte;
    for (const char* request : {"0100", "0101", "0103", "0105", "010C", "0113", "0120", "0902"})
        writeSeed(QStringLiteral("reply"), selected + car.ask(request));

    writeSeed(QStringLiteral("codereply"), head + car.ask("03") + '\0' + car.ask("07"));

    // The vehicle information pass's requests, then the test results pass's.
    QByteArrayList info;
    for (const char* request : {"0900", "0902", "0904", "0906", "0908", "090A", "0600", "0620", "0640", "0601", "0602",
                                "0621", "063C", "0641"})
        info << car.ask(request);
    writeSeed(QStringLiteral("vehicleinfo"), head + info.join('\0'));

    for (const char units : {0x00, 0x0F}) {
        QByteArray freeze = selected + units;
        const QByteArray bitmap = car.ask("020000");
        freeze += bitmap;
        const Reply reply = parseReply(engineLine(bitmap, car.protocol()));
        for (const int pid : freezeFramePids(reply.data.mid(1)))
            freeze += '\0' + car.ask(freezeFrameRequest(pid).toLatin1());
        writeSeed(QStringLiteral("freezeframe"), freeze);
    }
}

// Every parameter the cars answer, in both unit systems, and the derived channels.
void parameterSeeds() {
    QMap<int, QByteArray> data;
    for (const QString& profile : {QStringLiteral("can11"), QStringLiteral("legacy")}) {
        Car car({profile});
        for (int pid = 0; pid < 0x100; ++pid) {
            const QString request = QStringLiteral("01") + hexByte(pid);
            const Reply reply = parseReply(engineLine(car.ask(request.toLatin1()), car.protocol()));
            if (reply.service == 0x41 && reply.parameter == pid && !data.contains(pid)) data[pid] = reply.data;
        }
    }
    for (auto it = data.cbegin(); it != data.cend(); ++it)
        for (const char units : {0x00, 0x0F})
            writeSeed(QStringLiteral("parameters"), QByteArray(1, char(it.key())) + units + char(80) + it.value());
    // Speeding up: time step, speed, engine speed and air flow bytes.
    const QByteArray drive = QByteArray::fromHex("10201A4030502A3040603C406070504F");
    for (int derived = 0; derived < 3; ++derived)
        for (const char units : {char(0x80), char(0x8F)})
            writeSeed(QStringLiteral("parameters"), QByteArray(1, char(derived)) + units + char(80) + drive);
}

// A drive as the data log records it: a mark, the channels, then rounds of replies.
void recordingSeed(const QString& profile) {
    Car car({profile});
    const QList<int> pids{pid::engineSpeed, pid::vehicleSpeed, pid::coolantTemperature, pid::airFlow, 0x11, 0x04};
    const QDateTime start(QDate(2026, 5, 17), QTime(14, 30, 5));
    QStringList lines{markRecordLine(start, QStringLiteral("Sun 5/17/2026 2:30:05 PM"))};
    for (int pid : pids)
        lines << channelRecordLine(pid, parameterName(pid));
    const double begin = car.now();
    for (int round = 0; round < 4; ++round) {
        for (int pid : pids) {
            const QString reply = engineLine(car.ask(QByteArray("01") + hexByte(pid).toLatin1()), car.protocol());
            if (!reply.isEmpty()) lines << dataRecordLine(car.now() - begin, pid, reply);
        }
        car.wait(0.5);
    }
    writeSeed(QStringLiteral("recording"), lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
}

// The trace log of each golden car cut into passes: the lines up to the first pass's end,
// then the first pass of every function.
void traceSeeds(const QString& profile, char layoutByte, char engineByte) {
    const QByteArray trace = readSource(QStringLiteral("tests/golden/data/") + profile + QStringLiteral("/trace.raw"));
    const QByteArray head = QByteArray(1, layoutByte) + engineByte;
    QByteArray pass;
    QByteArray function;
    QList<QByteArray> seen;
    for (const QByteArray& line : trace.split('\n')) {
        pass += line + '\n';
        if (line.startsWith('F')) function = line.trimmed();
        if (!line.startsWith('T')) continue;
        if (!seen.contains(function)) {
            seen.append(function);
            writeSeed(QStringLiteral("trace"), head + pass);
        }
        pass.clear();
    }
}

void settingsSeeds() {
    for (const char* name : {"setup-default.cfg", "setup-edited.cfg"}) {
        const QByteArray file = readSource(QStringLiteral("tests/golden/data/") + QLatin1String(name));
        writeSeed(QStringLiteral("settings"), file);
        writeSeed(QStringLiteral("settings"), QByteArray(file).replace("\r\n", "\n"));
        writeSeed(QStringLiteral("settings"), QByteArray(file).replace("\r\n", "\r"));
    }
    writeSeed(QStringLiteral("settings"), "16\r\n1.5E+02\r\n-1\r\n 1\r\n0\r\n1\r\n1\r\n99999\r\n-32768\r\n1\r\n");
}

// For each code the cars report: the code, then its block of codes.dat with a line of the
// codes before and after it.
void codesFileSeeds() {
    const QList<QByteArray> lines = readSource(QStringLiteral("data/codes.dat")).split('\n');
    for (const char* code : {"P0133", "P0171", "P0442", "P0741", "P0420", "U0100", "C0035", "B1000"}) {
        const QByteArray key = QByteArray(code).leftJustified(6, ' ');
        qsizetype first = -1, last = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith(key)) continue;
            if (first < 0) first = i;
            last = i;
        }
        if (first < 0) continue;
        QByteArray seed = QByteArray(code) + '\n';
        for (qsizetype i = std::max<qsizetype>(first - 1, 0); i <= std::min(last + 1, lines.size() - 1); ++i)
            seed += lines[i] + '\n';
        writeSeed(QStringLiteral("codesfile"), seed);
    }
}

// Each shipped definition file, with a reply of counting bytes long enough for every
// formula, and cut short.
void definitionSeeds() {
    QByteArray reply;
    for (int i = 0; i < 40; ++i)
        reply.append(char(0x80 + i));
    for (const char* name : {"ev-battery.csv", "ev-vehicle.csv", "ev-motor.csv"}) {
        const QByteArray file = readSource(QStringLiteral("data/parameters/") + QLatin1String(name));
        writeSeed(QStringLiteral("definitions"), file + '\0' + reply);
        writeSeed(QStringLiteral("definitions"), file + '\0' + reply.left(3));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    for (const Variant& v : variants())
        replySeeds(v);
    parameterSeeds();
    for (const QString& profile : sim::Simulator::profiles())
        recordingSeed(profile);
    for (const char* profile : {"can11", "manycodes", "nofreeze", "clean", "nocar"})
        traceSeeds(QLatin1String(profile), 1, char(0xE8));
    traceSeeds(QStringLiteral("can29"), 2, 0x10);
    traceSeeds(QStringLiteral("legacy"), 0, 0x10);
    settingsSeeds();
    codesFileSeeds();
    definitionSeeds();
    return 0;
}
