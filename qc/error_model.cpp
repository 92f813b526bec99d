#include "error_model.h"

#include "line_fit.h"

#include <algorithm>
#include <cmath>

namespace qc {

double PowerLaw::at(double r) const {
    return a * std::pow(r, b);
}

ErrorModel fit_error_model(std::vector<PairPoint> points) {
    ErrorModel model;
    model.pairs = static_cast<int>(points.size());
    std::erase_if(points, [](const PairPoint &p) {
        return !(p.mean > 0) || !std::isfinite(p.mean) || !std::isfinite(p.error);
    });
    if (model.pairs < kModelPairs || points.size() < 2) return model;
    std::sort(points.begin(), points.end(),
              [](const PairPoint &x, const PairPoint &y) { return x.mean < y.mean; });

    const std::size_t n = points.size();
    const std::size_t bins =
        std::clamp<std::size_t>(n / kPairsPerBin, 2, static_cast<std::size_t>(kMostBins));
    model.bins = static_cast<int>(bins);
    std::vector<double> mean(bins), error(bins), log_mean, log_error;
    std::size_t from = 0;
    for (std::size_t b = 0; b < bins; ++b) {
        const std::size_t size = n / bins + (b < n % bins ? 1 : 0);
        for (std::size_t i = from; i < from + size; ++i) {
            mean[b] += points[i].mean;
            error[b] += std::fabs(points[i].error);
        }
        mean[b] /= static_cast<double>(size);
        error[b] /= static_cast<double>(size);
        from += size;
        if (error[b] > 0) {
            log_mean.push_back(std::log(mean[b]));
            log_error.push_back(std::log(error[b]));
        }
    }
    if (const std::optional<Line> line = fit_line(log_mean, log_error))
        model.power = PowerLaw{.a = std::exp(line->intercept), .b = line->slope};
    if (const std::optional<Line> line = fit_line(mean, error))
        model.linear = LinearLaw{.a = line->slope, .b = line->intercept};
    return model;
}

} // namespace qc
