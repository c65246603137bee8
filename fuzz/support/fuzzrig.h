#pragma once
// What the fuzz targets share: the input taken apart, a clock that moves only when waited
// on, a host that answers nothing, a port that answers every command with the next
// scripted reply, and a scratch folder for the files a target reads.

#include "base/clock.h"
#include "base/host.h"
#include "config/settings.h"
#include "link/link.h"
#include "link/port.h"
#include "link/reply.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace zelcor::fuzz {

// Reads a fuzz input from the front: single bytes that choose the set-up, then the rest.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    // The next byte; 0 once the input is used up.
    uint8_t takeByte() { return used_ < size_ ? data_[used_++] : 0; }
    // Everything not taken yet.
    QByteArray rest() const {
        return QByteArray(reinterpret_cast<const char*>(data_ + used_), qsizetype(size_ - used_));
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};

// The header layout a set-up byte chooses: 0 legacy, 1 CAN 11-bit, 2 CAN 29-bit, and so on round.
HeaderLayout layoutFrom(uint8_t byte);
// The selected controller a set-up byte chooses: two hex digits, none for 0.
QString controllerFrom(uint8_t byte);
// The scripted replies of an input: the text between NUL bytes (a reply never holds one).
QList<QByteArray> repliesOf(const QByteArray& text);

// Stops the run (so libFuzzer saves the input) when a property the program relies on fails.
void require(bool holds, const char* what);

// Time moves a quarter second at every wait step: a second's wait costs four steps.
class StepClock : public Clock {
public:
    double now() const override { return now_; }
    void yield() override { now_ += 0.25; }

private:
    double now_ = 1000;
};

// Every message box is answered "Ok", every dialog cancelled.
class SilentHost : public Host {
public:
    MessageAnswer message(const QString&, const QString&, MessageIcon, MessageButtons, MessageAnswer answer) override {
        return answer;
    }
    QString saveFileName(const SaveDialogRequest&) override { return {}; }
    QString openFileName(const OpenDialogRequest&) override { return {}; }
    void setClipboardText(const QString&) override {}
    void openFile(const QString&) override {}
    void openUrl(const QString&) override {}
};

// An open port that answers each write with the next of its replies, at once.
class ScriptedPort : public Port {
    Q_OBJECT
public:
    void setReplies(QList<QByteArray> replies);

    bool open(int) override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    void write(const QByteArray& bytes) override;
    qint64 bytesWaiting() override { return input_.size(); }
    QByteArray readAll() override;
    int errorNumber() const override { return 0; }
    QString errorDescription() const override { return {}; }
    QString deviceName(int) const override { return {}; }

private:
    QList<QByteArray> replies_;
    qsizetype next_ = 0;
    QByteArray input_;
};

// A folder of this process for the files a target reads (removed at exit).
QString scratchFolder();
// Replaces `name` in the scratch folder by `bytes`; returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// A link to a scripted adapter, as the targets that read through the link drive it.
struct LinkRig {
    StepClock clock;
    ScriptedPort port;
    SilentHost host;
    Settings settings;
    Link link{clock, port, host, settings, scratchFolder()};
};

} // namespace zelcor::fuzz
