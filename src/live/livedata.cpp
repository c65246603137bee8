#include "live/livedata.h"

#include <algorithm>

namespace zelcor {

namespace {

bool isRow(int row) {
    return row >= 0 && row < kLiveRows;
}
bool isTrace(int t) {
    return t >= 0 && t < kGraphTraces;
}

} // namespace

LiveData::LiveData(Host& host, Clock& clock, const Settings& settings, const QString& programFolder)
    : settings_(settings), dataLog_(host, clock, programFolder) {
    connect(&parameters_, &ParameterChannels::definitionsChanged, this, &LiveData::replaceManufacturerChannels);
}

void LiveData::setRowEnabled(int row, bool enabled) {
    if (!isRow(row)) return;
    LiveRow& r = rows_[size_t(row)];
    if (enabled && !r.enabled) schedule_.restart(row);
    r.enabled = enabled;
    if (!r.enabled && r.showGauge) setShowGauge(row, false);
    emit rowChanged(row);
}

void LiveData::setShowGauge(int row, bool shown) {
    if (!isRow(row)) return;
    LiveRow& r = rows_[size_t(row)];
    r.showGauge = shown;
    if (r.showGauge) {
        r.enabled = true;
        const int code = r.channel.code();
        if (const std::optional<GaugeScale> scale =
                isManufacturerCode(code) ? parameters_.scale(code) : gaugeScale(code, settings_)) {
            r.dial = *scale;
            r.gauge = GaugeFeed{};
        } else {
            r.showGauge = false;
        }
    }
    emit rowChanged(row);
}

void LiveData::chooseRowChannel(int row, int index) {
    if (!isRow(row)) return;
    LiveRow& r = rows_[size_t(row)];
    r.channel.index = index;
    schedule_.restart(row);
    if (r.showGauge) setShowGauge(row, false);
    emit rowChanged(row);
}

void LiveData::setRowInterval(int row, int interval) {
    if (!isRow(row)) return;
    schedule_.choose(row, interval);
    emit rowChanged(row);
}

void LiveData::closeGauges() {
    for (LiveRow& row : rows_)
        row.showGauge = false;
    emit gaugesClosed();
}

void LiveData::chooseTraceChannel(int trace, int index) {
    if (!isTrace(trace)) return;
    traces_[size_t(trace)].channel.index = index;
    traceChannelChosen(trace);
}

// A new channel for a trace: the axis shows its range and the trace starts afresh.
void LiveData::traceChannelChosen(int t) {
    // A channel without information gives an axis of 0 to 0.
    const ChannelInfo info =
        liveChannelInfo(traces_[size_t(t)].channel.code(), settings_, parameters_).value_or(ChannelInfo{});
    graph_.channelSelected(t, info.minimum, info.maximum, info.decimals);
    emit graphsChanged();
}

void LiveData::setTraceEnabled(int trace, bool enabled) {
    if (isTrace(trace)) traces_[size_t(trace)].enabled = enabled;
}

void LiveData::setPoints(bool points) {
    points_ = points;
    emit graphsChanged();
}

void LiveData::zoomTime(int direction) {
    if (direction == 0)
        graph_.zoomTimeOut();
    else if (direction == 1)
        graph_.zoomTimeIn();
    else
        return;
    emit graphsChanged();
}

void LiveData::adjustAxis(int button) {
    if (graph_.adjustAxis(button)) emit graphsChanged();
}

void LiveData::clearChannels() {
    manufacturerListed_ = false;
    for (LiveRow& row : rows_) {
        row.channel.clear();
        row.value.clear();
        row.problem.clear();
    }
    for (GraphTrace& trace : traces_)
        trace.channel.clear();
    emit channelsChanged();
    emit livePanelChanged();
    emit graphsChanged();
}

void LiveData::addChannelFirst(const ListEntry& entry) {
    for (LiveRow& row : rows_)
        row.channel.entries.prepend(entry);
    for (GraphTrace& trace : traces_)
        trace.channel.entries.prepend(entry);
}

void LiveData::addChannelLast(const ListEntry& entry) {
    for (LiveRow& row : rows_)
        row.channel.entries.append(entry);
    for (GraphTrace& trace : traces_)
        trace.channel.entries.append(entry);
}

void LiveData::channelsComplete(bool manufacturerChannels) {
    if (manufacturerChannels && !manufacturerListed_) {
        manufacturerListed_ = true;
        for (const ListEntry& entry : parameters_.entries())
            addChannelLast(entry);
    }
    emit channelsChanged();
}

void LiveData::replaceManufacturerChannels() {
    if (!manufacturerListed_) return;
    const QList<ListEntry> entries = parameters_.entries();
    const auto replace = [&entries](ChannelSelector& channel) {
        const QString chosen = channel.index >= 0 && channel.index < channel.entries.size()
                                   ? channel.entries[channel.index].name
                                   : QString();
        const bool wasManufacturer = isManufacturerCode(channel.code());
        channel.entries.removeIf([](const ListEntry& e) { return isManufacturerCode(e.code); });
        channel.entries.append(entries);
        if (!wasManufacturer) return;
        channel.index = -1;
        for (int k = 0; k < channel.entries.size(); ++k)
            if (isManufacturerCode(channel.entries[k].code) && channel.entries[k].name == chosen) channel.index = k;
    };
    for (int i = 0; i < kLiveRows; ++i) {
        LiveRow& row = rows_[size_t(i)];
        const int before = row.channel.code();
        replace(row.channel);
        if (row.channel.code() != before) {
            row.value.clear();
            row.problem.clear();
            if (row.showGauge) setShowGauge(i, false);
        }
    }
    for (int t = 0; t < kGraphTraces; ++t) {
        const int before = traces_[size_t(t)].channel.code();
        replace(traces_[size_t(t)].channel);
        if (traces_[size_t(t)].channel.code() != before) traceChannelChosen(t);
    }
    emit channelsChanged();
}

// "K" + per row "code,enabled,gauge" joined by ";", "|", per trace "code,enabled".
QString LiveData::choicesLine() const {
    QStringList rows;
    for (const LiveRow& row : rows_)
        rows << QStringLiteral("%1,%2,%3").arg(row.channel.code()).arg(int(row.enabled)).arg(int(row.showGauge));
    QStringList traces;
    for (const GraphTrace& trace : traces_)
        traces << QStringLiteral("%1,%2").arg(trace.channel.code()).arg(int(trace.enabled));
    QString line = QStringLiteral("K") + rows.join(QLatin1Char(';')) + QLatin1Char('|') + traces.join(QLatin1Char(';'));
    // The rows the coming pass asks, when not all of them: a replay asks the same.
    const std::array<bool, kLiveRows> due = rowsDue(false);
    if (std::find(due.begin(), due.end(), false) != due.end()) {
        line += QLatin1Char('|');
        for (const bool d : due)
            line += d ? QLatin1Char('1') : QLatin1Char('0');
    }
    return line;
}

void LiveData::applyChoices(const QString& line) {
    const QStringList parts = line.mid(1).split(QLatin1Char('|'));
    if (parts.size() != 2 && parts.size() != 3) return;
    replayedDue_.reset();
    if (parts.size() == 3 && parts[2].size() == kLiveRows) {
        std::array<bool, kLiveRows> due{};
        for (int i = 0; i < kLiveRows; ++i)
            due[size_t(i)] = parts[2][i] != QLatin1Char('0');
        replayedDue_ = due;
    }
    const QStringList rows = parts[0].split(QLatin1Char(';'));
    const QStringList traces = parts[1].split(QLatin1Char(';'));
    if (rows.size() != kLiveRows || traces.size() != kGraphTraces) return;
    for (int i = 0; i < kLiveRows; ++i) {
        const QStringList f = rows[i].split(QLatin1Char(','));
        if (f.size() != 3) continue;
        LiveRow& row = rows_[size_t(i)];
        const int code = f[0].toInt();
        if (code != 0) row.channel.selectCode(code);
        row.enabled = f[1] == QLatin1String("1");
        const bool gauge = f[2] == QLatin1String("1");
        if (gauge != row.showGauge)
            setShowGauge(i, gauge);
        else
            emit rowChanged(i);
    }
    for (int t = 0; t < kGraphTraces; ++t) {
        const QStringList f = traces[t].split(QLatin1Char(','));
        if (f.size() != 2) continue;
        GraphTrace& trace = traces_[size_t(t)];
        const int code = f[0].toInt();
        if (code != 0 && trace.channel.selectCode(code)) traceChannelChosen(t);
        trace.enabled = f[1] == QLatin1String("1");
    }
    emit graphsChanged();
}

} // namespace zelcor
