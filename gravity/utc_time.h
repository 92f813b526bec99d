// Reading times in UTC: the survey header says how far the meter's time zone stands from UTC
// (local minus UTC); reading_time.h moves a reading by it. Here: moments and their text.
#pragma once

#include "reading_time.h"

#include <cstdint>
#include <optional>
#include <string>

namespace gravity {

// Milliseconds since 1970-01-01 00:00 UTC, and a reading's UTC moment (reading_time.h).
using survey::kDayMs;
using survey::to_utc;
using survey::UtcMs;

constexpr std::int64_t kHourMs = 3600LL * 1000;

// The moment of a UTC calendar date and time, for tests and references.
UtcMs utc_moment(int year, int month, int day, int hour = 0, int minute = 0, double second = 0);

// "YYYY-MM-DD" and "hh:mm:ss" of a UTC moment (seconds truncated).
std::string utc_date_text(UtcMs moment);
std::string utc_time_text(UtcMs moment);

} // namespace gravity
