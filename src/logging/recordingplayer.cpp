#include "logging/recordingplayer.h"

#include "base/datetime.h"
#include "definitions/parameterscale.h"
#include "link/reply.h"

#include <QFileInfo>
#include <algorithm>

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
    : QObject(parent), clock_(clock), settings_(settings) {}

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
    slotOf_.clear();
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
    case ReplayRecord::Kind::ManufacturerChannel:
        giveManufacturerSlot(record);
        break;
    case ReplayRecord::Kind::Definitions:
        definitionFiles_ = record.files;
        emit labelsChanged();
        break;
    case ReplayRecord::Kind::Data:
        if (record.isManufacturer())
            showManufacturerValue(record);
        else
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

ReplaySlot* RecordingPlayer::newSlot(int code, const QString& name) {
    if (slotCount_ >= kReplaySlots || slotOf_.contains(code)) return nullptr;
    const int index = slotCount_++;
    ReplaySlot& slot = slots_[size_t(index)];
    slot.pid = code;
    slot.name = name;
    const Choice choice = choices_.value(code);
    slot.showGauge = choice.showGauge;
    slot.plot = choice.plot;
    slotOf_.insert(code, index);
    return &slot;
}

void RecordingPlayer::giveSlot(const ReplayRecord& record) {
    QString name = record.text.trimmed();
    if (name.isEmpty()) name = parameterName(record.pid);
    if (name.isEmpty()) name = QStringLiteral("PID %1").arg(record.pid);
    ReplaySlot* slot = newSlot(record.pid, name);
    if (!slot) return;
    slot->scale = slotScale(record.pid, slot->name, settings_);
    emit slotsChanged();
}

// A manufacturer channel: the scale its definition gave, else a plain percentage.
void RecordingPlayer::giveManufacturerSlot(const ReplayRecord& record) {
    ReplaySlot* slot = newSlot(record.pid, record.text.trimmed());
    if (!slot) return;
    slot->scale = parameterScale(slot->name, record.units, record.minimum, record.maximum)
                      .value_or(slotScale(-1, slot->name, settings_));
    slot->units = record.units;
    emit slotsChanged();
}

int RecordingPlayer::valueSlot(const ReplayRecord& record) {
    recordTime_ = dateTimeText(fromDateValue(sectionStart_ + record.time / 86400.0));
    emit labelsChanged();
    return slotOf_.value(record.pid, -1);
}

void RecordingPlayer::showData(const ReplayRecord& record) {
    const int index = valueSlot(record);
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
    plot(slot, out.needle, record.time);
}

void RecordingPlayer::plot(ReplaySlot& slot, double needle, double time) {
    if (!slot.plot) return;
    slot.history.push_front(float(needle));
    slot.times.push_front(time);
    if (slot.history.size() > size_t(kReplayHistory)) {
        slot.history.pop_back();
        slot.times.pop_back();
    }
    emit plotted();
}

void RecordingPlayer::showManufacturerValue(const ReplayRecord& record) {
    const int index = valueSlot(record);
    if (index < 0) return;
    ReplaySlot& slot = slots_[size_t(index)];
    bool ok = false;
    const double value = record.text.trimmed().toDouble(&ok);
    const QString number = record.text.trimmed();
    slot.value = !ok ? QString() : slot.units.isEmpty() ? number : number + QLatin1Char(' ') + slot.units;
    emit slotChanged(index);
    if (!ok) return;
    const GaugeScale& s = slot.scale;
    const double needle =
        s.maximum > s.minimum ? std::clamp((value - s.minimum) / (s.maximum - s.minimum) * 100, 0.0, 100.0) : 0.0;
    const qsizetype point = number.indexOf(QLatin1Char('.'));
    slot.gauge = GaugeFeed{needle, value, point < 0 ? 0 : int(number.size() - point - 1)};
    emit gaugeFed(index);
    plot(slot, needle, record.time);
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
    choices_[slots_[size_t(index)].pid].showGauge = checked;
    emit slotsChanged();
}

void RecordingPlayer::setPlot(int index, bool checked) {
    if (index < 0 || index >= kReplaySlots || !slots_[size_t(index)].used()) return;
    ReplaySlot& slot = slots_[size_t(index)];
    slot.plot = checked;
    choices_[slot.pid].plot = checked;
    if (!checked) {
        slot.history.clear();
        slot.times.clear();
    }
    emit slotsChanged();
    emit plotted();
}

} // namespace zelcor
