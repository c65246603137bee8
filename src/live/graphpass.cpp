// The graph pass (function code 240): both traces sampled once, shifted and redrawn;
// and the clicks of the graph panel that change the channels, the axes and the time zoom.

#include "base/format.h"
#include "base/numbers.h"
#include "core/listentry.h"
#include "core/session.h"
#include "live/chaninfo.h"
#include "live/livereading.h"

namespace zelcor {

namespace {

constexpr int kSpeedCode = 13;
constexpr int kRpmCode = 12;
constexpr int kMafCode = 16;
// Default channels of the two traces: intake air temperature left, coolant right.
constexpr int kDefaultLeftCode = 15;
constexpr int kDefaultRightCode = 5;

class GraphPass {
public:
    explicit GraphPass(Session& session) : s_(session) {}

    void run() {
        s_.FRAME(Panel::D240);
        if (s_.stopflag) return;
        const double passstart = s_.clock.now();
        preSample();
        for (int t = 0; t < 2; ++t) {
            if (s_.funccode != 240 || s_.stopflag) break;
            GraphTraceSelector& trace = s_.graphTraces[size_t(t)];
            const int code = trace.channel.code();
            std::optional<float> sample;
            if (code == 0)
                defaultSelection(t);
            else if (trace.enabled)
                sample = sampleOf(t, code);
            // A trace without a new sample repeats its last value.
            s_.live.graph.storeSample(t, trace.enabled && sample.has_value(), sample.value_or(0.0f));
        }
        s_.live.graph.applyPendingKills();
        emit s_.panelChanged(Panel::D240);

        if (!anyrequest_) {
            s_.live.Text17.clear();
            emit s_.panelChanged(Panel::D240);
            s_.send(QStringLiteral("0100"));
            s_.receive();
        } else if (const double elapsed = s_.clock.now() - passstart; elapsed > 0 && !s_.replaying) {
            s_.live.Text17 = formatNumber(1.0 / elapsed, QStringLiteral("0.0"));
            emit s_.panelChanged(Panel::D240);
        }
    }

private:
    bool shows(int t, bool (*wanted)(int)) const {
        const GraphTraceSelector& trace = s_.graphTraces[size_t(t)];
        return trace.enabled && wanted(trace.channel.code());
    }

    LiveReading request(int code) {
        anyrequest_ = true;
        return readLivePid(s_, code);
    }

    // The derived channels work from the speed and RPM histories: sample them first.
    void preSample() {
        auto derived = [](int code) { return code > 995; };
        auto torque = [](int code) { return code == kTorqueCode; };
        LiveHistory& history = s_.live.history;
        if (shows(0, derived) || shows(1, derived)) {
            speed_ = request(kSpeedCode);
            if (const auto v = speed_->number()) history.pushSpeed(*v, s_.clock.now());
        }
        if (shows(0, torque) || shows(1, torque)) {
            rpm_ = request(kRpmCode);
            if (const auto v = rpm_->number()) history.pushRpm(*v);
        }
    }

    void setLabel(int t, const QString& text) { s_.graphTraces[size_t(t)].value = text; }

    // The value label of trace t and its sample; no sample when the channel gave none.
    std::optional<float> sampleOf(int t, int code) {
        const LiveHistory& history = s_.live.history;
        QString caption;
        switch (code) {
        case kFuelEconomyCode: {
            const LiveReading maf = request(kMafCode);
            if (const auto v = maf.number()) s_.live.history.maflatest = *v;
            caption = fuelEconomyText(history, s_.settings.uselbmin);
            break;
        }
        case kHorsepowerCode:
            caption = horsepowerText(history, s_.settings.vehicleweight);
            break;
        case kTorqueCode:
            caption = torqueText(history, s_.settings.vehicleweight);
            break;
        default: {
            const std::optional<LiveReading>& pre = code == kSpeedCode ? speed_ : code == kRpmCode ? rpm_ : none_;
            const LiveReading reading = pre ? *pre : request(code);
            if (!reading.empty) setLabel(t, reading.text);
            const std::optional<double> v = reading.number();
            return v ? std::optional<float>(float(*v)) : std::nullopt;
        }
        }
        setLabel(t, caption);
        return float(val(caption));
    }

    // Empty selectors after the lists were rebuilt: the left trace shows the intake air
    // temperature, the right one the coolant temperature, both enabled.
    void defaultSelection(int t) {
        if (s_.graphTraces[size_t(t)].channel.entries.size() > t) select(t, t);
        selectCode(0, kDefaultLeftCode);
        selectCode(1, kDefaultRightCode);
        for (GraphTraceSelector& trace : s_.graphTraces)
            trace.enabled = true;
        emit s_.channelsChanged();
    }

    void selectCode(int t, int code) {
        const QStringList& entries = s_.graphTraces[size_t(t)].channel.entries;
        for (int k = 0; k < entries.size(); ++k) {
            if (entryCode(entries.at(k)) == code) {
                select(t, k);
                return;
            }
        }
    }

    // Choosing another entry acts like the user's choice: new axis, trace emptied.
    void select(int t, int index) {
        ChannelSelector& channel = s_.graphTraces[size_t(t)].channel;
        if (channel.index == index) return;
        channel.index = index;
        s_.Combo9_Click(t);
    }

    Session& s_;
    bool anyrequest_ = false;
    std::optional<LiveReading> speed_, rpm_; // this pass's pre-samples
    const std::optional<LiveReading> none_;
};

bool isTrace(int t) {
    return t == 0 || t == 1;
}

} // namespace

void Session::graphPass() {
    GraphPass(*this).run();
}

void Session::Combo9_Click(int trace) {
    if (!isTrace(trace)) return;
    ChannelInfo info; // a channel without a row gives an axis of 0 to 0
    chaninfo(graphTraces[size_t(trace)].channel.code(), settings, info);
    live.graph.channelSelected(trace, info.minimum, info.maximum, info.decimals);
    emit panelChanged(Panel::D240);
}

void Session::Command18_Click(int index) {
    if (index == 0)
        live.graph.zoomTimeOut();
    else if (index == 1)
        live.graph.zoomTimeIn();
    else
        return;
    emit panelChanged(Panel::D240);
}

void Session::adjustGraphAxis(int button) {
    if (live.graph.adjustAxis(button)) emit panelChanged(Panel::D240);
}

} // namespace zelcor
