// The live-data pass (function code 250): one request per enabled row, top to bottom,
// the derived rows computed from the rows above them, the gauge feeds, the CSV row and
// the pass rate.

#include "base/datetime.h"
#include "base/format.h"
#include "base/numbers.h"
#include "core/session.h"
#include "live/chaninfo.h"
#include "live/livereading.h"

namespace zelcor {

namespace {

bool isDerived(int code) {
    return code == kFuelEconomyCode || code == kHorsepowerCode || code == kTorqueCode;
}

// Passes per second for a pass that took `elapsed` seconds ("4.2 /sec"); nothing for a
// pass the clock could not measure.
std::optional<QString> passRateText(double elapsed) {
    if (!(elapsed > 0)) return std::nullopt;
    return formatNumber(1.0 / elapsed, QStringLiteral("0.0")) + QStringLiteral(" /sec");
}

class LivePass {
public:
    explicit LivePass(Session& session) : s_(session) {}

    void run() {
        s_.FRAME(Panel::D250);
        if (s_.stopflag) return;
        bool anyrequest = false;
        const double passstart = s_.clock.now();
        s_.datalog.rowactive = s_.datalog.logging;
        for (int i = 0; i < kLiveRows; ++i) {
            LiveRow& row = s_.liveRows[size_t(i)];
            const int code = row.channel.code();
            if (code == 0) {
                defaultSelection(i);
            } else if (active(row)) {
                if (isDerived(code)) {
                    derivedRow(i, code);
                } else {
                    anyrequest = true;
                    pidRow(i, code);
                }
            }
        }
        if (writingLog() && s_.datalog.rows.endLine) s_.datalog.rows.endLine();

        if (!anyrequest) {
            s_.live.Text12.clear();
            emit s_.panelChanged(Panel::D250);
            s_.send(QStringLiteral("0100"));
            s_.receive();
        } else if (const auto rate = passRateText(s_.clock.now() - passstart); rate && !s_.replaying) {
            // A replayed pass waits for nothing, so its time says nothing about the car.
            s_.live.Text12 = *rate;
            emit s_.panelChanged(Panel::D250);
        }
    }

private:
    // A row is polled while its "Enable Monitoring" box is checked and the pass may go on.
    bool active(const LiveRow& row) const { return row.enabled && s_.funccode == 250 && !s_.stopflag; }

    bool writingLog() const { return s_.datalog.logging && s_.datalog.rowactive; }

    // After the lists are rebuilt, row i shows the i-th channel.
    void defaultSelection(int i) {
        ChannelSelector& channel = s_.liveRows[size_t(i)].channel;
        if (channel.entries.size() > i) {
            channel.index = i;
            emit s_.liveRowChanged(i);
        }
    }

    void setLamp(int i, bool on) {
        s_.liveRows[size_t(i)].lamp = on;
        emit s_.liveRowChanged(i);
    }

    void logField(const QString& value) {
        if (writingLog() && s_.datalog.rows.append)
            s_.datalog.rows.append(timeText(QTime::currentTime()) + QLatin1Char(',') + value + QLatin1Char(','));
    }

    void feedGauge(int i, const GaugeFeed& feed) {
        LiveRow& row = s_.liveRows[size_t(i)];
        if (!row.showGauge) return;
        row.gauge = feed;
        emit s_.gaugeFed(i);
    }

    // Label38 alternates between green and its normal colour with every value received
    // while logging.
    void blinkLogLabel() {
        bool& lit = s_.live.logLabelLit;
        const bool wasLit = lit;
        lit = !wasLit && s_.datalog.logging;
        if (lit != wasLit) emit s_.panelChanged(Panel::D250);
    }

    void derivedRow(int i, int code) {
        LiveRow& row = s_.liveRows[size_t(i)];
        setLamp(i, true);
        const DerivedRow derived = zelcor::derivedRow(code, s_.live.history, seen_, s_.settings);
        row.value = derived.text;
        row.number.reset();
        if (derived.gauge) {
            row.number = derived.gauge->value;
            ChannelInfo info;
            chaninfo(code, s_.settings, info);
            row.units = info.units;
            feedGauge(i, *derived.gauge);
        }
        logField(derived.text);
        setLamp(i, false);
    }

    void pidRow(int i, int code) {
        LiveRow& row = s_.liveRows[size_t(i)];
        setLamp(i, true);
        const LiveReading reading = readLivePid(s_, code);
        if (!reading.empty) {
            blinkLogLabel();
            row.value = reading.text;
            row.number = reading.number();
            row.units = reading.outputs.units;
            // A rejected reply (another controller, a negative answer) has no value of
            // its own: its log field stays empty and the shared values keep theirs.
            logField(reading.matched ? reading.logValue() : QString());
            if (reading.matched && writingLog() && s_.datalog.rows.reply) s_.datalog.rows.reply(code, reading.reply);
            // The value box repaints at once, with the lamp still lit.
            emit s_.liveRowChanged(i);
            if (reading.outputs.needle >= 0) feedGauge(i, reading.gaugeFeed());
            if (reading.matched) share(code, reading);
        }
        setLamp(i, false);
    }

    // The values the derived rows and the graphs read.
    void share(int code, const LiveReading& reading) {
        const std::optional<double> value = reading.number();
        if (!value) return;
        LiveHistory& history = s_.live.history;
        if (code == 16) {
            history.maflatest = *value;
            seen_.mafseen = true;
        } else if (code == 12) {
            history.pushRpm(*value);
            seen_.rpmseen = true;
        } else if (code == 13) {
            history.pushSpeed(*value, s_.clock.now());
            seen_.speedseen = true;
        }
    }

    Session& s_;
    SeenFlags seen_;
};

} // namespace

void Session::livePass() {
    LivePass(*this).run();
}

} // namespace zelcor
