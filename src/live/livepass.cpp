// The live-data pass: one request per enabled row, top to bottom, the derived rows
// computed from the rows above them, the gauge feeds, the CSV row and the pass rate.

#include "base/format.h"
#include "link/passbound.h"
#include "live/livedata.h"
#include "live/livereading.h"
#include "live/parameterreader.h"

#include <algorithm>

namespace zelcor {

namespace {

bool isDerived(int code) {
    return code == kFuelEconomyCode || code == kHorsepowerCode || code == kTorqueCode;
}

bool feedsDerived(int code) {
    return code == pid::airFlow || code == pid::engineSpeed || code == pid::vehicleSpeed;
}

} // namespace

void LiveData::readRows(PassContext& pass) {
    bool anyRequest = false;
    SeenFlags seen;
    const double passStart = pass.clock().now();
    if (FastPolling* polling = pass.fastPolling()) polling->passBound().beginPass();
    schedule_.setAutomatic(pass.fastPolling() != nullptr);
    dataLog_.beginPass();
    ParameterReader reader(pass, settings_);
    // Which rows this pass asks is settled before it starts: a choice made meanwhile
    // waits for the next pass.
    const std::array<bool, kLiveRows> due = rowsDue(!pass.ownTimes());
    QList<int> asked;
    for (int i = 0; i < kLiveRows; ++i) {
        const LiveRow& row = rows_[size_t(i)];
        const int code = row.channel.code();
        if (due[size_t(i)] && row.enabled && code != 0 && !isDerived(code) && !isManufacturerCode(code))
            asked.append(code);
    }
    // Under fast polling the requests go out before the rows are handled: each row's lamp
    // lights while the request that carries its PID is in flight.
    reader.askAhead(asked, [this, due](const QList<int>& group, bool on) {
        for (int i = 0; i < kLiveRows; ++i)
            if (due[size_t(i)] && rows_[size_t(i)].enabled && group.contains(rows_[size_t(i)].channel.code()))
                setLamp(i, on);
    });
    readManufacturerRows(pass, reader);
    bool skippedSome = false;
    bool judged = false;      // a request of the pass says whether the car answers
    bool carAnswered = false; // one of them was answered by the car
    for (int i = 0; i < kLiveRows; ++i) {
        const LiveRow& row = rows_[size_t(i)];
        const int code = row.channel.code();
        if (code == 0) {
            defaultRowSelection(i);
        } else if (row.enabled && pass.mayGoOn()) {
            if (isDerived(code)) {
                readDerivedRow(i, code, seen);
            } else if (isManufacturerCode(code)) {
                anyRequest = true;
                showManufacturerRow(i, code);
            } else if (!due[size_t(i)]) {
                skippedSome = true;
                carryRow(i);
            } else {
                anyRequest = true;
                judged = true;
                carAnswered = readParameterRow(pass, reader, i, code, seen) || carAnswered;
            }
        }
    }
    dataLog_.endRow();

    // A pass with no row to ask keeps the link busy with PID 00; one whose rows all wait
    // for their turn asks nothing.
    if (!anyRequest && !skippedSome) {
        passRate_.clear();
        emit livePanelChanged();
        judged = true;
        carAnswered = pass.exchange().request(QStringLiteral("0100")).answers(0x01, 0x00);
    } else if (anyRequest) {
        showPassRate(pass, pass.clock().now() - passStart);
    }
    // Not one answer from the car in the whole pass: it stopped answering (the ignition
    // went off), and the connection wakes the link or waits for the car.
    if (judged && !carAnswered && !pass.exchange().stopRequested() && pass.mayGoOn()) pass.exchange().setLinkLost(true);
}

// The rows the coming pass asks: those whose turn came, and every row a derived row reads
// (its values must be of the same pass). While a trace is replayed, the rows its pass asked.
std::array<bool, kLiveRows> LiveData::rowsDue(bool replaying) const {
    std::array<bool, kLiveRows> due{};
    if (replaying) {
        if (replayedDue_) return *replayedDue_;
        due.fill(true);
        return due;
    }
    const bool derivedShown = std::any_of(
        rows_.begin(), rows_.end(), [](const LiveRow& row) { return row.enabled && isDerived(row.channel.code()); });
    for (int i = 0; i < kLiveRows; ++i)
        due[size_t(i)] = schedule_.due(i) || (derivedShown && feedsDerived(rows_[size_t(i)].channel.code()));
    return due;
}

// A row whose turn did not come keeps its value; the log row carries its latest one.
void LiveData::carryRow(int i) {
    schedule_.skipped(i);
    const Carried& last = carried_[size_t(i)];
    const bool same = last.code == rows_[size_t(i)].channel.code();
    dataLog_.writeField(same ? last.field : QString());
    if (same && !last.reply.isEmpty()) dataLog_.recordReply(last.code, last.reply);
}

void LiveData::scheduleRow(int i, const LiveReading& reading) {
    schedule_.asked(i, reading.reply.toLatin1(), reading.matched, isQuickChannel(rows_[size_t(i)].channel.code()));
    carried_[size_t(i)] = Carried{reading.matched ? reading.logValue() : QString(),
                                  reading.matched ? reading.reply : QString(), rows_[size_t(i)].channel.code()};
}

// "13.2 /sec, 94 %": passes per second, and how near the line's limit they come. A
// replayed pass waits for nothing, so its time says nothing about the car.
void LiveData::showPassRate(PassContext& pass, double elapsed) {
    if (!(elapsed > 0) || !pass.ownTimes()) return;
    std::optional<double> bound;
    if (const FastPolling* polling = pass.fastPolling()) {
        const PassBound& model = polling->passBound();
        if (const auto shortest = model.shortest(model.currentPass()); shortest && *shortest > 0)
            bound = 1.0 / *shortest;
    }
    passRate_ = passRateText(1.0 / elapsed, bound);
    emit livePanelChanged();
}

// After the lists are rebuilt, row i shows the i-th channel.
void LiveData::defaultRowSelection(int i) {
    ChannelSelector& channel = rows_[size_t(i)].channel;
    if (channel.entries.size() > i) {
        channel.index = i;
        emit rowChanged(i);
    }
}

void LiveData::setLamp(int i, bool on) {
    rows_[size_t(i)].lamp = on;
    emit rowChanged(i);
}

void LiveData::feedGauge(int i, const GaugeFeed& feed) {
    LiveRow& row = rows_[size_t(i)];
    if (!row.showGauge) return;
    row.gauge = feed;
    emit gaugeFed(i);
}

// The logging lamp alternates between lit and its normal colour with every value
// received while logging.
void LiveData::blinkLogLamp() {
    const bool wasLit = logLampLit_;
    logLampLit_ = !wasLit && dataLog_.logging();
    if (logLampLit_ != wasLit) emit livePanelChanged();
}

void LiveData::readDerivedRow(int i, int code, const SeenFlags& seen) {
    LiveRow& row = rows_[size_t(i)];
    setLamp(i, true);
    const DerivedRow derived = derivedRow(code, history_, seen, settings_);
    row.value = derived.text;
    row.number.reset();
    if (derived.gauge) {
        row.number = derived.gauge->value;
        row.units = channelInfo(code, settings_).value_or(ChannelInfo{}).units;
        feedGauge(i, *derived.gauge);
    }
    dataLog_.writeField(derived.text);
    setLamp(i, false);
}

bool LiveData::readParameterRow(PassContext& pass, ParameterReader& reader, int i, int code, SeenFlags& seen) {
    LiveRow& row = rows_[size_t(i)];
    setLamp(i, true);
    const LiveReading reading = reader.read(code);
    if (!reading.empty) {
        blinkLogLamp();
        row.value = reading.text;
        row.number = reading.number();
        row.units = reading.decoded.units;
        // A rejected reply (another controller, a negative answer) has no value of its
        // own: its log field stays empty and the shared values keep theirs.
        dataLog_.writeField(reading.matched ? reading.logValue() : QString());
        if (reading.matched) dataLog_.recordReply(code, reading.reply);
        // The value box repaints at once, with the lamp still lit.
        emit rowChanged(i);
        if (reading.decoded.needle >= 0) feedGauge(i, reading.gaugeFeed());
        if (const auto value = reading.number()) share(code, *value, pass.clock().now(), seen);
    } else {
        // No reply at all: the row keeps its value, and its log field is empty so that the
        // values after it stay under their own headers.
        dataLog_.writeField(QString());
    }
    scheduleRow(i, reading);
    setLamp(i, false);
    return reading.fromCar;
}

// The enabled manufacturer rows in one pass over their requests, each request asked once
// whatever number of rows it feeds; their lamps are lit meanwhile.
void LiveData::readManufacturerRows(PassContext& pass, ParameterReader& reader) {
    QList<int> codes;
    for (const LiveRow& row : rows_)
        if (row.enabled && isManufacturerCode(row.channel.code())) codes.append(row.channel.code());
    if (codes.isEmpty() || !pass.mayGoOn()) return;
    for (int i = 0; i < kLiveRows; ++i)
        if (rows_[size_t(i)].enabled && isManufacturerCode(rows_[size_t(i)].channel.code())) setLamp(i, true);
    reader.readManufacturer(parameters_, codes);
}

void LiveData::showManufacturerRow(int i, int code) {
    LiveRow& row = rows_[size_t(i)];
    const ChannelValue value = parameters_.value(code);
    row.value = parameters_.text(code);
    row.problem = value.value ? QString() : value.problem;
    row.number = value.value;
    row.units = row.number ? parameters_.info(code).value_or(ChannelInfo{}).units : QString();
    if (value.value) blinkLogLamp();
    dataLog_.writeField(parameters_.logValue(code));
    if (value.value) dataLog_.recordValue(code, parameters_.logValue(code));
    if (value.value) feedGauge(i, parameters_.gaugeFeed(code));
    setLamp(i, false);
}

// The values the derived rows and the graphs read.
void LiveData::share(int code, double value, double now, SeenFlags& seen) {
    if (code == pid::airFlow) {
        history_.latestAirFlow = value;
        seen.airFlowSeen = true;
    } else if (code == pid::engineSpeed) {
        history_.pushEngineSpeed(value);
        seen.engineSpeedSeen = true;
    } else if (code == pid::vehicleSpeed) {
        history_.pushSpeed(value, now);
        seen.speedSeen = true;
    }
}

} // namespace zelcor
