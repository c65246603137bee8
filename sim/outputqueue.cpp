#include "sim/outputqueue.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace zelcor::sim {

bool sameRate(int a, int b) {
    return a == 0 || b == 0 || std::abs(a - b) * 100 <= 3 * std::max(a, b);
}

QByteArray misread(const QByteArray& bytes) {
    QByteArray junk = bytes;
    for (char& c : junk)
        c = char(0x80 | ((quint8(c) * 37 + 11) & 0x7F));
    return junk;
}

void OutputQueue::configure(bool lineTiming, double latency) {
    lineTiming_ = lineTiming;
    latency_ = latency;
}

void OutputQueue::push(double due, const QByteArray& bytes, int tag) {
    if (bytes.isEmpty()) return;
    // Keep the queue in order of production; equal times keep the order of arrival.
    auto at = std::upper_bound(chunks_.begin(), chunks_.end(), due,
                               [](double time, const Chunk& chunk) { return time < chunk.due; });
    if (at != chunks_.begin()) {
        Chunk& before = *(at - 1);
        if (before.due == due && before.tag == tag && before.rate == rate_) {
            before.bytes.append(bytes);
            return;
        }
    }
    chunks_.insert(at, Chunk{due, bytes, tag, rate_});
}

void OutputQueue::cancel(int tag, double time) {
    std::erase_if(chunks_, [tag, time](const Chunk& chunk) { return chunk.tag == tag && chunk.due > time; });
}

double OutputQueue::sent(const Chunk& chunk, double lineFree) const {
    const double characterTime = lineTiming_ ? 10.0 / chunk.rate : 0; // start bit, 8 data bits, stop bit
    return std::max(chunk.due, lineFree) + double(chunk.bytes.size()) * characterTime;
}

double OutputQueue::nextDelivery() const {
    if (chunks_.empty()) return std::numeric_limits<double>::infinity();
    return sent(chunks_.front(), lineFree_) + latency_;
}

double OutputQueue::drainTime() const {
    return chunks_.empty() ? -std::numeric_limits<double>::infinity() : lineBusyUntil() + latency_;
}

double OutputQueue::lineBusyUntil() const {
    double line = lineFree_;
    for (const Chunk& chunk : chunks_)
        line = sent(chunk, line);
    return line;
}

namespace {
// What a failing line still carries intact: a banner and its line end.
constexpr qsizetype kLongestIntact = 16;
} // namespace

QByteArray OutputQueue::take(double now, int readerRate) {
    QByteArray out;
    while (!chunks_.empty()) {
        const double end = sent(chunks_.front(), lineFree_);
        if (end + latency_ > now) break;
        const Chunk& chunk = chunks_.front();
        const bool failing = failingAbove_ > 0 && chunk.rate > failingAbove_ && chunk.bytes.size() > kLongestIntact;
        out.append(sameRate(readerRate, chunk.rate) && !failing ? chunk.bytes : misread(chunk.bytes));
        lineFree_ = end;
        chunks_.pop_front();
    }
    return out;
}

} // namespace zelcor::sim
