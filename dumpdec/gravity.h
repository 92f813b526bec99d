// Calendar and column helpers of the gravity records, shared with their tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dumpdec {

// Serial day number of the 1900 day system of spreadsheets (1900-01-01 is 1, and the
// nonexistent 1900-02-29 is 60). Day and month are binary, not BCD.
std::int64_t day_number(int day, int month, int year);

// A BCD byte as its binary value: 0x12 is 12.
inline int from_bcd(std::uint8_t value) {
    return (value >> 4) * 10 + (value & 0x0F);
}

// One line of the raw-samples file, "\r\n%10d  %10d  %10d  %10d", formatted without printf: the
// raw samples are most of a KX-4 memory. Returns the length written to line (at least 52 bytes).
std::size_t format_sample_line(char *line, const std::int32_t (&samples)[4]);

// Day number plus the time of day at 0.0416 per hour.
double decimal_date_time(std::int64_t day, int hours, int minutes, int seconds);

} // namespace dumpdec
