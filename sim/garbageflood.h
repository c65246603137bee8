#pragma once
// A hostile peer's stream: pseudo-random bytes without end, with the adapter's banner, a
// sound answer to 0100 and a prompt mixed in at the start of every block. The same
// times always give the same bytes.

#include <QByteArray>
#include <QtGlobal>

namespace zelcor::sim {

class GarbageFlood {
public:
    static constexpr qsizetype blockSize = 64 * 1024;
    static constexpr double step = 0.01; // the stream comes in pieces this often

    // The stream runs from `now` on (a running one goes on as it was).
    void start(double now);
    void stop() { running_ = false; }
    bool running() const { return running_; }
    // When the next piece is due; +infinity while stopped.
    double nextPiece() const;
    // The pieces due by `now`, `bytesPerPiece` each. A peer far behind (a stalled event
    // loop) loses the older ones rather than catching up at once.
    QByteArray take(double now, qsizetype bytesPerPiece);

private:
    char nextByte();

    bool running_ = false;
    double start_ = 0;
    qint64 pieces_ = 0;
    qint64 sent_ = 0;
    quint64 state_ = 0x9E3779B97F4A7C15ull;
};

} // namespace zelcor::sim
