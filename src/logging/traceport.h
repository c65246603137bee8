#pragma once
// The trace log as the adapter: while a trace is replayed, the link talks to this port,
// which answers every command as the adapter did when the trace was written.
//
// The trace holds the replies that the passes took ("R" lines), in their order, but not
// the adapter's search, set-up and wakeup, which the passes do not take. Those are
// answered as an adapter that accepts every setting answers them: its banner to a reset,
// OK to any other AT command, "?" to an STN chip's own, and the vehicle's answer to the first
// request after a reset (the wakeup's); a setting whose answer the trace holds next, as a pass
// sent it (a controller's header), gets that answer. Every other command gets the next
// recorded reply; one beyond the replies of its recorded pass (the program that wrote the
// trace did not send it) reads as unanswered, NO DATA, and a command after the trace's end
// gets the bare prompt, a link that no longer answers.

#include "link/port.h"
#include "link/tracelog.h"

#include <functional>
#include <optional>

namespace zelcor {

class TracePort : public Port {
    Q_OBJECT
public:
    using Port::Port;

    // Reads the trace at `path` from its beginning; false when it cannot be read.
    bool start(const QString& path);
    void stop();
    // The trace being answered from; the replay reads the lines around each pass from it.
    TraceLog& trace() { return trace_; }
    QString path() const { return trace_.path(); }
    bool atEnd() const { return trace_.atEnd(); }
    // Called with the number of every "L" line (a function list entry clicked) met on the way.
    void setListLineHandler(std::function<void(int)> handler) { onListLine_ = std::move(handler); }
    // Called when a command finds the trace at its end.
    void setEndHandler(std::function<void()> handler) { onEnd_ = std::move(handler); }

    bool open(int number) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override { return waiting_.size(); }
    QByteArray readAll() override;
    int errorNumber() const override { return 0; }
    QString errorDescription() const override { return {}; }
    QString deviceName(int number) const override;
    QString devicePath(int number) const override;

    // What the port says when reset: the adapter's name, and that it is a replay.
    static const QLatin1String kBanner;

private:
    QByteArray answer(const QString& command);
    QByteArray nextReply();
    // The recorded answer of a setting that a pass sent (a controller's header), when the
    // trace holds it next; it is taken from the trace.
    std::optional<QByteArray> recordedSettingAnswer(const QString& command);

    TraceLog trace_;
    bool open_ = false;
    bool reset_ = false; // the adapter was reset, and no request has followed
    QByteArray written_; // a command not ended yet
    QByteArray waiting_; // answers not read yet
    std::function<void(int)> onListLine_;
    std::function<void()> onEnd_;
};

} // namespace zelcor
