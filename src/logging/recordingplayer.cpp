#include "logging/recordingplayer.h"

#include "base/datetime.h"
#include "live/chaninfo.h"
#include "vehicle/decodepid.h"
#include "vehicle/pidnames.h"

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
    ChannelInfo info;
    if (chaninfo(pid, settings, info) && info.maximum > info.minimum && info.tick > 0 && info.step > 0) {
        scale.units = info.units;
        scale.minimum = info.minimum;
        scale.maximum = info.maximum;
        scale.tick = info.tick;
        scale.step = info.step;
        scale.decimals = std::max(info.decimals, 0);
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
    path = file;
    title = QFileInfo(file).fileName();
    marks.clear();
    ReplayRecord record;
    while (reader_.next(record)) {
        if (record.kind == ReplayRecord::Kind::Mark) marks.append(record.text);
    }
    skippedLines_ = reader_.skippedLines();
    reader_.rewind();
    markIndex = marks.isEmpty() ? -1 : 0;
    emit labelsChanged();
    return true;
}

void RecordingPlayer::initform() {
    for (ReplaySlot& slot : replaySlots)
        slot = ReplaySlot();
    slotOf_.fill(-1);
    slotCount = 0;
    emit slotsChanged();
    emit plotted();
}

bool RecordingPlayer::mustEnd() const {
    return controls.closeRequested || clock_.waitsAbandoned();
}

void RecordingPlayer::playing() {
    if (running_) return;
    running_ = true;
    previousTime_.reset();
    ReplayRecord record;
    while (!mustEnd()) {
        while (!controls.play && !mustEnd())
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
        if (controls.step) {
            controls.endStep();
            emit controlsChanged();
        }
    }
    running_ = false;
    if (!controls.closeRequested && controls.play) {
        controls.setPlay(false);
        emit controlsChanged();
    }
    emit finished();
    if (controls.closeRequested) emit closed();
}

bool RecordingPlayer::pace(double seconds) {
    if (previousTime_) {
        const double due = seconds - *previousTime_;
        for (;;) {
            if (mustEnd()) return false;
            const double speed = controls.speedFactor();
            if (jumped_ || controls.step || controls.fast || speed <= 0 || due <= 0 ||
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
    Label2 = record.text;
    initform();
    sectionStart_ = record.date;
    previousTime_.reset();
    Label1 = dateTimeText(fromDateValue(sectionStart_));
    emit labelsChanged();
}

void RecordingPlayer::giveSlot(const ReplayRecord& record) {
    if (slotCount >= kReplaySlots || slotOf_[size_t(record.pid)] >= 0) return;
    const int index = slotCount++;
    ReplaySlot& slot = replaySlots[size_t(index)];
    slot.pid = record.pid;
    slot.name = record.text.trimmed();
    if (slot.name.isEmpty()) slot.name = pidname(record.pid);
    if (slot.name.isEmpty()) slot.name = QStringLiteral("PID %1").arg(record.pid);
    slot.scale = slotScale(record.pid, slot.name, settings_);
    slot.showGauge = choices_[size_t(record.pid)].showGauge;
    slot.plot = choices_[size_t(record.pid)].plot;
    slotOf_[size_t(record.pid)] = index;
    emit slotsChanged();
}

void RecordingPlayer::showData(const ReplayRecord& record) {
    Label1 = dateTimeText(fromDateValue(sectionStart_ + record.time / 86400.0));
    emit labelsChanged();
    const int index = slotOf_[size_t(record.pid)];
    if (index < 0) return;
    ReplaySlot& slot = replaySlots[size_t(index)];
    PidOutputs out;
    slot.value = decodepid(record.pid, record.text, record.text.mid(4, 2), settings_, out);
    emit slotChanged(index);
    if (out.needle < 0) return;
    slot.gauge = GaugeFeed{out.needle, out.value.value_or(0), std::max(out.decimals.value_or(0), 0)};
    emit gaugeFed(index);
    if (slot.plot) {
        slot.history.push_front(float(out.needle));
        if (slot.history.size() > size_t(kReplayHistory)) slot.history.pop_back();
        emit plotted();
    }
}

void RecordingPlayer::Command1_Click() {
    controls.closeRequested = true;
    if (!running_) emit closed();
}

void RecordingPlayer::Command2_Click() {
    if (markIndex < 0 || markIndex >= marks.size()) return;
    reader_.rewind();
    ReplayRecord record;
    while (reader_.next(record)) {
        if (record.kind == ReplayRecord::Kind::Mark && record.text == marks.at(markIndex)) {
            reader_.seek(reader_.recordPosition());
            jumped_ = running_;
            controls.setStep(true);
            emit controlsChanged();
            playing();
            return;
        }
    }
}

void RecordingPlayer::playClicked(bool checked) {
    controls.setPlay(checked);
    emit controlsChanged();
    if (checked) resume();
}

void RecordingPlayer::stepClicked(bool checked) {
    controls.setStep(checked);
    emit controlsChanged();
    if (checked) resume();
}

void RecordingPlayer::fastClicked(bool held) {
    controls.setFast(held);
    emit controlsChanged();
    if (held) resume();
}

void RecordingPlayer::resume() {
    if (running_) return;
    if (reader_.atEnd()) reader_.rewind();
    playing();
}

void RecordingPlayer::Check1_Click(int index, bool checked) {
    if (index < 0 || index >= kReplaySlots || !replaySlots[size_t(index)].used()) return;
    replaySlots[size_t(index)].showGauge = checked;
    choices_[size_t(replaySlots[size_t(index)].pid)].showGauge = checked;
    emit slotsChanged();
}

void RecordingPlayer::Check2_Click(int index, bool checked) {
    if (index < 0 || index >= kReplaySlots || !replaySlots[size_t(index)].used()) return;
    ReplaySlot& slot = replaySlots[size_t(index)];
    slot.plot = checked;
    choices_[size_t(slot.pid)].plot = checked;
    if (!checked) slot.history.clear();
    emit slotsChanged();
    emit plotted();
}

} // namespace zelcor
