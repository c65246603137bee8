#pragma once
// What the adapter has said and the client has not yet been handed: chunks of bytes with
// the time the adapter produced them and the line rate it sent them at. Delivery adds the
// serial line's transmission time (one character after another) and a fixed link latency.

#include <QByteArray>
#include <deque>

namespace zelcor::sim {

class OutputQueue {
public:
    // Whether characters take their time on the line, and the extra delay of the link.
    void configure(bool lineTiming, double latency);
    // The rate of the chunks pushed from now on (baud).
    void setLineRate(int baud) { rate_ = baud; }
    int lineRate() const { return rate_; }
    // A line that fails above `baud` (0: never): chunks sent faster than that and longer
    // than a banner reach the client as junk.
    void setFailingAbove(int baud) { failingAbove_ = baud; }

    // Bytes produced at `due`. `tag` marks the command they answer (0 = none), so that an
    // interrupted command's remaining output can be withdrawn.
    void push(double due, const QByteArray& bytes, int tag = 0);
    // Withdraws the chunks of command `tag` produced after `time`.
    void cancel(int tag, double time);

    // When the next chunk reaches the client; +infinity when nothing is queued.
    double nextDelivery() const;
    // When everything queued has reached the client (-infinity when nothing is queued).
    double drainTime() const;
    // When the serial line has sent everything queued (the link's latency not counted).
    double lineBusyUntil() const;
    // Everything that has reached the client by `now`, removed from the queue. A client
    // reading at another rate than a chunk was sent at (`readerRate`; 0: a link without
    // a rate) gets junk for it.
    QByteArray take(double now, int readerRate = 0);
    void clear() { chunks_.clear(); }
    bool isEmpty() const { return chunks_.empty(); }

private:
    struct Chunk {
        double due;
        QByteArray bytes;
        int tag;
        int rate;
    };
    // End of the chunk's transmission, given when the line became free.
    double sent(const Chunk& chunk, double lineFree) const;

    std::deque<Chunk> chunks_;
    double lineFree_ = -1e300;
    bool lineTiming_ = false;
    double latency_ = 0;
    int rate_ = 38400;
    int failingAbove_ = 0;
};

// Two line rates a receiver and a sender get along at: within 3 % of each other (0: a link
// without a rate gets along with any).
bool sameRate(int a, int b);

// What a receiver set to another rate makes of `bytes`: one junk byte each, never a
// carriage return or a prompt.
QByteArray misread(const QByteArray& bytes);

} // namespace zelcor::sim
