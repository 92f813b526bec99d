// The meter's drift and the stations' gravity, by weighted least squares over all readings at
// once. A loop runs from one reading of the base to the next; the drift is a polynomial per loop,
// continuous at the base readings that join the loops (the meter's reading does not jump when the
// base is read). Each reading is modelled as
//     value = p(t) + g_station
// with t in hours, g_station each station's gravity relative to the base (g_base = 0, the datum)
// and, within the loop from base readings at T0 to T1, u = (t - T0) / (T1 - T0),
//     p(t) = q0 (1 - u) + q1 u                      degree 1
//     p(t) = q0 (1 - u) + q1 u + e (t - T0)(t - T1) degree 2
// with q the drift's value at each base reading (shared by the two loops it joins) and e the
// loop's curvature. Degree 0 takes the meter as not drifting: one level for all readings.
// Readings before the first or after the last base reading form open ends, p(t) = q + c1 s +
// c2 s^2 with s the hours from that base reading; their drift rests on stations also read in a
// loop, and without one their readings are not tied to the base.
//
// Weights are 1 / sigma^2. A curvature or an open end's term that no reading determines is left
// out (that loop taken as linear, that end of lower degree). A reading whose residual is beyond
// the limit is left out, worst first, and the network solved again without it, so that one bad
// reading does not pull every other residual with it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace gravity {

struct Observation {
    std::size_t station = 0; // index into the network's stations
    double hours = 0;        // from any fixed moment
    double value = 0;        // mGal, tide corrected
    double sigma = 0;        // mGal, above 0
};

struct DriftOptions {
    int degree = 1;            // of the drift polynomial per loop, 0..2
    double residual_limit = 3; // a residual beyond this many sigma is flagged
};

// A loop, or an open end before the first or after the last base reading.
struct LoopFit {
    bool closed = true;              // from one base reading to the next
    bool before_base = false;        // an open end before the first base reading
    std::size_t first = 0, last = 0; // its earliest and latest observation (base readings of a
                                     // closed loop), indices into the observations
    std::size_t readings = 0;        // those from first to last in time, both included
    double rate = 0;         // mGal/h: the mean over the loop ((q1 - q0) / (T1 - T0)), or c1
    double curvature = 0;    // mGal/h^2: e, or c2 of an open end
    int degree = 0;          // as adjusted: lower than asked where the readings do not tie it
    bool tied = true;        // false: an open end whose drift no station ties
    double closure_rate = 0; // mGal/h: the base readings' difference alone, of a closed loop
    double square_sum = 0;   // v'Pv of its readings kept (a base reading joining two loops
    double redundancy = 0;   // counts half in each), and their share of the degrees of freedom
    double sigma0 = 0;       // sqrt(v'Pv / redundancy); 0 without redundancy
    bool test_passed = true; // v'Pv within chi-square's 95 % quantile (where there is
                             // redundancy): a misfit too large fails
};

struct DriftFit {
    bool solved = false;
    std::string problem; // why not, when not solved
    int requested_degree = 1;

    double level = 0;                  // p at the first base reading, mGal
    std::vector<double> station_value; // relative to the base, mGal
    std::vector<double> station_sd;    // mGal
    std::vector<bool> station_tied;    // false: read only in an open end that nothing ties
    std::vector<LoopFit> loops;        // in time order
    // Per observation:
    std::vector<std::size_t> loop; // index into loops
    std::vector<double> drift;     // p(t) - level, mGal; NaN where not tied
    std::vector<double> residual;  // observed minus adjusted, mGal; NaN where not tied
    std::vector<bool> flagged;     // left out of the fit, or |residual| > limit x sigma
    std::size_t degrees_of_freedom = 0;
    double sigma0 = 0; // a-posteriori over the readings kept: sqrt(v'Pv / dof); 0 without
                       // redundancy
};

DriftFit fit_drift(const std::vector<Observation> &observations, std::size_t station_count,
                   std::size_t base, const DriftOptions &options = {});

} // namespace gravity
