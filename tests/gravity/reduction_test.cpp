// Reducing readings: the tide correction each takes by the meter's option, and the anomalies
// against Hinze et al.'s worked values.
#include "anomaly.h"
#include "reduction.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// One reading in latitude/longitude mode at the published Longman case, the meter's TIDE 0.020.
survey::Database reading_at_reference_case(std::optional<bool> tide_corrected) {
    survey::GravityReading r;
    r.x = 282.1414f; // longitude
    r.y = 40.7914f;  // latitude
    r.altitude = 370;
    r.gravity = 5000;
    r.standard_deviation = 0.01f;
    r.tide = 0.020;
    r.date = survey::Date{2015, 0x04, 0x23};
    r.coordinate_mode = 12;
    r.tide_corrected = tide_corrected;
    survey::Database db;
    db.surveys.emplace_back().lines.emplace_back().gravity_readings.push_back(r);
    return db;
}

// The meter's Tide Correction option decides which correction applies, unless one is chosen.
TEST(Reduction, TideCorrectionFollowsTheMeterOption) {
    constexpr double kModel = 0.0035347473; // LongmanTide's published case (tide_test.cpp)
    const struct {
        std::optional<bool> corrected;
        gravity::TideSource source;
        bool meter;
        double reduced;
    } cases[] = {
        {true, gravity::TideSource::Automatic, true, 5000},
        {std::nullopt, gravity::TideSource::Automatic, true, 5000},
        {false, gravity::TideSource::Automatic, false, 5000 + kModel},
        {true, gravity::TideSource::Model, false, 5000 - 0.020 + kModel},
        {false, gravity::TideSource::Meter, true, 5000 + 0.020},
    };
    for (const auto &c : cases) {
        const survey::Database db = reading_at_reference_case(c.corrected);
        gravity::ReductionOptions options;
        options.tide = c.source;
        const gravity::Reduction reduction = gravity::reduce({&db}, options);
        ASSERT_EQ(reduction.readings.size(), 1u);
        const gravity::ReducedReading &r = reduction.readings[0];
        EXPECT_NEAR(r.tide_model, kModel, 1e-6);
        EXPECT_EQ(r.meter_tide, c.meter);
        // Nothing ties a single reading's drift, so the reading stays tide-corrected only.
        EXPECT_FALSE(reduction.drift.solved);
        EXPECT_NEAR(r.reduced, c.reduced, 1e-6);
        // A meter that applied no correction has no tide to compare.
        EXPECT_EQ(reduction.tide.readings, c.corrected == false ? 0u : 1u);
    }
    // By line and station, at a survey header without a reference position: named.
    survey::Database db = reading_at_reference_case(true);
    db.surveys[0].lines[0].gravity_readings[0].coordinate_mode = 0;
    EXPECT_EQ(gravity::reduce({&db}).without_position, 1u);
    db.surveys[0].header.latitude = 40.7914;
    EXPECT_EQ(gravity::reduce({&db}).without_position, 0u);
}

} // namespace

namespace {

// Hinze et al. (2005): GRS80 normal gravity at 0, 45 and 90 degrees; at 45 degrees and 1000 m
// the height correction -308.4771 mGal and the atmospheric correction 0.7786 mGal; the slab
// 2 pi G rho = 0.04193 mGal/m per g/cm^3.
TEST(Anomaly, HinzeWorkedValues) {
    EXPECT_NEAR(gravity::normal_gravity(0), 978032.6772, 1e-4);
    EXPECT_NEAR(gravity::normal_gravity(45), 980619.9202, 1e-4);
    EXPECT_NEAR(gravity::normal_gravity(-90), 983218.6368, 1e-4);
    EXPECT_NEAR(gravity::height_correction(45, 1000), -308.4771, 1e-4);
    EXPECT_NEAR(gravity::atmospheric_correction(1000), 0.7786, 1e-4);
    EXPECT_NEAR(gravity::bouguer_slab(1000, 1), 0.04193, 5e-6);
    // A station at 45 degrees, 1000 m, whose gravity is normal gravity less the height
    // correction: its free-air anomaly is the atmospheric correction alone.
    EXPECT_NEAR(gravity::free_air_anomaly(980619.9202 - 308.4771, 45, 1000), 0.7786, 2e-4);
}

} // namespace
