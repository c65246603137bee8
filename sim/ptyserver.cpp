#include "sim/ptyserver.h"

#include "sim/linerate.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zelcor::sim {

namespace {

// Output the client does not read is dropped beyond this.
constexpr qsizetype unsentLimit = 1 << 16;
// After the unplug fault the last answer may still be read for this long (5 ms steps).
constexpr int drainSteps = 100;
constexpr int drainSettle = 4;

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyServer::PtyServer(QObject* parent) : PtyServer(realTimeOptions(), parent) {}

PtyServer::PtyServer(const Options& options, QObject* parent) : QObject(parent), runner_(options) {
    connect(&runner_, &RealtimeRunner::output, this, [this](const QByteArray& bytes) {
        if (unsent_.size() + bytes.size() <= unsentLimit) unsent_.append(bytes);
        flush();
    });
    connect(&runner_, &RealtimeRunner::unplugged, this, [this] { unplugWhenRead(drainSteps); });
    // The adapter hears the client only at its own rate: the rate the client set is read
    // off the line before each exchange.
    runner_.setClientRateSource([this] { return master_ >= 0 ? terminalRate(master_) : 0; });
}

PtyServer::~PtyServer() {
    closeAll();
}

bool PtyServer::start(QString* error) {
    auto fail = [this, error](const char* what) {
        if (error) *error = systemError(what);
        closeAll();
        return false;
    };
    if (master_ >= 0) return true;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("grantpt/unlockpt");
    const char* name = ptsname(master_);
    if (!name) return fail("ptsname");
    path_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) return fail("open slave");
    // Raw bytes, 38400 baud, as a serial adapter.
    termios tio{};
    if (tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B38400);
    cfsetospeed(&tio, B38400);
    if (tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) return fail("fcntl");
    reader_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(reader_, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    writer_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writer_->setEnabled(false);
    connect(writer_, &QSocketNotifier::activated, this, &PtyServer::flush);
    return true;
}

void PtyServer::readMaster() {
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            runner_.feed(QByteArray(buffer, n));
            if (master_ < 0) // the feed unplugged the device
                return;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        // Nobody on the slave side (cannot happen while our own slave descriptor is open):
        // look again a little later instead of spinning.
        reader_->setEnabled(false);
        QTimer::singleShot(50, this, [this] {
            if (reader_) reader_->setEnabled(true);
        });
        return;
    }
}

void PtyServer::flush() {
    if (master_ < 0) {
        unsent_.clear();
        return;
    }
    while (!unsent_.isEmpty()) {
        const ssize_t n = ::write(master_, unsent_.constData(), size_t(unsent_.size()));
        if (n > 0) {
            unsent_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break; // full: wait until the client reads
    }
    writer_->setEnabled(!unsent_.isEmpty());
}

void PtyServer::unplugWhenRead(int steps) {
    // Closing the master throws away what the client has not read yet; the answers
    // sent before the plug was pulled should still arrive. The kernel hands what was
    // written on to the slave side a little later, so look only after a short while.
    int waiting = 0;
    const bool settling = steps > drainSteps - drainSettle;
    if (slave_ >= 0 && steps > 0 &&
        (settling || (::ioctl(slave_, FIONREAD, &waiting) == 0 && waiting > 0) || !unsent_.isEmpty())) {
        QTimer::singleShot(5, this, [this, steps] { unplugWhenRead(steps - 1); });
        return;
    }
    unplug();
}

void PtyServer::unplug() {
    if (master_ < 0) return;
    closeAll();
    emit unplugged();
}

void PtyServer::closeAll() {
    delete reader_;
    reader_ = nullptr;
    delete writer_;
    writer_ = nullptr;
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    unsent_.clear();
}

} // namespace zelcor::sim
