#include "definitions/parameterscale.h"

#include <cmath>

namespace zelcor {

namespace {

double labelStep(double span) {
    const double rough = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough) return m * power;
    return 10 * power;
}

} // namespace

std::optional<GaugeScale> parameterScale(const QString& name, const QString& units, std::optional<double> minimum,
                                         std::optional<double> maximum) {
    if (!minimum || !maximum || !(*maximum > *minimum) || !std::isfinite(*maximum - *minimum)) return std::nullopt;
    const double step = labelStep(*maximum - *minimum);
    return GaugeScale{name, units, *minimum, *maximum, step / 5, step, step < 1 ? 1 : 0};
}

} // namespace zelcor
