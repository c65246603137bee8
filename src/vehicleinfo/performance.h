#pragma once
// In-use performance tracking (vehicle information items 08 and 0B): how often each
// monitor completed against how often its driving conditions were met.

#include <QByteArray>
#include <QList>
#include <QString>

namespace zelcor {

struct PerformanceEntry {
    QString name;
    int completed = 0;   // the count, for the two general counters
    int conditions = -1; // how often the conditions were met; -1 for a general counter
};

struct PerformanceRead {
    QList<PerformanceEntry> entries;
    QString problem; // a counter or a pair cut short; the entries before it are kept
};

// `data`: two bytes a counter, the two general counters first, then a completion and a
// conditions counter for each monitor. Item 08 is the spark ignition list, 0B the
// compression ignition one.
PerformanceRead readPerformance(int item, const QByteArray& data);

// "Catalyst Bank 1: 45 of 52", "Ignition cycles: 210".
QString performanceText(const PerformanceEntry& entry);

} // namespace zelcor
