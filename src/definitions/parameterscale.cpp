#include "definitions/parameterscale.h"

#include "base/numbers.h"

#include <cmath>

namespace zelcor {

std::optional<GaugeScale> parameterScale(const QString& name, const QString& units, std::optional<double> minimum,
                                         std::optional<double> maximum) {
    if (!minimum || !maximum || !(*maximum > *minimum) || !std::isfinite(*maximum - *minimum)) return std::nullopt;
    const double step = roundStep(*maximum - *minimum);
    return GaugeScale{name, units, *minimum, *maximum, step / 5, step, step < 1 ? 1 : 0};
}

} // namespace zelcor
