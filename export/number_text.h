// Numbers as export text: fixed decimals, a dot whatever the locale, never exponent notation
// (inversion programs reject "1.5e-05").
#pragma once

#include <string>

namespace exports {

// Appends value with the given number of decimals. Non-finite values are the caller's to keep
// out: they are written as "nan" so that a reader fails loudly rather than reads a number.
void append_fixed(std::string &out, double value, int decimals);

std::string fixed(double value, int decimals);

void append_integer(std::string &out, long long value);

// Appends value (0 to 99) as two digits: the parts of a time of day.
void append_two_digits(std::string &out, int value);

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
