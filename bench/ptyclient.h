#pragma once
// What the benches share: the simulated adapter on a pseudo-terminal served by a thread
// of its own, and a plain blocking client that writes a request and reads to the prompt,
// as a serial program would.

#include "sim/ptyserver.h"

#include <QByteArray>
#include <QThread>
#include <poll.h>
#include <unistd.h>

namespace zelcor::bench {

class ServerThread {
public:
    explicit ServerThread(const sim::Options& options) {
        thread_.start();
        context_.moveToThread(&thread_);
        QMetaObject::invokeMethod(
            &context_,
            [this, options] {
                server_ = new sim::PtyServer(options);
                if (server_->start()) path_ = server_->devicePath();
            },
            Qt::BlockingQueuedConnection);
    }
    ~ServerThread() {
        QMetaObject::invokeMethod(
            &context_, [this] { delete server_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    QString path() const { return path_; }

private:
    QThread thread_;
    QObject context_;
    sim::PtyServer* server_ = nullptr;
    QString path_;
};

// Writes `command` and reads up to the prompt; false after 5 s without one.
inline bool roundTrip(int fd, const QByteArray& command) {
    if (::write(fd, command.constData(), size_t(command.size())) != command.size()) return false;
    char buffer[512];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        if (buffer[n - 1] == '>') return true;
    }
}

} // namespace zelcor::bench
