#pragma once
// The round-gauge scale of a manufacturer parameter, from the Min and Max of its definition.

#include "obd/parameters.h"

#include <optional>

namespace zelcor {

// Labels at a round step (1, 2 or 5 times a power of ten, about five of them), five ticks
// between labels; none unless `maximum` lies above `minimum`.
std::optional<GaugeScale> parameterScale(const QString& name, const QString& units, std::optional<double> minimum,
                                         std::optional<double> maximum);

} // namespace zelcor
