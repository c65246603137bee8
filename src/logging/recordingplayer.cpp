#include "logging/recordingplayer.h"

#include "base/datetime.h"
#include "link/reply.h"

#include <QFileInfo>

namespace zelcor {

namespace {

// At "Max" the loop still lets the window repaint this often (seconds).
constexpr double kMaxSpeedYieldInterval = 0.02;
constexpr int kMaxUnpacedRecords = 64;

// The scale of a slot's gauge: the live-data gauge of the channel where there is one,
// else the channel's range, else a plain percentage.
GaugeScale slotScale(int pid, const QString& name, const Settings& settings) {
    if (const auto scale = gaugeScale(pid, settings)) return *scale;
    GaugeScale scale;
    scale.name = name;
    const std::optional<ChannelInfo> info = channelInfo(pid, settings);
    if (info && info->maximum > info->minimum && info->tick > 0 && info->step > 0) {
        scale.units = info->units;
        scale.minimum = info->minimum;
        scale.maximum = info->maximum;
        scale.tick = info->tick;
        scale.step = info->step;
        scale.decimals = std::max(info->decimals, 0);
    } else {
        scale.units = QStringLiteral("%");
        scale.maximum = 100;
        scale.tick = 5;
        scale.step = 20;
    }
    return scale;
}

} // namespace

RecordingPlayer::RecordingPlayer(Clock& clock, const Settings& settings, QObject* parent)
    : QObject(parent), clock_(clock), settings_(settings) {
    slotOf_.fill(-1);
}

bool RecordingPlayer::open(const QString& file, QString* error) {
    if (!reader_.open(file)) {
        if (error) *error = reader_.errorString();
        return false;
    }
    path_ = file;
    title_ = QFileInfo(file).fileName();
    marks_.clear();
    ReplayRecord record;
    while (reader_.next(record)) {
        if (record.kind == ReplayRecord::Kind::Mark) marks_.append(record.text);
    }
    skippedLines_ = reader_.skippedLines();
    reader_.rewind();
    markIndex_ = marks_.isEmpty() ? -1 : 0;
    emit labelsChanged();
    return true;
}

void RecordingPlayer::emptySlots() {
    for (ReplaySlot& slot : slots_)
        slot = ReplaySlot();
    slotOf_.fill(-1);
    slotCount_ = 0;
    emit slotsChanged();
    emit plotted();
}

bool RecordingPlayer::mustEnd() const {
    return controls_.closeRequested || clock_.waitsAbandoned();
}

void RecordingPlayer::runPlayLoop() {
    if (running_) return;
    running_ = true;
    previousTime_.reset();
    ReplayRecord record;
    while (!mustEnd()) {
        while (!controls_.play && !mustEnd())
            clock_.yield();
        if (mustEnd() || !reader_.next(record)) break;
        jumped_ = false;
        if (record.kind == ReplayRecord::Kind::Data && !pace(record.time)) break;
        if (jumped_) { // the record in hand lies before the mark jumped to
            jumped_ = false;
            previousTime_.reset();
            continue;
        }
        show(record);
        if (controls_.step) {
            controls_.endStep();
            emit controlsChanged();
        }
    }
    running_ = false;
    if (!controls_.closeRequested && controls_.play) {
        controls_.setPlay(false);
        emit controlsChanged();
    }
    emit finished();
    if (controls_.closeRequested) emit closed();
}

bool RecordingPlayer::pace(double seconds) {
    if (previousTime_) {
        const double due = seconds - *previousTime_;
        for (;;) {
            if (mustEnd()) return false;
            const double speed = controls_.speedFactor();
            if (jumped_ || controls_.step || controls_.fast || speed <= 0 || due <= 0 ||
                (clock_.now() - previousClock_) * speed >= due)
                break;
            clock_.yield();
        }
    }
    // Without waits the window still repaints and takes clicks now and then.
    if (++unpacedRecords_ >= kMaxUnpacedRecords || clock_.now() - lastYield_ >= kMaxSpeedYieldInterval) {
        unpacedRecords_ = 0;
        lastYield_ = clock_.now();
        clock_.yield();
    }
    previousTime_ = seconds;
    previousClock_ = clock_.now();
    return !mustEnd();
}

void RecordingPlayer::show(const ReplayRecord& record) {
    switch (record.kind) {
    case ReplayRecord::Kind::Mark:
        showMark(record);
        break;
    case ReplayRecord::Kind::Channel:
        giveSlot(record);
        break;
    case ReplayRecord::Kind::Data:
        showData(record);
        break;
    }
}

void RecordingPlayer::showMark(const ReplayRecord& record) {
    markText_ = record.text;
    emptySlots();
    sectionStart_ = record.date;
    previousTime_.reset();
    recordTime_ = dateTimeText(fromDateValue(sectionStart_));
    emit labelsChanged();
}

void RecordingPlayer::giveSlot(const ReplayRecord& record) {
    if (slotCount_ >= kReplaySlots || slotOf_[size_t(record.pid)] >= 0) return;
    const int index = slotCount_++;
    ReplaySlot& slot = slots_[size_t(index)];
    slot.pid = record.pid;
    slot.name = record.text.trimmed();
    if (slot.name.isEmpty()) slot.name = parameterName(record.pid);
    if (slot.name.isEmpty()) slot.name = QStringLiteral("PID %1").arg(record.pid);
    slot.scale = slotScale(record.pid, slot.name, settings_);
    slot.showGauge = choices_[size_t(record.pid)].showGauge;
    slot.plot = choices_[size_t(record.pid)].plot;
    slotOf_[size_t(record.pid)] = index;
    emit slotsChanged();
}

void RecordingPlayer::showData(const ReplayRecord& record) {
    recordTime_ = dateTimeText(fromDateValue(sectionStart_ + record.time / 86400.0));
    emit labelsChanged();
    const int index = slotOf_[size_t(record.pid)];
    if (index < 0) return;
    ReplaySlot& slot = slots_[size_t(index)];
    // A recorded reply is decoded whichever controller sent it.
    const Reply reply = parseReply(record.text);
    const Decoded out = reply.isSound() && reply.service == 0x41 && reply.parameter == record.pid
                            ? decodeParameter(record.pid, reply.data, settings_)
                            : Decoded{};
    slot.value = out.text;
    emit slotChanged(index);
    if (out.needle < 0) return;
    slot.gauge = GaugeFeed{out.needle, out.value.value_or(0), std::max(out.decimals.value_or(0), 0)};
    emit gaugeFed(index);
    if (slot.plot) {
        slot.history.push_front(float(out.needle));
        slot.times.push_front(record.time);
        if (slot.history.size() > size_t(kReplayHistory)) {
            slot.history.pop_back();
            slot.times.pop_back();
        }
        emit plotted();
    }
}

void RecordingPlayer::close() {
    controls_.closeRequested = true;
    if (!running_) emit closed();
}

void RecordingPlayer::jumpToMark() {
    if (markIndex_ < 0 || markIndex_ >= marks_.size()) return;
    reader_.rewind();
    ReplayRecord record;
    while (reader_.next(record)) {
        if (record.kind == ReplayRecord::Kind::Mark && record.text == marks_.at(markIndex_)) {
            reader_.seek(reader_.recordPosition());
            jumped_ = running_;
            controls_.setStep(true);
            emit controlsChanged();
            runPlayLoop();
            return;
        }
    }
}

void RecordingPlayer::playClicked(bool checked) {
    controls_.setPlay(checked);
    emit controlsChanged();
    if (checked) resume();
}

void RecordingPlayer::stepClicked(bool checked) {
    controls_.setStep(checked);
    emit controlsChanged();
    if (checked) resume();
}

void RecordingPlayer::fastClicked(bool held) {
    controls_.setFast(held);
    emit controlsChanged();
    if (held) resume();
}

void RecordingPlayer::resume() {
    if (running_) return;
    if (reader_.atEnd()) reader_.rewind();
    runPlayLoop();
}

void RecordingPlayer::setShowGauge(int index, bool checked) {
    if (index < 0 || index >= kReplaySlots || !slots_[size_t(index)].used()) return;
    slots_[size_t(index)].showGauge = checked;
    choices_[size_t(slots_[size_t(index)].pid)].showGauge = checked;
    emit slotsChanged();
}

void RecordingPlayer::setPlot(int index, bool checked) {
    if (index < 0 || index >= kReplaySlots || !slots_[size_t(index)].used()) return;
    ReplaySlot& slot = slots_[size_t(index)];
    slot.plot = checked;
    choices_[size_t(slot.pid)].plot = checked;
    if (!checked) {
        slot.history.clear();
        slot.times.clear();
    }
    emit slotsChanged();
    emit plotted();
}

} // namespace zelcor
