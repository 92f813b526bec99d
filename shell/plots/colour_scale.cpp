#include "colour_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace plots {

QColor scale_colour(double fraction) {
    // Control points of a perceptually even scale, dark to light.
    static constexpr std::array<std::array<int, 3>, 6> stops{{
        {68, 1, 84},
        {65, 68, 135},
        {42, 120, 142},
        {34, 168, 132},
        {122, 209, 81},
        {253, 231, 37},
    }};
    const double f = std::clamp(std::isfinite(fraction) ? fraction : 0.0, 0.0, 1.0);
    const double at = f * (stops.size() - 1);
    const std::size_t i = std::min(static_cast<std::size_t>(at), stops.size() - 2);
    const double t = at - static_cast<double>(i);
    auto mix = [&](int c) {
        return static_cast<int>(std::lround(stops[i][c] + t * (stops[i + 1][c] - stops[i][c])));
    };
    return QColor(mix(0), mix(1), mix(2));
}

} // namespace plots
