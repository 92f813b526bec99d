#include "drift.h"

#include <Eigen/Dense>

#include <cmath>

namespace gravity {

namespace {

// At most degree 2: three drift unknowns, kept off the heap.
using Vector = Eigen::Matrix<double, Eigen::Dynamic, 1, 0, 3, 1>;
using Matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, 0, 3, 3>;

Vector basis(double hours, int degree) {
    Vector f(degree + 1);
    double power = 1;
    for (int k = 0; k <= degree; ++k, power *= hours)
        f[k] = power;
    return f;
}

} // namespace

namespace {

struct Solution {
    bool solved = false;
    Vector c;                                            // level, c1..cD
    std::vector<double> station_value, station_variance; // the variance before sigma0^2
    std::size_t unknowns = 0;
};

// The least-squares solution over the included observations.
Solution solve(const std::vector<Observation> &observations, const std::vector<bool> &included,
               std::size_t station_count, std::size_t base, int degree) {
    const int size = degree + 1;
    // Normal equations, blocks: stations (diagonal) | drift. The base's unknown is fixed at 0,
    // so its readings enter the drift block only.
    std::vector<double> station_weight(station_count, 0), station_rhs(station_count, 0);
    std::vector<Vector> station_cross(station_count, Vector::Zero(size));
    Matrix drift_normal = Matrix::Zero(size, size);
    Vector drift_rhs = Vector::Zero(size);
    for (std::size_t i = 0; i < observations.size(); ++i) {
        if (!included[i]) continue;
        const Observation &o = observations[i];
        const double w = 1 / (o.sigma * o.sigma);
        const Vector f = basis(o.hours, degree);
        drift_normal += w * f * f.transpose();
        drift_rhs += w * o.value * f;
        if (o.station == base) continue;
        station_weight[o.station] += w;
        station_rhs[o.station] += w * o.value;
        station_cross[o.station] += w * f;
    }
    // The Schur complement of the station block.
    Matrix reduced = drift_normal;
    Vector reduced_rhs = drift_rhs;
    Solution solution;
    solution.unknowns = static_cast<std::size_t>(size);
    for (std::size_t j = 0; j < station_count; ++j) {
        if (j == base || station_weight[j] == 0) continue;
        reduced -= station_cross[j] * station_cross[j].transpose() / station_weight[j];
        reduced_rhs -= station_cross[j] * (station_rhs[j] / station_weight[j]);
        ++solution.unknowns;
    }
    const Eigen::ColPivHouseholderQR<Matrix> solver(reduced);
    if (solver.rank() < size) return solution;
    solution.solved = true;
    solution.c = solver.solve(reduced_rhs);
    const Matrix covariance = solver.inverse();
    solution.station_value.assign(station_count, 0);
    solution.station_variance.assign(station_count, 0);
    // Station variances: 1/w_j + b_j' S^-1 b_j, with b_j the station's cross terms over w_j.
    for (std::size_t j = 0; j < station_count; ++j) {
        if (j == base || station_weight[j] == 0) continue;
        const Vector b = station_cross[j] / station_weight[j];
        solution.station_value[j] =
            (station_rhs[j] - station_cross[j].dot(solution.c)) / station_weight[j];
        solution.station_variance[j] = 1 / station_weight[j] + b.dot(covariance * b);
    }
    return solution;
}

} // namespace

DriftFit fit_drift(const std::vector<Observation> &observations, std::size_t station_count,
                   std::size_t base, const DriftOptions &options) {
    DriftFit fit;
    const int degree = options.degree;
    if (degree < 0 || degree > 2) {
        fit.problem = "the drift's degree is 0, 1 or 2";
        return fit;
    }
    std::vector<bool> included(observations.size(), true);
    std::vector<std::size_t> included_at_station(station_count, 0);
    for (const Observation &o : observations)
        ++included_at_station[o.station];
    // A reading far off pulls the drift and with it every other residual: the worst reading
    // beyond the limit is left out and the network solved again, until none is beyond it. A
    // station keeps at least one reading, so every station stays tied.
    constexpr int kMostLeftOut = 200;
    for (int round = 0;; ++round) {
        const Solution solution = solve(observations, included, station_count, base, degree);
        // A reading the network cannot do without fits exactly, so it is never the one left
        // out; should rounding say otherwise, the fit before it stands.
        if (round > 0 && !solution.solved) return fit;
        if (observations.empty() || !solution.solved) {
            fit = DriftFit{};
            fit.problem = "the drift cannot be determined: too few stations were read again at "
                          "other times for a drift of degree " +
                          std::to_string(degree);
            return fit;
        }
        const Vector &c = solution.c;
        fit.solved = true;
        fit.level = c[0];
        fit.coefficients.assign(c.data() + 1, c.data() + c.size());
        fit.station_value = solution.station_value;
        fit.drift.clear();
        fit.residual.clear();
        fit.flagged.assign(observations.size(), false);
        double weighted_square_sum = 0;
        std::size_t used = 0, worst = observations.size();
        double worst_ratio = options.residual_limit;
        for (std::size_t i = 0; i < observations.size(); ++i) {
            const Observation &o = observations[i];
            const double drift = basis(o.hours, degree).dot(c) - c[0];
            const double v = o.value - (c[0] + drift + fit.station_value[o.station]);
            fit.drift.push_back(drift);
            fit.residual.push_back(v);
            const double ratio = std::fabs(v) / o.sigma;
            fit.flagged[i] = !included[i] || ratio > options.residual_limit;
            if (!included[i]) continue;
            ++used;
            weighted_square_sum += ratio * ratio;
            if (ratio > worst_ratio && included_at_station[o.station] > 1) {
                worst_ratio = ratio;
                worst = i;
            }
        }
        fit.degrees_of_freedom = used > solution.unknowns ? used - solution.unknowns : 0;
        fit.sigma0 =
            fit.degrees_of_freedom > 0
                ? std::sqrt(weighted_square_sum / static_cast<double>(fit.degrees_of_freedom))
                : 0;
        // G_SD scaled by sigma0^2 when the network has redundancy.
        const double scale = fit.degrees_of_freedom > 0 ? fit.sigma0 * fit.sigma0 : 1;
        fit.station_sd.assign(station_count, 0);
        for (std::size_t j = 0; j < station_count; ++j)
            fit.station_sd[j] = std::sqrt(solution.station_variance[j] * scale);
        if (worst == observations.size() || round == kMostLeftOut) return fit;
        included[worst] = false;
        --included_at_station[observations[worst].station];
    }
}

} // namespace gravity
