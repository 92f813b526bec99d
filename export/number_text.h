// Numbers as export text: fixed decimals, a dot whatever the locale, never exponent notation
// (inversion programs reject "1.5e-05").
#pragma once

#include <cstddef>
#include <string>

namespace exports {

// The functions below append to a string; their write_ forms write the same text at a place
// with room for the widest text of their kind and give the end of what they wrote.
inline constexpr std::size_t kWidestFixed = 400; // a double with 17 decimals
inline constexpr std::size_t kWidestExact = 64;  // FLT_MAX has 39 digits
inline constexpr std::size_t kWidestInteger = 24;

char *write_fixed(char *at, double value, int decimals);
char *write_exact(char *at, float value);
char *write_integer(char *at, long long value);
char *write_compact(char *at, double value, int decimals);
char *write_significant(char *at, double value, int digits, int min_decimals);

// Appends value with the given number of decimals. Non-finite values are the caller's to keep
// out: they are written as "nan" so that a reader fails loudly rather than reads a number.
void append_fixed(std::string &out, double value, int decimals);

std::string fixed(double value, int decimals);

void append_integer(std::string &out, long long value);

// Appends value in fixed notation with at least `digits` significant digits and at least
// `min_decimals` decimals, so that a small resistance keeps its precision without an exponent.
void append_significant(std::string &out, double value, int digits, int min_decimals);

// Appends a single-precision field as the shortest fixed text that reads back as the same float.
void append_exact(std::string &out, float value);

// The shortest fixed text of value to the given decimals: trailing zeros and a trailing dot
// dropped ("120.500" gives "120.5", "200.000" gives "200"). For names and titles.
std::string compact(double value, int decimals);
void append_compact(std::string &out, double value, int decimals);

} // namespace exports
