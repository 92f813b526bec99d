#include "drift.h"

#include "chi_square.h"
#include "selected_inverse.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gravity {

namespace {

// A pivot this small against its diagonal entry leaves its unknown undetermined.
constexpr double kPivotTolerance = 1e-9;

// A loop between two base readings, or an open end hanging from one.
struct Segment {
    bool closed = true;
    std::size_t knot = 0; // a closed loop runs from this base reading's time to the next
    double start = 0;
    int terms = 0;    // unknowns beyond the base readings' drift: the curvature, c1..cD
    bool tied = true; // false: an open end whose drift nothing determines
    int column = 0;   // of its first term
};

struct Term {
    int column = 0;
    double coefficient = 0;
};

// The network: the base readings' times and the loops between them.
struct Network {
    std::vector<double> knots;             // the distinct times of the base readings, ascending
    std::vector<int> knot_column;          // per knot
    std::vector<Segment> segments;         // in time order
    std::vector<std::size_t> segment;      // per observation
    std::vector<std::size_t> knot_of;      // per observation of the base: its knot
    std::vector<std::size_t> knot_reading; // per knot: its first base reading
    int columns = 0;

    void assign_columns(int degree) {
        columns = 0;
        knot_column.assign(knots.size(), 0);
        std::size_t next_knot = 0;
        for (Segment &s : segments) {
            // Columns in time order keep the drift unknowns' fill near the diagonal.
            while (next_knot < knots.size() && knots[next_knot] <= s.start)
                knot_column[next_knot++] = degree == 0 ? 0 : columns++;
            s.column = columns;
            columns += s.tied ? s.terms : 0;
        }
        while (next_knot < knots.size())
            knot_column[next_knot++] = degree == 0 ? 0 : columns++;
        if (degree == 0) columns = std::max(columns, 1);
    }

    // The drift's terms at time t in segment s: at most three.
    int terms(double t, const Segment &s, Term out[3]) const {
        int n = 0;
        if (s.closed) {
            const double t0 = knots[s.knot], t1 = knots[s.knot + 1];
            const double u = (t - t0) / (t1 - t0);
            out[n++] = {knot_column[s.knot], 1 - u};
            out[n++] = {knot_column[s.knot + 1], u};
            if (s.terms > 0) out[n++] = {s.column, (t - t0) * (t - t1)};
        } else {
            const double s0 = t - knots[s.knot];
            out[n++] = {knot_column[s.knot], 1};
            double power = 1;
            for (int k = 0; k < s.terms; ++k)
                out[n++] = {s.column + k, power *= s0};
        }
        return n;
    }
};

Network build_network(const std::vector<Observation> &observations, std::size_t base, int degree) {
    Network net;
    for (const Observation &o : observations)
        if (o.station == base) net.knots.push_back(o.hours);
    std::sort(net.knots.begin(), net.knots.end());
    net.knots.erase(std::unique(net.knots.begin(), net.knots.end()), net.knots.end());
    const double first = net.knots.front(), last = net.knots.back();
    const auto open_end = [&](std::size_t knot, double start) {
        return Segment{.closed = false, .knot = knot, .start = start, .terms = degree};
    };
    double earliest = first, latest = last;
    for (const Observation &o : observations) {
        earliest = std::min(earliest, o.hours);
        latest = std::max(latest, o.hours);
    }
    if (earliest < first) net.segments.push_back(open_end(0, earliest));
    for (std::size_t k = 0; k + 1 < net.knots.size(); ++k)
        net.segments.push_back(
            {.closed = true, .knot = k, .start = net.knots[k], .terms = degree == 2 ? 1 : 0});
    if (latest > last || net.segments.empty())
        net.segments.push_back(open_end(net.knots.size() - 1, last));

    net.segment.resize(observations.size());
    net.knot_of.assign(observations.size(), 0);
    net.knot_reading.assign(net.knots.size(), observations.size());
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const double t = observations[i].hours;
        // The last segment starting at or before t, or the first.
        const auto after =
            std::upper_bound(net.segments.begin(), net.segments.end(), t,
                             [](double time, const Segment &s) { return time < s.start; });
        std::size_t s = after == net.segments.begin() ? 0 : after - net.segments.begin() - 1;
        // A base reading opens the loop after it; the last one closes the loop before it.
        if (observations[i].station != base && t == last && s > 0 && net.segments[s - 1].closed)
            --s;
        net.segment[i] = s;
        if (observations[i].station != base) continue;
        const std::size_t knot =
            std::lower_bound(net.knots.begin(), net.knots.end(), t) - net.knots.begin();
        net.knot_of[i] = knot;
        if (net.knot_reading[knot] == observations.size()) net.knot_reading[knot] = i;
    }
    return net;
}

struct Solution {
    bool solved = false;
    Eigen::VectorXd x;              // stations, then the drift's columns
    std::vector<int> station_index; // per station: its unknown, -1 for the base and the untied
    std::vector<bool> active;       // per observation: in the fit
    std::optional<SelectedInverse> inverse;
};

// The least-squares solution over the included observations; terms no reading determines are
// dropped from the network first.
Solution solve(const std::vector<Observation> &observations, const std::vector<bool> &included,
               std::size_t station_count, std::size_t base, int degree, Network &net) {
    for (;;) {
        net.assign_columns(degree);
        Solution solution;
        solution.active.assign(observations.size(), false);
        solution.station_index.assign(station_count, -1);
        int stations = 0;
        for (std::size_t i = 0; i < observations.size(); ++i) {
            const Observation &o = observations[i];
            solution.active[i] =
                included[i] && (o.station == base || net.segments[net.segment[i]].tied);
            if (solution.active[i] && o.station != base && solution.station_index[o.station] < 0)
                solution.station_index[o.station] = stations++;
        }
        // Stations first: each ties to the drift only, so eliminating them first fills in the
        // drift's block alone.
        const int size = stations + net.columns;
        std::vector<Eigen::Triplet<double>> triplets;
        triplets.reserve(observations.size() * 10);
        Eigen::VectorXd rhs = Eigen::VectorXd::Zero(size);
        for (std::size_t i = 0; i < observations.size(); ++i) {
            if (!solution.active[i]) continue;
            const Observation &o = observations[i];
            Term t[4];
            int n = o.station == base ? 0 : 1;
            if (n == 1) t[0] = {solution.station_index[o.station], 1};
            if (o.station == base)
                t[n++] = {stations + net.knot_column[net.knot_of[i]], 1};
            else {
                const int drift = net.terms(o.hours, net.segments[net.segment[i]], t + 1);
                for (int k = 1; k <= drift; ++k)
                    t[k].column += stations;
                n += drift;
            }
            const double w = 1 / (o.sigma * o.sigma);
            for (int a = 0; a < n; ++a) {
                rhs[t[a].column] += w * t[a].coefficient * o.value;
                for (int b = 0; b < n; ++b)
                    if (t[b].column >= t[a].column)
                        triplets.emplace_back(t[b].column, t[a].column,
                                              w * t[a].coefficient * t[b].coefficient);
            }
        }
        SelectedInverse::Matrix normal(size, size);
        normal.setFromTriplets(triplets.begin(), triplets.end());
        solution.inverse.emplace(normal, kPivotTolerance);
        const std::optional<Eigen::Index> undetermined = solution.inverse->undetermined();
        if (!undetermined) {
            solution.solved = true;
            solution.x = solution.inverse->solve(rhs);
            return solution;
        }
        // Only a loop's curvature or an open end's terms can be undetermined: every base
        // reading fixes the drift at its time.
        const int column = static_cast<int>(*undetermined) - stations;
        const auto owner =
            std::find_if(net.segments.begin(), net.segments.end(), [&](const Segment &s) {
                return s.tied && column >= s.column && column < s.column + s.terms;
            });
        if (column < 0 || owner == net.segments.end()) return Solution{};
        --owner->terms; // an open end loses its highest term first
        if (!owner->closed && owner->terms == 0) owner->tied = false;
    }
}

// The unknowns of one observation's equation, with their coefficients: its station's, then the
// drift's. None when its open end is not tied.
int equation(const Observation &o, std::size_t i, std::size_t base, const Network &net,
             const Solution &solution, Term out[4]) {
    const int stations = static_cast<int>(solution.x.size()) - net.columns;
    if (o.station == base) {
        out[0] = {stations + net.knot_column[net.knot_of[i]], 1};
        return 1;
    }
    const Segment &segment = net.segments[net.segment[i]];
    if (!segment.tied) return 0;
    out[0] = {solution.station_index[o.station], 1};
    const int n = 1 + net.terms(o.hours, segment, out + 1);
    for (int k = 1; k < n; ++k)
        out[k].column += stations;
    return n;
}

void add_loop_statistics(const std::vector<Observation> &observations, std::size_t base,
                         const Network &net, const Solution &solution, DriftFit &fit) {
    const auto share = [&](std::size_t i, double square, double redundancy) {
        std::vector<std::size_t> adjacent{fit.loop[i]};
        if (observations[i].station == base) { // a base reading serves each loop it joins
            adjacent.clear();
            // Its own segment and its neighbours are the only ones that can end at its time.
            const std::size_t own = fit.loop[i];
            for (std::size_t s = own > 0 ? own - 1 : 0; s <= own + 1 && s < net.segments.size();
                 ++s) {
                const Segment &segment = net.segments[s];
                if (segment.knot == net.knot_of[i] ||
                    (segment.closed && segment.knot + 1 == net.knot_of[i]))
                    adjacent.push_back(s);
            }
        }
        for (std::size_t s : adjacent) {
            LoopFit &loop = fit.loops[s];
            const Observation &o = observations[i];
            if (loop.readings == 0 || o.hours < observations[loop.first].hours) loop.first = i;
            if (loop.readings == 0 || o.hours >= observations[loop.last].hours) loop.last = i;
            ++loop.readings;
            loop.square_sum += square / static_cast<double>(adjacent.size());
            loop.redundancy += redundancy / static_cast<double>(adjacent.size());
        }
    };
    for (std::size_t i = 0; i < observations.size(); ++i) {
        Term t[4];
        const int n = equation(observations[i], i, base, net, solution, t);
        double square = 0, redundancy = 0;
        if (solution.active[i] && n > 0) {
            const double w = 1 / (observations[i].sigma * observations[i].sigma);
            double leverage = 0;
            for (int a = 0; a < n; ++a)
                for (int b = 0; b < n; ++b)
                    leverage += t[a].coefficient * t[b].coefficient *
                                solution.inverse->at(t[a].column, t[b].column);
            square = w * fit.residual[i] * fit.residual[i];
            redundancy = std::max(0.0, 1 - w * leverage);
        }
        share(i, square, redundancy);
    }
    // Below half a degree of freedom a loop's misfit says nothing.
    constexpr double kLeastRedundancy = 0.5;
    for (LoopFit &loop : fit.loops) {
        if (loop.redundancy < kLeastRedundancy) continue;
        loop.sigma0 = std::sqrt(loop.square_sum / loop.redundancy);
        // Only a misfit too large fails: a loop that fits better than its sigmas say is no
        // reason to read it again.
        loop.test_passed = loop.square_sum <= chi_square_quantile(0.95, loop.redundancy);
    }
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
    if (std::none_of(observations.begin(), observations.end(),
                     [&](const Observation &o) { return o.station == base; })) {
        fit.problem = "the base was never read";
        return fit;
    }
    const Network network = build_network(observations, base, degree);
    std::vector<bool> included(observations.size(), true);
    std::vector<std::size_t> included_at_station(station_count, 0);
    for (const Observation &o : observations)
        ++included_at_station[o.station];
    // A reading far off pulls the drift and with it every other residual: the worst reading
    // beyond the limit is left out and the network solved again, until none is beyond it. A
    // station keeps at least one reading, and the base every reading (each is the drift at its
    // time), so what was tied stays tied.
    constexpr int kMostLeftOut = 200;
    Solution solution;
    Network net;
    std::vector<double> p(observations.size()), residual(observations.size());
    std::size_t left_out = observations.size();
    for (int round = 0;; ++round) {
        Network trial = network;
        Solution next = solve(observations, included, station_count, base, degree, trial);
        if (!next.solved) {
            if (round == 0) {
                fit.problem = "the drift cannot be determined";
                return fit;
            }
            // Should rounding make the reading left out indispensable, the fit before stands.
            included[left_out] = true;
            break;
        }
        solution = std::move(next);
        net = std::move(trial);
        std::size_t worst = observations.size();
        double worst_ratio = options.residual_limit;
        for (std::size_t i = 0; i < observations.size(); ++i) {
            const Observation &o = observations[i];
            Term t[4];
            const int n = equation(o, i, base, net, solution, t);
            double adjusted = 0;
            for (int k = 0; k < n; ++k)
                adjusted += t[k].coefficient * solution.x[t[k].column];
            const double station = o.station == base ? 0 : solution.x[t[0].column];
            p[i] = n > 0 ? adjusted - station : std::numeric_limits<double>::quiet_NaN();
            residual[i] = o.value - adjusted;
            if (n == 0) residual[i] = std::numeric_limits<double>::quiet_NaN();
            const double ratio = std::fabs(residual[i]) / o.sigma;
            if (solution.active[i] && o.station != base && included_at_station[o.station] > 1 &&
                ratio > worst_ratio) {
                worst_ratio = ratio;
                worst = i;
            }
        }
        if (worst == observations.size() || round == kMostLeftOut) break;
        included[worst] = false;
        --included_at_station[observations[worst].station];
        left_out = worst;
    }

    fit.solved = true;
    fit.requested_degree = degree;
    fit.level = p[net.knot_reading[0]];
    std::size_t kept = 0;
    double square_sum = 0;
    fit.loop = net.segment;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const double ratio = std::fabs(residual[i]) / observations[i].sigma;
        fit.drift.push_back(p[i] - fit.level);
        fit.residual.push_back(residual[i]);
        fit.flagged.push_back(!included[i] || ratio > options.residual_limit);
        if (!solution.active[i]) continue;
        ++kept;
        square_sum += ratio * ratio;
    }
    const auto unknowns = static_cast<std::size_t>(solution.x.size());
    fit.degrees_of_freedom = kept > unknowns ? kept - unknowns : 0;
    fit.sigma0 = fit.degrees_of_freedom > 0
                     ? std::sqrt(square_sum / static_cast<double>(fit.degrees_of_freedom))
                     : 0;
    // G_SD scaled by sigma0^2 when the network has redundancy.
    const double scale = fit.degrees_of_freedom > 0 ? fit.sigma0 * fit.sigma0 : 1;
    fit.station_value.assign(station_count, 0);
    fit.station_sd.assign(station_count, 0);
    fit.station_tied.assign(station_count, true);
    for (std::size_t j = 0; j < station_count; ++j) {
        const int index = solution.station_index[j];
        if (index >= 0) {
            fit.station_value[j] = solution.x[index];
            fit.station_sd[j] = std::sqrt(solution.inverse->at(index, index) * scale);
        } else if (j != base) {
            fit.station_tied[j] = false;
            fit.station_value[j] = fit.station_sd[j] = std::numeric_limits<double>::quiet_NaN();
        }
    }

    const int stations = static_cast<int>(solution.x.size()) - net.columns;
    for (const Segment &s : net.segments) {
        LoopFit &loop = fit.loops.emplace_back();
        loop.closed = s.closed;
        loop.before_base = !s.closed && s.start < net.knots[s.knot];
        loop.tied = s.tied;
        if (!s.tied) continue;
        loop.degree = s.closed && degree > 0 ? 1 + s.terms : s.terms;
        if (s.closed) {
            const double hours = net.knots[s.knot + 1] - net.knots[s.knot];
            loop.rate = (solution.x[stations + net.knot_column[s.knot + 1]] -
                         solution.x[stations + net.knot_column[s.knot]]) /
                        hours;
            if (s.terms > 0) loop.curvature = solution.x[stations + s.column];
        } else {
            if (s.terms > 0) loop.rate = solution.x[stations + s.column];
            if (s.terms > 1) loop.curvature = solution.x[stations + s.column + 1];
        }
    }
    add_loop_statistics(observations, base, net, solution, fit);
    for (std::size_t s = 0; s < net.segments.size(); ++s) {
        if (!net.segments[s].closed) continue;
        const Observation &b0 = observations[net.knot_reading[net.segments[s].knot]];
        const Observation &b1 = observations[net.knot_reading[net.segments[s].knot + 1]];
        fit.loops[s].closure_rate = (b1.value - b0.value) / (b1.hours - b0.hours);
    }
    if (std::none_of(fit.loops.begin(), fit.loops.end(),
                     [](const LoopFit &loop) { return loop.tied; })) {
        fit.solved = false;
        fit.problem = "the drift cannot be determined: too few stations were read again at other "
                      "times for a drift of degree " +
                      std::to_string(degree);
    }
    return fit;
}

} // namespace gravity
