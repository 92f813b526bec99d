// A reading's local date and time of day as a UTC moment: the meter stamps each reading with its
// local date and time; local time stands utc_offset_ms ahead of UTC. The gravity reduction and
// the gravity CSV export both move readings to UTC by this.
#pragma once

#include "survey_model.h"

#include <cstdint>
#include <optional>

namespace survey {

// Milliseconds since 1970-01-01 00:00 UTC.
using UtcMs = std::int64_t;

inline constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;

// The UTC moment of a local date and time of day (milliseconds since local midnight), carried
// across midnight, month and year ends. Empty when the date is no calendar date or the time of
// day is a day or more.
std::optional<UtcMs> to_utc(const Date &date, std::uint32_t time_ms, std::int64_t utc_offset_ms);

// The UTC calendar day of a moment and the time since its midnight.
struct UtcDay {
    std::int64_t days = 0; // since 1970-01-01
    int year = 0, month = 0, day = 0;
    std::int64_t ms = 0; // since midnight
};

UtcDay utc_day(UtcMs moment);

} // namespace survey
