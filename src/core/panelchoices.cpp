// The user's choices on the live-data and graph panels as a trace line ("K"), written
// whenever they change while Debug is on, so that a replayed trace polls the channels
// the user had chosen.

#include "core/listentry.h"
#include "core/session.h"

namespace zelcor {

namespace {

// Selects the entry of `code`; a code the list does not hold leaves no selection.
bool selectCode(ChannelSelector& channel, int code) {
    int index = -1;
    for (int i = 0; i < channel.entries.size(); ++i) {
        if (entryCode(channel.entries.at(i)) == code) {
            index = i;
            break;
        }
    }
    const bool changed = index != channel.index;
    channel.index = index;
    return changed;
}

} // namespace

QString Session::panelChoicesLine() const {
    QStringList rows;
    for (const LiveRow& row : liveRows)
        rows << QStringLiteral("%1,%2,%3").arg(row.channel.code()).arg(int(row.enabled)).arg(int(row.showGauge));
    QStringList traces;
    for (const GraphTraceSelector& trace : graphTraces)
        traces << QStringLiteral("%1,%2").arg(trace.channel.code()).arg(int(trace.enabled));
    return QStringLiteral("K") + rows.join(QLatin1Char(';')) + QLatin1Char('|') + traces.join(QLatin1Char(';'));
}

void Session::writePanelChoices() {
    if (!settings.recording || replaying || !trace.isOpenForWriting()) return;
    const QString line = panelChoicesLine();
    if (line == lastPanelChoices_) return;
    logline(line);
    lastPanelChoices_ = line;
}

void Session::applyPanelChoices(const QString& line) {
    const QStringList parts = line.mid(1).split(QLatin1Char('|'));
    if (parts.size() != 2) return;
    const QStringList rows = parts[0].split(QLatin1Char(';'));
    const QStringList traces = parts[1].split(QLatin1Char(';'));
    if (rows.size() != kLiveRows || traces.size() != int(graphTraces.size())) return;
    for (int i = 0; i < kLiveRows; ++i) {
        const QStringList f = rows[i].split(QLatin1Char(','));
        if (f.size() != 3) continue;
        LiveRow& row = liveRows[size_t(i)];
        const int code = f[0].toInt();
        if (code != 0) selectCode(row.channel, code);
        row.enabled = f[1] == QLatin1String("1");
        const bool gauge = f[2] == QLatin1String("1");
        if (gauge != row.showGauge) {
            row.showGauge = gauge;
            Check2_Click(i);
        } else {
            emit liveRowChanged(i);
        }
    }
    for (int t = 0; t < int(graphTraces.size()); ++t) {
        const QStringList f = traces[t].split(QLatin1Char(','));
        if (f.size() != 2) continue;
        GraphTraceSelector& trace = graphTraces[size_t(t)];
        const int code = f[0].toInt();
        if (code != 0 && selectCode(trace.channel, code)) Combo9_Click(t);
        trace.enabled = f[1] == QLatin1String("1");
    }
    emit panelChanged(Panel::D240);
}

} // namespace zelcor
