// The meter's drift over repeated stations, by weighted least squares over all readings at once.
// Each reading is modelled as
//     value = level + c1 t + ... + cD t^D + g_station
// with t in hours from the first reading, one drift polynomial common to the whole network and
// g_station each station's gravity relative to the base (g_base = 0, the datum). Weights are
// 1 / sigma^2. The station unknowns are eliminated first (each reading ties one station only),
// leaving a system of D + 1 unknowns, so a full memory of readings solves in linear time.
// A reading whose residual is beyond the limit is left out, worst first, and the network solved
// again without it, so that one bad reading does not pull every other residual with it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace gravity {

struct Observation {
    std::size_t station = 0; // index into the network's stations
    double hours = 0;        // since the first reading
    double value = 0;        // mGal, tide corrected
    double sigma = 0;        // mGal, above 0
};

struct DriftOptions {
    int degree = 1;            // of the drift polynomial, 0..2
    double residual_limit = 3; // a residual beyond this many sigma is flagged
};

struct DriftFit {
    bool solved = false;
    std::string problem; // why not, when not solved

    double level = 0;                  // the base's reading at t = 0, mGal
    std::vector<double> coefficients;  // c1..cD, mGal/h^k
    std::vector<double> station_value; // relative to the base, mGal
    std::vector<double> station_sd;    // mGal
    std::vector<double> drift;         // per observation: c1 t + ... + cD t^D, mGal
    std::vector<double> residual;      // per observation: observed minus adjusted, mGal
    // Per observation: left out of the fit, or |residual| > limit x sigma.
    std::vector<bool> flagged;
    std::size_t degrees_of_freedom = 0;
    double sigma0 = 0; // a-posteriori over the readings kept: sqrt(v'Pv / dof); 0 without
                       // redundancy

    double drift_rate() const { return coefficients.empty() ? 0 : coefficients[0]; } // mGal/h
};

DriftFit fit_drift(const std::vector<Observation> &observations, std::size_t station_count,
                   std::size_t base, const DriftOptions &options = {});

} // namespace gravity
