#include "live/parameterchannels.h"

#include "definitions/parameterpass.h"
#include "definitions/parameterscale.h"

#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

int decimalsOf(const QString& number) {
    const qsizetype point = number.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : int(number.size() - point - 1);
}

} // namespace

QString channelNumber(double x) {
    QString text = QString::number(x, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}

void ParameterChannels::follow(const ParameterLibrary& library) {
    const auto take = [this, &library] {
        QList<DefinitionFile> files;
        QStringList names;
        for (const LoadedDefinitions& loaded : library.files()) {
            files.append(loaded.definitions);
            names.append(loaded.fileName);
        }
        setDefinitions(files, names);
    };
    connect(&library, &ParameterLibrary::changed, this, take);
    take();
}

void ParameterChannels::setDefinitions(const QList<DefinitionFile>& files, const QStringList& fileNames) {
    all_ = RequestPlan(files);
    fileNames_ = fileNames;
    values_ = QList<ChannelValue>(std::min(count(), kManufacturerCodes));
    partWanted_.clear();
    part_ = RequestPlan();
    partIndices_.clear();
    emit definitionsChanged();
}

int ParameterChannels::indexOf(int code) const {
    const int index = code - kFirstManufacturerCode;
    return isManufacturerCode(code) && index < values_.size() ? index : -1;
}

QList<ListEntry> ParameterChannels::entries() const {
    QList<ListEntry> list;
    for (int i = 0; i < values_.size(); ++i)
        list.append({all_.parameters()[i].name, kFirstManufacturerCode + i});
    return list;
}

const ParameterDefinition* ParameterChannels::definition(int code) const {
    const int index = indexOf(code);
    return index < 0 ? nullptr : &all_.parameters()[index];
}

std::optional<ChannelInfo> ParameterChannels::info(int code) const {
    const ParameterDefinition* d = definition(code);
    if (!d) return std::nullopt;
    ChannelInfo info;
    info.name = d->name;
    info.units = d->units;
    info.minimum = d->minimum.value_or(0);
    info.maximum = d->maximum.value_or(0);
    if (const std::optional<GaugeScale> s = scale(code)) {
        info.tick = s->tick;
        info.step = s->step;
        info.decimals = s->decimals;
    }
    return info;
}

std::optional<GaugeScale> ParameterChannels::scale(int code) const {
    const ParameterDefinition* d = definition(code);
    return d ? parameterScale(d->name, d->units, d->minimum, d->maximum) : std::nullopt;
}

void ParameterChannels::read(Exchange& exchange, const QList<int>& codes) {
    QList<int> wanted;
    for (const int code : codes)
        if (const int index = indexOf(code); index >= 0 && !wanted.contains(index)) wanted.append(index);
    if (wanted.isEmpty()) return;
    std::sort(wanted.begin(), wanted.end());
    if (wanted != partWanted_) {
        partWanted_ = wanted;
        part_ = all_.part(wanted, &partIndices_);
    }
    ParameterPass pass(exchange, part_);
    pass.run();
    for (qsizetype k = 0; k < partIndices_.size() && k < pass.values().size(); ++k) {
        const ParameterValue& v = pass.values()[k];
        values_[partIndices_[k]] = ChannelValue{true, v.value, v.value ? QString() : v.problem};
    }
    emit valuesRead();
}

ChannelValue ParameterChannels::value(int code) const {
    const int index = indexOf(code);
    return index < 0 ? ChannelValue{} : values_[index];
}

QString ParameterChannels::text(int code) const {
    const ChannelValue v = value(code);
    const ParameterDefinition* d = definition(code);
    if (!v.value || !d) return QString();
    return d->units.isEmpty() ? channelNumber(*v.value) : channelNumber(*v.value) + QLatin1Char(' ') + d->units;
}

QString ParameterChannels::logValue(int code) const {
    const ChannelValue v = value(code);
    return v.value ? channelNumber(*v.value) : QString();
}

GaugeFeed ParameterChannels::gaugeFeed(int code) const {
    const ChannelValue v = value(code);
    const std::optional<GaugeScale> s = scale(code);
    if (!v.value || !s) return GaugeFeed{};
    const double position = std::clamp((*v.value - s->minimum) / (s->maximum - s->minimum) * 100, 0.0, 100.0);
    return GaugeFeed{position, *v.value, decimalsOf(channelNumber(*v.value))};
}

std::optional<ChannelInfo> liveChannelInfo(int code, const Settings& settings, const ParameterChannels& parameters) {
    return isManufacturerCode(code) ? parameters.info(code) : channelInfo(code, settings);
}

} // namespace zelcor
