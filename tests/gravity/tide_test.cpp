// The Longman tide against the published reference case, and reading times in UTC by the
// calendar's rules.
#include "longman.h"
#include "reduction.h"
#include "utc_time.h"

#include <gtest/gtest.h>

namespace {

using gravity::utc_moment;

// LongmanTide (tests/test_basics.py): 40.7914 N, 282.1414 E, 370 m, 2015-04-23 00:00 UTC, with
// the gravimetric factor 1 + h2 - 1.5 k2 = 1.1575.
TEST(LongmanTide, PublishedReferenceCase) {
    const gravity::Tide tide =
        gravity::longman_tide(40.7914, 282.1414, 370, utc_moment(2015, 4, 23));
    EXPECT_NEAR(tide.moon, 0.0324029651, 1e-7);
    EXPECT_NEAR(tide.sun, -0.0288682178, 1e-7);
    EXPECT_NEAR(tide.total(), 0.0035347473, 1e-7);
    // The same place given as degrees west of Greenwich is the same meridian.
    EXPECT_NEAR(gravity::longman_tide(40.7914, -77.8586, 370, utc_moment(2015, 4, 23)).total(),
                0.0035347473, 1e-7);
}

// iporoskun/longman's test: -22.733 N, -90.50 E, sea level, 2010-10-31 06:10 UTC gives
// -3.5704e-7 m/s^2, published to five figures.
TEST(LongmanTide, SecondPublishedCase) {
    EXPECT_NEAR(gravity::longman_tide(-22.733, -90.50, 0, utc_moment(2010, 10, 31, 6, 10)).total(),
                -0.035704, 1e-6);
}

TEST(UtcTime, LocalTimesMovedAcrossMidnightMonthAndYearEnds) {
    using survey::Date;
    constexpr std::int64_t kHour = gravity::kHourMs;
    // 2024 is a leap year: 01:00 on 1 March at UTC+2 is 23:00 on 29 February.
    EXPECT_EQ(gravity::to_utc(Date{2024, 0x03, 0x01}, 1 * kHour, 2 * kHour),
              utc_moment(2024, 2, 29, 23));
    EXPECT_EQ(gravity::to_utc(Date{2023, 0x03, 0x01}, 1 * kHour, 2 * kHour),
              utc_moment(2023, 2, 28, 23));
    // West of Greenwich the day moves forward, here into a new year.
    EXPECT_EQ(gravity::to_utc(Date{2023, 0x12, 0x31}, 23 * kHour + 1800000, -5 * kHour),
              utc_moment(2024, 1, 1, 4, 30));
    EXPECT_EQ(gravity::utc_date_text(utc_moment(2024, 2, 29, 23, 5, 9)), "2024-02-29");
    EXPECT_EQ(gravity::utc_time_text(utc_moment(2024, 2, 29, 23, 5, 9)), "23:05:09");
    // Neither an impossible date nor a time of day beyond the day is given a moment.
    EXPECT_FALSE(gravity::to_utc(Date{2023, 0x02, 0x29}, 0, 0));
    EXPECT_FALSE(gravity::to_utc(Date{2023, 0x13, 0x01}, 0, 0));
    EXPECT_FALSE(gravity::to_utc(Date{2023, 0x03, 0x01}, 24 * kHour, 0));
}

// A meter whose clock ran an hour ahead computed its tides for moments an hour later than the
// readings' true times: the comparison names that hour.
TEST(TideComparison, MeterClockAnHourOffIsFound) {
    std::vector<double> meter, latitudes, longitudes, altitudes;
    std::vector<gravity::UtcMs> times;
    for (int minutes = 0; minutes < 24 * 60; minutes += 20) {
        const gravity::UtcMs t = utc_moment(2024, 6, 12, 6, minutes);
        times.push_back(t);
        latitudes.push_back(-33.9);
        longitudes.push_back(18.4);
        altitudes.push_back(120);
        meter.push_back(gravity::longman_tide(-33.9, 18.4, 120, t + gravity::kHourMs).total());
    }
    const gravity::TideComparison c =
        gravity::compare_tides(meter, times, latitudes, longitudes, altitudes);
    EXPECT_EQ(c.readings, meter.size());
    EXPECT_EQ(c.best_shift_hours, 1);
    EXPECT_EQ(c.best_shift_minutes, 60);
    EXPECT_GT(c.largest, 0.02); // an hour is worth tens of microgals
    EXPECT_LT(c.rms_at_best_minutes, 1e-9);
}

} // namespace
