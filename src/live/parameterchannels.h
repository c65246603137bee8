#pragma once
// The loaded manufacturer parameters as live channels: one code each (from
// kFirstManufacturerCode, in file and line order), their names, units and scales, and the
// values of the last pass that read them, each request asked once for every channel it feeds.

#include "base/listentry.h"
#include "definitions/parameterlibrary.h"
#include "definitions/requestplan.h"
#include "link/exchange.h"
#include "obd/parameters.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace zelcor {

// The latest reading of one channel: its value, or why it has none.
struct ChannelValue {
    bool read = false; // a pass has read it
    std::optional<double> value;
    QString problem;
};

class ParameterChannels : public QObject {
    Q_OBJECT
public:
    // The channels of `library`'s files, following every change of them.
    void follow(const ParameterLibrary& library);
    void setDefinitions(const QList<DefinitionFile>& files, const QStringList& fileNames);

    int count() const { return int(all_.parameters().size()); }
    // The files the channels come from, as the library names them.
    const QStringList& fileNames() const { return fileNames_; }
    // Every channel as its selectors list it.
    QList<ListEntry> entries() const;
    const ParameterDefinition* definition(int code) const;
    std::optional<ChannelInfo> info(int code) const;
    // A gauge needs both ends of the scale.
    std::optional<GaugeScale> scale(int code) const;

    // One pass over the channels among `codes`: every request they need asked once. Stops
    // when the exchange is told to stop; the values not read keep their last ones.
    void read(Exchange& exchange, const QList<int>& codes);
    ChannelValue value(int code) const;
    // "57.5 %"; empty without a value.
    QString text(int code) const;
    // The value as the CSV log and the recordings write it; empty without a value.
    QString logValue(int code) const;
    GaugeFeed gaugeFeed(int code) const;

signals:
    // The channels were defined anew (their codes may mean other parameters now).
    void definitionsChanged();
    // A pass read new values.
    void valuesRead();

private:
    int indexOf(int code) const;

    RequestPlan all_;
    QStringList fileNames_;
    QList<ChannelValue> values_;
    // The plan of the last pass and, for each of its parameters, its index in all_.
    QList<int> partWanted_;
    RequestPlan part_;
    QList<int> partIndices_;
};

// The information of any live channel: mode 01, derived or manufacturer.
std::optional<ChannelInfo> liveChannelInfo(int code, const Settings& settings, const ParameterChannels& parameters);

// The value of `x` as a manufacturer channel shows it: at most three decimals, none trailing.
QString channelNumber(double x);

} // namespace zelcor
