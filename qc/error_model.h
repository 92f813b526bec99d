// The error model of a profile or survey: how the pair error |e| grows with the mean transfer
// resistance R, fitted over the pairs' bins. The model describes the difference of two readings,
// as its fits in the inversion tools do (a difference has sqrt(2) times one reading's sigma).
#pragma once

#include <optional>
#include <vector>

namespace qc {

// The fewest pairs a model is fitted from; with fewer, readings take the Stdev floor.
inline constexpr int kModelPairs = 20;
inline constexpr int kPairsPerBin = 20;
inline constexpr int kMostBins = 20;

struct PowerLaw { // |e| = a R^b
    double a = 0, b = 0;
    double at(double r) const;
};

struct LinearLaw { // |e| = a R + b
    double a = 0, b = 0;
    double at(double r) const { return a * r + b; }
};

struct PairPoint {
    double mean = 0;  // mean |R| of the pair
    double error = 0; // |e|
};

struct ErrorModel {
    int pairs = 0; // pairs the model was fitted over (every pair given, usable or not)
    int bins = 0;
    std::optional<PowerLaw> power; // empty with too few pairs, or bins that cannot be fitted
    std::optional<LinearLaw> linear;
};

// Sorts the pairs by their mean |R| and cuts them into bins of about 20 (at least 2, at most 20
// bins, their sizes differing by one at most); each bin gives its mean R and mean |e|. The power
// law is the least-squares line through the bins' log |e| against log R (bins with |e| of 0
// cannot take part); the linear law is the one through the bins themselves.
ErrorModel fit_error_model(std::vector<PairPoint> points);

} // namespace qc
