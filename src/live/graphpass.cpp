// The graph pass: both traces sampled once, shifted and redrawn.

#include "base/format.h"
#include "base/numbers.h"
#include "live/livedata.h"
#include "live/livereading.h"
#include "live/parameterreader.h"

namespace zelcor {

namespace {

// Default channels of the two traces: intake air temperature left, coolant right.
constexpr int kDefaultLeftCode = pid::intakeAirTemperature;
constexpr int kDefaultRightCode = pid::coolantTemperature;

// One pass over the two traces.
class GraphSweep {
public:
    GraphSweep(PassContext& pass, const Settings& settings, LiveHistory& history, ParameterChannels& parameters)
        : pass_(pass), settings_(settings), history_(history), parameters_(parameters), reader_(pass, settings) {}

    bool anyRequest() const { return anyRequest_; }

    // Where several PIDs go in one request, every PID this pass needs is asked first.
    void askAhead(const std::array<GraphTrace, kGraphTraces>& traces) {
        QList<int> codes;
        QList<int> manufacturer;
        for (const GraphTrace& trace : traces) {
            const int code = trace.channel.code();
            if (!trace.enabled || code == 0) continue;
            if (isManufacturerCode(code)) {
                manufacturer.append(code);
                continue;
            }
            if (code > 995) codes.append(pid::vehicleSpeed);
            if (code == kTorqueCode) codes.append(pid::engineSpeed);
            codes.append(code == kFuelEconomyCode ? pid::airFlow : code);
        }
        reader_.askAhead(codes);
        // The manufacturer channels in one pass over their requests.
        if (!manufacturer.isEmpty() && pass_.mayGoOn()) {
            anyRequest_ = true;
            reader_.readManufacturer(parameters_, manufacturer);
        }
    }

    // The derived channels work from the speed and RPM histories: sample them first.
    void preSample(const std::array<GraphTrace, kGraphTraces>& traces) {
        auto shows = [&](bool (*wanted)(int)) {
            return std::any_of(traces.begin(), traces.end(),
                               [&](const GraphTrace& t) { return t.enabled && wanted(t.channel.code()); });
        };
        if (shows([](int code) { return code > 995 && !isManufacturerCode(code); })) {
            speed_ = request(pid::vehicleSpeed);
            if (const auto v = speed_->number()) history_.pushSpeed(*v, pass_.clock().now());
        }
        if (shows([](int code) { return code == kTorqueCode; })) {
            engineSpeed_ = request(pid::engineSpeed);
            if (const auto v = engineSpeed_->number()) history_.pushEngineSpeed(*v);
        }
    }

    // The sample of a trace showing `code`, and its value label; no sample when the
    // channel gave none, and the label unchanged when no reply came.
    std::optional<float> sample(int code, QString& label) {
        QString caption;
        if (isManufacturerCode(code)) {
            const ChannelValue value = parameters_.value(code);
            label = parameters_.text(code);
            return value.value ? std::optional<float>(float(*value.value)) : std::nullopt;
        }
        switch (code) {
        case kFuelEconomyCode: {
            const LiveReading airFlow = request(pid::airFlow);
            if (const auto v = airFlow.number()) history_.latestAirFlow = *v;
            caption = fuelEconomyText(history_, settings_.poundsPerMinute);
            break;
        }
        case kHorsepowerCode:
            caption = horsepowerText(history_, settings_.vehicleWeight);
            break;
        case kTorqueCode:
            caption = torqueText(history_, settings_.vehicleWeight);
            break;
        default: {
            const std::optional<LiveReading>& pre = code == pid::vehicleSpeed  ? speed_
                                                    : code == pid::engineSpeed ? engineSpeed_
                                                                               : none_;
            const LiveReading reading = pre ? *pre : request(code);
            if (!reading.empty) label = reading.text;
            const std::optional<double> v = reading.number();
            return v ? std::optional<float>(float(*v)) : std::nullopt;
        }
        }
        label = caption;
        return float(leadingNumber(caption));
    }

private:
    LiveReading request(int code) {
        anyRequest_ = true;
        return reader_.read(code);
    }

    PassContext& pass_;
    const Settings& settings_;
    LiveHistory& history_;
    ParameterChannels& parameters_;
    ParameterReader reader_;
    bool anyRequest_ = false;
    std::optional<LiveReading> speed_, engineSpeed_; // this pass's pre-samples
    const std::optional<LiveReading> none_;
};

} // namespace

void LiveData::readGraphs(PassContext& pass) {
    const double passStart = pass.clock().now();
    GraphSweep sweep(pass, settings_, history_, parameters_);
    sweep.askAhead(traces_);
    sweep.preSample(traces_);
    for (int t = 0; t < kGraphTraces; ++t) {
        if (!pass.mayGoOn()) break;
        GraphTrace& trace = traces_[size_t(t)];
        const int code = trace.channel.code();
        std::optional<float> sample;
        if (code == 0)
            defaultTraceSelection(t);
        else if (trace.enabled)
            sample = sweep.sample(code, trace.value);
        // A trace without a new sample repeats its last value.
        graph_.storeSample(t, trace.enabled && sample.has_value(), sample.value_or(0.0f));
    }
    graph_.applyPendingKills();
    emit graphsChanged();

    if (!sweep.anyRequest()) {
        graphPassRate_.clear();
        emit graphsChanged();
        pass.exchange().request(QStringLiteral("0100"));
    } else if (const double elapsed = pass.clock().now() - passStart; elapsed > 0 && pass.ownTimes()) {
        graphPassRate_ = formatNumber(1.0 / elapsed, QStringLiteral("0.0"));
        emit graphsChanged();
    }
}

// Empty selectors after the lists were rebuilt: the left trace shows the intake air
// temperature, the right one the coolant temperature, both enabled.
void LiveData::defaultTraceSelection(int t) {
    if (traces_[size_t(t)].channel.entries.size() > t) selectTraceEntry(t, t);
    const auto selectCode = [this](int trace, int code) {
        const QList<ListEntry>& entries = traces_[size_t(trace)].channel.entries;
        for (int k = 0; k < entries.size(); ++k) {
            if (entries.at(k).code == code) {
                selectTraceEntry(trace, k);
                return;
            }
        }
    };
    selectCode(0, kDefaultLeftCode);
    selectCode(1, kDefaultRightCode);
    for (GraphTrace& trace : traces_)
        trace.enabled = true;
    emit channelsChanged();
}

// Choosing another entry acts like the user's choice: new axis, trace emptied.
void LiveData::selectTraceEntry(int t, int index) {
    ChannelSelector& channel = traces_[size_t(t)].channel;
    if (channel.index == index) return;
    channel.index = index;
    traceChannelChosen(t);
}

} // namespace zelcor
