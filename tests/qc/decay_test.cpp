// Decay curves: the power law m(t) = a t^b recovered from noisy decays, and each kind of doubtful
// decay flagged by the decay-curve analysis of Flores Orozco et al. (2018).
#include "decay.h"
#include "qc_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kA = 20, kB = -0.5;

// Eight windows of m = 20 t^-0.5, each off by up to 3 % in a pattern of its own.
std::vector<float> decay(int seed, double scale = 1) {
    std::vector<float> m;
    for (int t = 1; t <= 8; ++t)
        m.push_back(static_cast<float>(scale * kA * std::pow(t, kB) *
                                       (1 + 0.03 * std::sin(1.7 * t + 2.3 * seed))));
    return m;
}

// Six current dipoles of 5 m along a line, each with potential dipoles at n = 1 to 6.
std::vector<survey::IpReading> profile() {
    std::vector<survey::IpReading> readings;
    for (int c = 0; c < 6; ++c)
        for (int n = 1; n <= 6; ++n) {
            const double a = 5.0 * c, m = a + 5.0 * (n + 1);
            survey::IpReading r = qc_test::at(a, a + 5, m, m + 5, 1);
            r.m = decay(static_cast<int>(readings.size()));
            readings.push_back(r);
        }
    return readings;
}

TEST(Decays, TheFittedLawIsThePowerLawTheDecaysFollow) {
    for (const qc::DecayCheck &check : qc::check_decays(profile())) {
        ASSERT_TRUE(check.law);
        EXPECT_NEAR(check.law->a, kA, 0.2 * kA);
        EXPECT_NEAR(check.law->b, kB, 0.2 * std::fabs(kB));
        EXPECT_FALSE(check.flagged());
    }
}

TEST(Decays, EachDoubtfulDecayIsFlaggedForItsReason) {
    std::vector<survey::IpReading> readings = profile();
    readings[3].m = decay(3, 5);                          // five times its dipole's master curve
    readings[8].m = {10, 12, 8, 7, 6, 5, 4, 3};           // rises from window 1 to 2
    readings[14].m = {5, 5, 5, 5, 5, 5, 5, 5};            // flat: b is not below 0
    readings[20].m = {-3, -2, -1.5f, -1, -1, -1, -1, -1}; // negative throughout
    const std::vector<qc::DecayCheck> checks = qc::check_decays(readings);
    EXPECT_TRUE(checks[3].off_master);
    EXPECT_LT(*checks[3].master_shift, 0) << "the decay lies above its master curve";
    EXPECT_EQ(checks[8].rising_from, 1);
    EXPECT_TRUE(checks[14].not_falling);
    EXPECT_TRUE(checks[20].not_positive);
    for (std::size_t i = 0; i < checks.size(); ++i)
        EXPECT_EQ(checks[i].flagged(), i == 3 || i == 8 || i == 14 || i == 20) << i;

    // No M channels, or every one 0 (no IP recorded), is no decay, and nothing to flag.
    EXPECT_FALSE(qc::check_decay({}).flagged());
    EXPECT_FALSE(qc::check_decay({0, 0, 0, 0}).flagged());
    EXPECT_FALSE(qc::check_decay({0, 0, 0, 0}).law);
}

// The master curve drawn beside a decay is its dipole's: the law its readings follow, whatever a
// rising decay of that dipole does.
TEST(Decays, TheMasterCurveIsTheLawOfTheDipolesSoundDecays) {
    std::vector<survey::IpReading> readings = profile();
    readings[8].m = {100, 120, 80, 70, 60, 50, 40, 30};
    const std::vector<double> master = qc::master_curve(readings, qc::check_decays(readings), 8);
    ASSERT_EQ(master.size(), 8u);
    for (std::size_t k = 0; k < master.size(); ++k)
        EXPECT_NEAR(master[k], kA * std::pow(k + 1.0, kB), 0.03 * kA) << k;
}

} // namespace
