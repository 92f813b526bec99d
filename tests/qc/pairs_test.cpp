// Repeats and reciprocals matched as the reciprocal-error tools match them (electrodes sorted
// within each dipole, R's sign flipped when one dipole's order was swapped), with e = R1 - R2 and
// the relative error |e| / mean |R|.
#include "qc_fixture.h"
#include "reading_errors.h"

#include <gtest/gtest.h>

namespace {

using qc_test::at;

// A B M N = 0 10 20 30 with R = +10; the second reading measures the same four electrodes in
// another order, with the value a sound instrument records there (the sign follows each dipole's
// order; a reciprocal equals its normal). Every case is then 0.4 apart: e = -0.4,
// relative 0.4 / 10.2.
TEST(Pairs, MatchedInEveryElectrodeOrder) {
    const struct {
        double a, b, m, n, r;
        qc::PairKind kind;
    } cases[] = {
        {0, 10, 20, 30, 10.4, qc::PairKind::Repeat},
        {10, 0, 20, 30, -10.4, qc::PairKind::Repeat},
        {0, 10, 30, 20, -10.4, qc::PairKind::Repeat},
        {10, 0, 30, 20, 10.4, qc::PairKind::Repeat},
        {20, 30, 0, 10, 10.4, qc::PairKind::Reciprocal},
        {30, 20, 0, 10, -10.4, qc::PairKind::Reciprocal},
        {20, 30, 10, 0, -10.4, qc::PairKind::Reciprocal},
        {30, 20, 10, 0, 10.4, qc::PairKind::Reciprocal},
    };
    for (const auto &c : cases) {
        // The order of the readings in the file does not matter either.
        for (bool second_first : {false, true}) {
            std::vector<survey::IpReading> readings{at(0, 10, 20, 30, 10),
                                                    at(c.a, c.b, c.m, c.n, c.r)};
            if (second_first) std::swap(readings[0], readings[1]);
            const std::vector<qc::Pair> pairs = qc::match_pairs(readings);
            SCOPED_TRACE(testing::Message() << c.a << " " << c.b << " " << c.m << " " << c.n
                                            << (second_first ? " first" : ""));
            ASSERT_EQ(pairs.size(), 1u);
            EXPECT_EQ(pairs[0].kind, c.kind);
            EXPECT_EQ(pairs[0].first, 0u);
            EXPECT_EQ(pairs[0].second, 1u);
            EXPECT_NEAR(std::fabs(pairs[0].error()), 0.4, 1e-5);
            EXPECT_NEAR(pairs[0].relative_error(), 0.4 / 10.2, 1e-6);
            EXPECT_FALSE(pairs[0].on_ro);
        }
    }
}

TEST(Pairs, WhatIsNotAPair) {
    // Electrodes half a metre apart, or sharing three of four places, are different readings;
    // a reading with Ro below 0 or electrodes at one place takes no part; of three readings of
    // one set of electrodes the reciprocal goes with the first normal, the other stays alone.
    std::vector<survey::IpReading> readings{
        at(0, 10, 20, 30, 10),       at(0, 10, 20.5, 30, 10), at(0, 10, 30, 40, 5),
        at(20, 30, 0, 10, 10, -100), at(0, 10, 10, 20, 10),   at(0, 10, 20, 30, 10.2),
        at(20, 30, 0, 10, 9.8),
    };
    const std::vector<qc::Pair> pairs = qc::match_pairs(readings);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].kind, qc::PairKind::Reciprocal);
    EXPECT_EQ(pairs[0].first, 0u);
    EXPECT_EQ(pairs[0].second, 6u);
    EXPECT_FALSE(qc::pairable(readings[3]));
    EXPECT_FALSE(qc::pairable(readings[4]));
}

TEST(Pairs, PolePoleAndRoWithoutTransferResistance) {
    // Pole-pole: B and N remote; A 0 M 20 and A 20 M 0 are reciprocals.
    survey::IpReading normal = at(0, 0, 20, 0, 3), reciprocal = at(20, 0, 0, 0, 3.3);
    normal.array_code = reciprocal.array_code = ravelin::array_code::kPolePole;
    // Without Itx the pair compares Ro as recorded: Ro carries the sign of its own geometric
    // factor, so a swapped dipole does not flip it.
    survey::IpReading with_ro = at(0, 10, 20, 30, 10, 100), without = at(30, 20, 0, 10, 0, 104);
    without.itx = 0;
    const std::vector<qc::Pair> poles = qc::match_pairs({normal, reciprocal});
    const std::vector<qc::Pair> ro = qc::match_pairs({with_ro, without});
    ASSERT_EQ(poles.size(), 1u);
    EXPECT_EQ(poles[0].kind, qc::PairKind::Reciprocal);
    EXPECT_NEAR(poles[0].error(), -0.3, 1e-5);
    ASSERT_EQ(ro.size(), 1u);
    EXPECT_TRUE(ro[0].on_ro);
    EXPECT_NEAR(ro[0].error(), -4, 1e-4);
    EXPECT_NEAR(ro[0].relative_error(), 4.0 / 102, 1e-6);
}

} // namespace
