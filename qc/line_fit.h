// The least-squares straight line, which both the error model and the decay fits draw in log-log.
#pragma once

#include <optional>
#include <vector>

namespace qc {

struct Line {
    double slope = 0, intercept = 0;
};

// y = slope x + intercept through the points; empty with fewer than two points, x that do not
// spread, or a result that is not finite.
std::optional<Line> fit_line(const std::vector<double> &x, const std::vector<double> &y);

} // namespace qc
