// Reading times in UTC. The meter stamps each reading with its local date and time of day; the
// survey header says how far its time zone stands from UTC (local minus UTC). A reading's UTC
// moment is its local moment minus that difference, carried across midnight, month and year ends.
#pragma once

#include "survey_model.h"

#include <cstdint>
#include <optional>
#include <string>

namespace gravity {

// Milliseconds since 1970-01-01 00:00 UTC.
using UtcMs = std::int64_t;

constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
constexpr std::int64_t kHourMs = 3600LL * 1000;

// The UTC moment of a local date and time of day (milliseconds since local midnight), local
// being utc_offset_ms ahead of UTC. Empty when the date is no calendar date or the time of day is
// a day or more.
std::optional<UtcMs> to_utc(const survey::Date &date, std::uint32_t time_ms,
                            std::int64_t utc_offset_ms);

// The moment of a UTC calendar date and time, for tests and references.
UtcMs utc_moment(int year, int month, int day, int hour = 0, int minute = 0, double second = 0);

// "YYYY-MM-DD" and "hh:mm:ss" of a UTC moment (seconds truncated).
std::string utc_date_text(UtcMs moment);
std::string utc_time_text(UtcMs moment);

} // namespace gravity
