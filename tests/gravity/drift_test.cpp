// The drift adjustment on a generated survey: known station gravity, a linear drift that differs
// from loop to loop, noise of a few microgals, the base read between the loops.
#include "chi_square.h"
#include "drift.h"
#include "selected_inverse.h"

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// Station gravity relative to the base (station 0), mGal.
const double kGravity[] = {0, 1.2345, -0.5678, 2.4321, 0.8765, -1.1111, 0.3333};
const double kLoopRate[] = {0.042, -0.018, 0.071, 0.006}; // mGal/h
constexpr double kLevel = 4123.456;
constexpr double kHoursPerReading = 0.5;

// Four loops from the base; a station read in two loops. Up to 3 microgals of noise.
std::vector<gravity::Observation> generated_survey(double sigma = 0.003) {
    const int visits[] = {0, 1, 2, 3, 0, 3, 4, 5, 0, 5, 6, 1, 0, 2, 4, 6, 0};
    const double noise[] = {0.002, -0.003, 0.001, 0.003, -0.002, 0.0,   -0.003, 0.003, -0.001,
                            0.002, -0.002, 0.001, 0.003, -0.003, 0.001, -0.001, 0.002};
    std::vector<gravity::Observation> observations;
    double drift = 0;
    for (std::size_t i = 0; i < std::size(visits); ++i) {
        if (i > 0) drift += kLoopRate[(i - 1) / 4] * kHoursPerReading;
        const auto station = static_cast<std::size_t>(visits[i]);
        observations.push_back({.station = station,
                                .hours = kHoursPerReading * static_cast<double>(i),
                                .value = kLevel + drift + kGravity[station] + noise[i],
                                .sigma = sigma});
    }
    return observations;
}

TEST(Drift, GeneratedSurveyIsRecoveredLoopByLoop) {
    const gravity::DriftFit fit = gravity::fit_drift(generated_survey(), 7, 0);
    ASSERT_TRUE(fit.solved) << fit.problem;
    ASSERT_EQ(fit.loops.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_TRUE(fit.loops[k].closed);
        EXPECT_NEAR(fit.loops[k].rate, kLoopRate[k], 0.005) << "loop " << k;
        EXPECT_EQ(fit.loops[k].readings, 5u);
        EXPECT_TRUE(fit.loops[k].test_passed);
    }
    for (std::size_t j = 0; j < 7; ++j) {
        EXPECT_NEAR(fit.station_value[j], kGravity[j], 0.01) << "station " << j;
        EXPECT_LT(fit.station_sd[j], 0.01);
    }
    // 17 readings; 6 stations and the drift at 5 base readings.
    EXPECT_EQ(fit.degrees_of_freedom, 17u - 6 - 5);
    // The loops' shares of the redundancy add up to the network's.
    double redundancy = 0;
    for (const gravity::LoopFit &loop : fit.loops)
        redundancy += loop.redundancy;
    EXPECT_NEAR(redundancy, 6, 1e-9);
    for (bool flagged : fit.flagged)
        EXPECT_FALSE(flagged);
}

// A reading spoiled by 0.1 mGal: its station is flagged, which of its two readings cannot be
// told, and no other reading is pulled beyond the limit.
TEST(Drift, SpoiledReadingIsFlagged) {
    std::vector<gravity::Observation> observations = generated_survey();
    observations[6].value += 0.1; // station 4, also read at 14
    const gravity::DriftFit fit = gravity::fit_drift(observations, 7, 0);
    ASSERT_TRUE(fit.solved);
    EXPECT_TRUE(fit.flagged[6] || fit.flagged[14]);
    for (std::size_t i = 0; i < observations.size(); ++i)
        EXPECT_TRUE(observations[i].station == 4 || !fit.flagged[i]) << "reading " << i;
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(fit.loops[k].rate, kLoopRate[k], 0.005) << "loop " << k;
    EXPECT_NEAR(std::fabs(fit.residual[6] - fit.residual[14]), 0.1, 0.01);
}

// Three loops, each station read twice within its loop; the second loop's readings scatter by
// ten times their sigma: that loop alone fails its test.
TEST(Drift, NoisyLoopFailsItsTest) {
    const int visits[] = {0, 1, 2, 1, 2, 0, 3, 4, 3, 4, 0, 5, 6, 5, 6, 0};
    const double noise[] = {0.001, -0.002, 0.002, 0.001, -0.001, 0,     0.03,  -0.03,
                            -0.03, 0.03,   0,     0.002, -0.001, 0.001, 0.002, -0.001};
    std::vector<gravity::Observation> observations;
    for (std::size_t i = 0; i < std::size(visits); ++i)
        observations.push_back({.station = static_cast<std::size_t>(visits[i]),
                                .hours = 0.5 * static_cast<double>(i),
                                .value = kLevel + kGravity[visits[i]] + 0.03 * i + noise[i],
                                .sigma = 0.003});
    const gravity::DriftFit fit =
        gravity::fit_drift(observations, 7, 0, {.degree = 1, .residual_limit = 1000});
    ASSERT_TRUE(fit.solved);
    ASSERT_EQ(fit.loops.size(), 3u);
    EXPECT_TRUE(fit.loops[0].test_passed);
    EXPECT_FALSE(fit.loops[1].test_passed);
    EXPECT_GT(fit.loops[1].sigma0, 5);
    EXPECT_TRUE(fit.loops[2].test_passed);
}

TEST(Drift, WhatTheReadingsDoNotTie) {
    // The base read once, every station once: nothing ties the drift after it.
    const std::vector<gravity::Observation> once{
        {.station = 0, .hours = 0, .value = 10, .sigma = 0.003},
        {.station = 1, .hours = 1, .value = 11, .sigma = 0.003}};
    const gravity::DriftFit fit = gravity::fit_drift(once, 2, 0);
    EXPECT_FALSE(fit.solved);
    EXPECT_NE(fit.problem.find("drift"), std::string::npos);
    EXPECT_TRUE(gravity::fit_drift(once, 2, 0, {.degree = 0}).solved);

    // After the last base reading: station 7 read there only; station 3 also in a loop, so the
    // open end's rate rests on it.
    std::vector<gravity::Observation> observations = generated_survey();
    const double end = observations.back().hours, drift_at_end = observations.back().value;
    observations.push_back({3, end + 2.0, drift_at_end + kGravity[3] + 0.08, 0.003});
    observations.push_back({7, end + 2.5, drift_at_end + 5, 0.003});
    gravity::DriftFit open = gravity::fit_drift(observations, 8, 0);
    ASSERT_TRUE(open.solved);
    ASSERT_EQ(open.loops.size(), 5u);
    EXPECT_FALSE(open.loops[4].closed);
    EXPECT_NEAR(open.loops[4].rate, 0.04, 0.005);
    EXPECT_TRUE(open.station_tied[7]);
    // Without station 3 there, station 7 is not tied; the loops are adjusted as before.
    observations.erase(observations.end() - 2);
    open = gravity::fit_drift(observations, 8, 0);
    ASSERT_TRUE(open.solved);
    EXPECT_FALSE(open.loops[4].tied);
    EXPECT_FALSE(open.station_tied[7]);
    EXPECT_TRUE(std::isnan(open.residual.back()));
    EXPECT_NEAR(open.station_value[6], kGravity[6], 0.01);
    // The same station read before the first base reading instead: the rest is still reduced.
    observations.back().hours = -1;
    open = gravity::fit_drift(observations, 8, 0);
    EXPECT_TRUE(open.loops.front().before_base && !open.loops.front().tied);
    EXPECT_NEAR(open.drift[2], kLoopRate[0] * 1.0, 0.005); // station 2, an hour after the base

    // Degree 2: a loop whose stations were each read once only keeps a straight drift.
    observations.pop_back();
    observations.push_back({8, end + 1, drift_at_end + 1, 0.003});
    observations.push_back({0, end + 2, drift_at_end + 0.01, 0.003});
    const gravity::DriftFit curved = gravity::fit_drift(observations, 9, 0, {.degree = 2});
    ASSERT_TRUE(curved.solved) << curved.problem;
    ASSERT_EQ(curved.loops.size(), 5u);
    EXPECT_EQ(curved.loops[0].degree, 2);
    EXPECT_EQ(curved.loops[4].degree, 1);
    EXPECT_NEAR(curved.station_value[8], 1 - 0.005, 0.005);
}

// The inverse's entries where the factor has entries, against the dense inverse.
TEST(SelectedInverse, MatchesTheDenseInverse) {
    Eigen::MatrixXd dense(5, 5);
    dense << 4, 0, 1, 0, 1, //
        0, 3, 0, 1, 1,      //
        1, 0, 5, 0, 2,      //
        0, 1, 0, 2, 1,      //
        1, 1, 2, 1, 6;
    const Eigen::MatrixXd inverse = dense.inverse();
    const gravity::SelectedInverse selected(dense.sparseView(), 1e-9);
    ASSERT_FALSE(selected.undetermined());
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b)
            EXPECT_NEAR(dense(a, b) != 0 ? selected.at(a, b) : inverse(a, b), inverse(a, b), 1e-12);
    const Eigen::VectorXd rhs = Eigen::VectorXd::LinSpaced(5, 1, 5);
    EXPECT_LT((selected.solve(rhs) - inverse * rhs).norm(), 1e-12);
    dense.row(4).setZero();
    dense.col(4).setZero();
    EXPECT_EQ(gravity::SelectedInverse(dense.sparseView(), 1e-9).undetermined(), 4);
}

} // namespace

namespace {

// Critical values as tabled in the NIST/SEMATECH e-Handbook of Statistical Methods, 1.3.6.7.4
// (upper and lower tails of 0.025, three decimals).
TEST(ChiSquare, TabledCriticalValues) {
    const struct {
        double dof, lower, upper;
    } table[] = {{1, 0.001, 5.024}, {10, 3.247, 20.483}, {100, 74.222, 129.561}};
    for (const auto &row : table) {
        const gravity::ChiSquareTest test = gravity::chi_square_test(1, row.dof);
        EXPECT_NEAR(test.lower, row.lower, 0.0005) << row.dof;
        EXPECT_NEAR(test.upper, row.upper, 0.0005) << row.dof;
        EXPECT_TRUE(test.passed());
    }
    EXPECT_FALSE(gravity::chi_square_test(1.5, 100).passed()); // 225 > 129.561
    EXPECT_FALSE(gravity::chi_square_test(0.8, 100).passed()); // 64 < 74.222
}

} // namespace
