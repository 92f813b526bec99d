// The drift adjustment on a generated survey: known station gravity, a linear drift, noise of a
// few microgals, repeated base readings.
#include "chi_square.h"
#include "drift.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Station gravity relative to the base (station 0), mGal.
const double kGravity[] = {0, 1.2345, -0.5678, 2.4321, 0.8765, -1.1111};
constexpr double kDriftRate = 0.042; // mGal/h
constexpr double kLevel = 4123.456;

// Loops from the base: base, stations 1-5 out and back, base; noise of up to 4 microgals.
std::vector<gravity::Observation> generated_survey() {
    const int visits[] = {0, 1, 2, 3, 0, 4, 5, 1, 0, 2, 3, 4, 5, 0};
    const double noise[] = {0.002, -0.003, 0.001, 0.004,  -0.002, 0.0,   -0.004,
                            0.003, -0.001, 0.002, -0.002, 0.001,  0.003, -0.003};
    std::vector<gravity::Observation> observations;
    for (std::size_t i = 0; i < std::size(visits); ++i) {
        const double hours = 0.4 * static_cast<double>(i);
        const auto station = static_cast<std::size_t>(visits[i]);
        observations.push_back({.station = station,
                                .hours = hours,
                                .value = kLevel + kDriftRate * hours + kGravity[station] + noise[i],
                                .sigma = 0.003});
    }
    return observations;
}

TEST(Drift, GeneratedSurveyIsRecovered) {
    const gravity::DriftFit fit = gravity::fit_drift(generated_survey(), 6, 0);
    ASSERT_TRUE(fit.solved) << fit.problem;
    EXPECT_NEAR(fit.drift_rate(), kDriftRate, 0.005);
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_NEAR(fit.station_value[j], kGravity[j], 0.01) << "station " << j;
        EXPECT_LT(fit.station_sd[j], 0.01);
    }
    EXPECT_EQ(fit.degrees_of_freedom, 14u - 5 - 2);
    for (bool flagged : fit.flagged)
        EXPECT_FALSE(flagged);
}

// A reading spoiled by 0.1 mGal: its station is flagged, which of its two readings cannot be
// told, and no other reading is pulled beyond the limit.
TEST(Drift, SpoiledReadingIsFlagged) {
    std::vector<gravity::Observation> observations = generated_survey();
    observations[5].value += 0.1; // station 4
    const gravity::DriftFit fit = gravity::fit_drift(observations, 6, 0);
    ASSERT_TRUE(fit.solved);
    EXPECT_TRUE(fit.flagged[5] || fit.flagged[11]);
    for (std::size_t i = 0; i < observations.size(); ++i) {
        if (observations[i].station != 4) {
            EXPECT_FALSE(fit.flagged[i]) << "reading " << i;
        }
    }
    EXPECT_NEAR(fit.drift_rate(), kDriftRate, 0.005);
    EXPECT_NEAR(std::fabs(fit.residual[5] - fit.residual[11]), 0.1, 0.01);
}

TEST(Drift, ADriftNoStationTiesCannotBeDetermined) {
    // Every station read once: the base's single reading fixes the level, nothing the drift.
    const std::vector<gravity::Observation> once{
        {.station = 0, .hours = 0, .value = 10, .sigma = 0.003},
        {.station = 1, .hours = 1, .value = 11, .sigma = 0.003}};
    const gravity::DriftFit fit = gravity::fit_drift(once, 2, 0);
    EXPECT_FALSE(fit.solved);
    EXPECT_NE(fit.problem.find("drift"), std::string::npos);
    EXPECT_TRUE(gravity::fit_drift(once, 2, 0, {.degree = 0}).solved);
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
        const gravity::ChiSquareTest test = gravity::chi_square_test(1, std::size_t(row.dof));
        EXPECT_NEAR(test.lower, row.lower, 0.0005) << row.dof;
        EXPECT_NEAR(test.upper, row.upper, 0.0005) << row.dof;
        EXPECT_TRUE(test.passed());
    }
    EXPECT_FALSE(gravity::chi_square_test(1.5, 100).passed()); // 225 > 129.561
    EXPECT_FALSE(gravity::chi_square_test(0.8, 100).passed()); // 64 < 74.222
}

} // namespace
