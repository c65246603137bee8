#include "vehicleinfo/performance.h"

namespace zelcor {

namespace {

constexpr int kCompressionIgnition = 0x0B;

const char* const kGeneral[] = {"OBD monitoring conditions encountered", "Ignition cycles"};

// The monitors' pairs in their order on the bus.
const char* const kSparkIgnition[] = {
    "Catalyst Bank 1",
    "Catalyst Bank 2",
    "Oxygen Sensor Bank 1",
    "Oxygen Sensor Bank 2",
    "EGR and/or VVT",
    "Secondary Air",
    "EVAP",
    "Secondary Oxygen Sensor Bank 1",
    "Secondary Oxygen Sensor Bank 2",
};
const char* const kCompression[] = {
    "NMHC Catalyst",      "NOx Catalyst",   "NOx Adsorber",   "Particulate Filter",
    "Exhaust Gas Sensor", "EGR and/or VVT", "Boost Pressure", "Fuel System",
};

int counterAt(const QByteArray& data, qsizetype index) {
    return quint8(data.at(2 * index)) << 8 | quint8(data.at(2 * index + 1));
}

QString pairName(int item, qsizetype pair) {
    const auto named = [pair](const auto& names) -> QString {
        return pair < qsizetype(std::size(names)) ? QString::fromLatin1(names[pair]) : QString();
    };
    const QString name = item == kCompressionIgnition ? named(kCompression) : named(kSparkIgnition);
    return name.isEmpty() ? QStringLiteral("Monitor %1").arg(pair + 1) : name;
}

} // namespace

PerformanceRead readPerformance(int item, const QByteArray& data) {
    PerformanceRead read;
    const qsizetype counters = data.size() / 2;
    for (qsizetype i = 0; i < qMin<qsizetype>(counters, 2); ++i)
        read.entries.append({QString::fromLatin1(kGeneral[i]), counterAt(data, i), -1});
    for (qsizetype at = 2; at + 1 < counters; at += 2)
        read.entries.append({pairName(item, (at - 2) / 2), counterAt(data, at), counterAt(data, at + 1)});
    if (data.size() % 2 != 0)
        read.problem = QStringLiteral("the in-use counters end in the middle of a counter");
    else if (counters < 2 || counters % 2 != 0)
        read.problem = QStringLiteral("the in-use counters end in the middle of a monitor's pair");
    return read;
}

QString performanceText(const PerformanceEntry& entry) {
    if (entry.conditions < 0) return QStringLiteral("%1: %2").arg(entry.name).arg(entry.completed);
    return QStringLiteral("%1: %2 of %3").arg(entry.name).arg(entry.completed).arg(entry.conditions);
}

} // namespace zelcor
