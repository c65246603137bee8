#include "sim/garbageflood.h"

#include <algorithm>
#include <limits>

namespace zelcor::sim {

namespace {

// What stands at the start of every block: enough to look like an adapter and a car.
const QByteArray mixedIn = QByteArrayLiteral("\rELM327 v1.5\r7E8 06 41 00 BE 3F A8 13\r\r>");
constexpr qint64 mostPiecesAtOnce = 8;

} // namespace

void GarbageFlood::start(double now) {
    if (running_) return;
    running_ = true;
    start_ = now;
    pieces_ = 0;
}

double GarbageFlood::nextPiece() const {
    if (!running_) return std::numeric_limits<double>::infinity();
    return start_ + double(pieces_) * step;
}

QByteArray GarbageFlood::take(double now, qsizetype bytesPerPiece) {
    QByteArray out;
    if (!running_ || now < nextPiece() || bytesPerPiece <= 0) return out;
    const qint64 due = qint64((now - start_) / step) + 1 - pieces_;
    if (due > mostPiecesAtOnce) pieces_ += due - mostPiecesAtOnce;
    out.reserve(qsizetype(std::min(due, mostPiecesAtOnce)) * bytesPerPiece);
    for (; nextPiece() <= now; ++pieces_)
        for (qsizetype k = 0; k < bytesPerPiece; ++k)
            out.append(nextByte());
    return out;
}

char GarbageFlood::nextByte() {
    const qint64 inBlock = sent_++ % blockSize;
    if (inBlock < mixedIn.size()) return mixedIn[qsizetype(inBlock)];
    // xorshift64*: cheap, and the same sequence on every run.
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return char((state_ * 0x2545F4914F6CDD1Dull) >> 56);
}

} // namespace zelcor::sim
