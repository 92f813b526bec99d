#include "line_fit.h"

#include <cmath>

namespace qc {

std::optional<Line> fit_line(const std::vector<double> &x, const std::vector<double> &y) {
    const auto n = static_cast<double>(x.size());
    if (x.size() < 2) return std::nullopt;
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= n;
    my /= n;
    double sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxx += (x[i] - mx) * (x[i] - mx);
        sxy += (x[i] - mx) * (y[i] - my);
    }
    if (!(sxx > 0)) return std::nullopt;
    const Line line{.slope = sxy / sxx, .intercept = my - sxy / sxx * mx};
    if (!std::isfinite(line.slope) || !std::isfinite(line.intercept)) return std::nullopt;
    return line;
}

} // namespace qc
